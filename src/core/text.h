#pragma once

#include <QString>
#include <QStringList>

// The single trimming rule of the application and the helpers every builder shares.
namespace Text {

// White space is the Unicode space-separator class (Zs) plus the horizontal tab. Line breaks are
// deliberately not white space: a value holding one is not blank.
bool isWhiteSpace(QChar c);

// The value with leading and trailing white space removed.
QString trimmed(const QString &value);

// A field is non-blank when its trimmed value is not empty.
bool isNonBlank(const QString &value);

// Lines joined with single line feeds, no line feed after the last one. An empty element becomes an
// empty line.
QString joinLines(const QStringList &lines);

// Single-line fields must never carry a line break into a command: each line-break character (LF, CR,
// VT, FF, NEL, LS, PS) becomes one space, so positions and lengths are unchanged.
bool isLineBreak(QChar c);
QString toSingleLine(QString value);

} // namespace Text
