#pragma once

#include <QPlainTextEdit>

// A multi-line text field that grows with its text between a least and a greatest number of visible
// lines, then scrolls. Tab moves the focus on, as in every other field of a form.
class MultiLineEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    MultiLineEdit(int minimumLines, int maximumLines, QWidget *parent = nullptr);

    // What was typed, each line break as a line feed; unlike toPlainText(), no-break spaces stay as
    // they are, because a filter or a name is emitted exactly as typed.
    QString text() const;
    // Replaces the whole text as one undoable edit and leaves the cursor at its end.
    void setText(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitHeight();

    int m_minimumLines;
    int m_maximumLines;
};
