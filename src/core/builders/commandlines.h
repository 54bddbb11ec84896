#pragma once

#include <QString>
#include <QStringList>

// The two ways a form turns a text field into a line. A blank field (Text::isNonBlank) never gives a
// line; what a non-blank field contributes differs by category, so each form picks one explicitly.
namespace CommandLines {

// Appends prefix + value exactly as typed: surrounding white space is the user's and is kept.
void appendAsTyped(QStringList &lines, const QString &prefix, const QString &value);

// Appends prefix + the trimmed value.
void appendTrimmed(QStringList &lines, const QString &prefix, const QString &value);

// The value as typed, or the fallback when the value is blank.
QString asTypedOr(const QString &value, const QString &fallback);

// "Ping to 8.8.8.8" / "Ping to target". The test is on the raw value: a target of spaces still names
// the destination.
QString destinationTitle(const QString &prefix, const QString &target);

} // namespace CommandLines
