#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;

// Whole-file reads and writes of what the user made. A write goes to a temporary file beside the
// target, which replaces the target only once every byte is written and synced: the file on disk is
// always the old complete one or the new complete one. Also the one place that puts a failed file
// operation into words.
namespace AtomicFile {

// Writes data to path. On failure the old file is untouched, no
// temporary file is left, and error holds the system's reason.
bool write(const QString &path, QByteArrayView data, QString *error = nullptr);

// The whole file; nullopt with error when it exists but cannot be read. A missing file reads as
// nullopt with an empty error.
std::optional<QByteArray> read(const QString &path, QString *error = nullptr);

// Copies source aside, beside it, as "<name>.<tag>-<UTC time>.<suffix>" and returns the copy's path;
// an identical earlier copy is reused, so that starting twice without saving makes one copy. Empty,
// with error set, when no complete copy could be made; no empty or partial copy is ever left.
QString copyAside(const QString &source, const QString &tag, QString *error = nullptr);

// The reason a file operation failed, in the system's words: Qt's text where it says something,
// else the text for errnoValue ("No space left on device"), never "Unknown error".
QString reason(const QString &deviceText, int errnoValue);

// Fault injection for tests: every write goes through the device that wrap returns for the real file
// (which may fail after some bytes), and commit can be made to fail. Applies to every thread.
struct Faults {
    std::function<std::unique_ptr<QIODevice>(QIODevice &file)> wrap;
    bool failCommit = false;
};
void setFaultsForTesting(std::optional<Faults> faults);

} // namespace AtomicFile
