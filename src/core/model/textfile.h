#pragma once

#include <QString>

// Plain-text export of a command: the proposed file name and the exact, atomic write.
namespace TextFile {

// Every "/" becomes "-", then every space "_", then ".txt" is appended: "Routing / BGP" proposes
// "Routing_-_BGP.txt".
QString proposedName(const QString &title);

// Writes exactly the UTF-8 bytes of text (no byte-order mark, nothing added) through a temporary file
// that replaces the target only when complete, so a failed write never truncates an existing file.
bool write(const QString &path, const QString &text, QString *error = nullptr);

} // namespace TextFile
