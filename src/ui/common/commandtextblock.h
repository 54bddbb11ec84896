#pragma once

#include "growingtextedit.h"

// The read-only text of a command, wherever one is shown: monospaced, selectable, never wrapped (a
// wrapped line would read as two commands), in a bordered box whose height follows the text between
// minHeight and maxHeight.
class CommandTextBlock : public GrowingTextEdit
{
    Q_OBJECT

public:
    CommandTextBlock(const QString &accessibleName, int minHeight, int maxHeight, QWidget *parent = nullptr);
};
