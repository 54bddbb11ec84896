#pragma once

#include <QWidget>

class QPushButton;

// A form's way to the reader of what its command makes the FortiGate print: a button and a line on
// what the reader does with it.
class ReadOutputRow : public QWidget
{
    Q_OBJECT

public:
    ReadOutputRow(const QString &name, const QString &text, const QString &hint, QWidget *parent = nullptr);

    QPushButton *button() const { return m_button; }

private:
    QPushButton *m_button;
};
