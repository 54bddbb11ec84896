#include "multilineedit.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QTextCursor>

MultiLineEdit::MultiLineEdit(int minimumLines, int maximumLines, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_minimumLines(minimumLines)
    , m_maximumLines(maximumLines)
{
    setTabChangesFocus(true);
    // Its height is set from its lines; an expanding policy would also make every enclosing box take
    // a share of a tall window's spare height.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Follows wrapping as well as typing: the layout reports every change of the line count.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &MultiLineEdit::fitHeight);
    fitHeight();
}

QString MultiLineEdit::text() const
{
    QString text = document()->toRawText();
    // Paragraphs are separated by U+2029 in the document; Shift+Return inserts U+2028.
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void MultiLineEdit::setText(const QString &text)
{
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    setTextCursor(cursor);
}

void MultiLineEdit::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitHeight();
}

void MultiLineEdit::fitHeight()
{
    // The plain-text layout measures its height in lines.
    const int lines = std::clamp(int(document()->size().height()), m_minimumLines, m_maximumLines);
    // The contents margins hold the frame already.
    const int frame = int(2 * document()->documentMargin()) + contentsMargins().top() + contentsMargins().bottom();
    setFixedHeight(lines * fontMetrics().lineSpacing() + frame);
    // No scroll bar while every line is in view.
    setVerticalScrollBarPolicy(int(document()->size().height()) <= m_maximumLines ? Qt::ScrollBarAlwaysOff
                                                                                  : Qt::ScrollBarAsNeeded);
}
