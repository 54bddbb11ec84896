#pragma once

#include <QByteArray>
#include <QJsonDocument>

namespace JsonText {

// QJsonDocument::fromJson, except that a byte-order mark starting a string is kept. Qt 6.4 decodes
// each string as if it began a file and drops the mark there, so a name or note pasted with one
// would lose it at the next start. The same character escaped as \ufeff survives.
QJsonDocument read(const QByteArray &json, QJsonParseError *error = nullptr);

} // namespace JsonText
