#pragma once

#include <QFrame>

// The notice above the Sniffer form: hardware offload hides packets from the sniffer, with the
// snippet that disables it and a button that copies it.
class OffloadReminder : public QFrame
{
    Q_OBJECT

public:
    explicit OffloadReminder(QWidget *parent = nullptr);
};
