#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QVBoxLayout;

// The frame of every sheet: a window-modal dialog of a fixed width holding a leading-aligned column
// under a headline. Return presses the default button, Escape cancels.
class SheetDialog : public QDialog
{
    Q_OBJECT

protected:
    SheetDialog(const QString &heading, int width, QWidget *parent);

    QVBoxLayout *column() const { return m_column; }
    QLabel *heading() const { return m_heading; }
    // A secondary callout line; back-quoted words are shown as inline code.
    QLabel *addNote(const QString &text);
    // The closing row: "Cancel" (unless withCancel is off) and the default button, which accepts;
    // leading, when given, stands at the start of the row.
    QPushButton *addButtons(const QString &defaultText, bool withCancel = true, QWidget *leading = nullptr);

private:
    QVBoxLayout *m_column;
    QLabel *m_heading;
};
