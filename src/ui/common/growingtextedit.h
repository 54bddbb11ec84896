#pragma once

#include <QPlainTextEdit>

// A plain-text field whose height follows its content, between a least and a most number of lines
// and a least and a most height in pixels; beyond the most it scrolls.
class GrowingTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit GrowingTextEdit(QWidget *parent = nullptr);

    void setLineRange(int minLines, int maxLines);
    void setHeightRange(int minHeight, int maxHeight);
    // The height it takes to show so many lines, within the ranges.
    int heightForLines(int lines) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void fit();

    int m_minLines = 1;
    int m_maxLines = 1000;
    int m_minHeight = 0;
    int m_maxHeight = QWIDGETSIZE_MAX;
};
