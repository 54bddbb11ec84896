#pragma once

#include <QWidget>

// The single help window, "Brindlecap Builder Help".
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
};
