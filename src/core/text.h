#pragma once

#include <QString>
#include <QStringList>

#include <limits>

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

// Text from outside (an argument, a stored or imported file) as a message shows it: every character
// that could break the line or act on a terminal escaped (\n, \t, \r, \xHH, \uHHHH, \UHHHHHHHH, and
// \\ for a backslash), at most limit characters of it; cut tells whether some were left out.
QString escaped(const QString &value, qsizetype limit = std::numeric_limits<qsizetype>::max(), bool *cut = nullptr);
// escaped() to 80 characters in single quotes, an ellipsis inside them where it was cut: one short
// line, whatever the value holds.
QString quoted(const QString &value);

// "1 packet", "1,024 packets": a count with its noun, one or many.
QString counted(qint64 n, const char *one, const char *many);

} // namespace Text
