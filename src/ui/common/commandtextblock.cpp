#include "commandtextblock.h"

#include "style.h"

CommandTextBlock::CommandTextBlock(const QString &accessibleName, int minHeight, int maxHeight, QWidget *parent)
    : GrowingTextEdit(parent)
{
    setObjectName(QStringLiteral("commandText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setAccessibleName(accessibleName);
    Style::setMonospaced(this);
    document()->setDocumentMargin(10);
    setHeightRange(minHeight, maxHeight);
    setStyleSheet(QStringLiteral("QPlainTextEdit#commandText { border: 1px solid palette(mid); "
                                 "border-radius: 6px; background: palette(base); }"));
}
