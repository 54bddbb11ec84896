#include "growingtextedit.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>

GrowingTextEdit::GrowingTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // The height follows the content alone; an expanding policy would make the enclosing box take
    // space it cannot fill.
    setSizePolicy(sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    // The plain-text layout measures the document in lines, wrapped lines included.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &GrowingTextEdit::fit);
    fit();
}

void GrowingTextEdit::setLineRange(int minLines, int maxLines)
{
    m_minLines = minLines;
    m_maxLines = maxLines;
    fit();
}

void GrowingTextEdit::setHeightRange(int minHeight, int maxHeight)
{
    m_minHeight = minHeight;
    m_maxHeight = maxHeight;
    fit();
}

void GrowingTextEdit::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fit();
}

int GrowingTextEdit::heightForLines(int lines) const
{
    lines = std::clamp(lines, m_minLines, m_maxLines);
    int height = lines * fontMetrics().lineSpacing() + 2 * frameWidth() + int(2 * document()->documentMargin());
    if (lineWrapMode() == NoWrap)
        height += horizontalScrollBar()->sizeHint().height();
    return std::clamp(height, m_minHeight, m_maxHeight);
}

void GrowingTextEdit::fit()
{
    setFixedHeight(heightForLines(int(document()->size().height())));
}
