#pragma once

#include <QWidget>

class QLabel;

// A block of command-line text in a help article: monospaced, selectable, line feeds and leading
// spaces kept, on the text-background colour inside a rounded, bordered rectangle.
class HelpCodeBlock : public QWidget
{
    Q_OBJECT

public:
    explicit HelpCodeBlock(const QString &code, QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label;
};
