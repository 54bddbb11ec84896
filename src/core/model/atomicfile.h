#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QSaveFile;

// Whole-file reads and writes of what the user made. A write goes to a temporary file beside the
// target, which replaces the target only once every byte is written and synced: the file on disk is
// always the old complete one or the new complete one. Also the one place that puts a failed file
// operation into words.
namespace AtomicFile {

// More than any list of the user's can be (10,000 saved commands are 8 MB), little enough to hold.
constexpr qint64 sizeLimit = qint64(256) << 20;

// Writes data to path. On failure the old file is untouched, no temporary file is left, and error
// holds the system's reason. A new file gets permissions when given, else the system's default; an
// existing one keeps its own.
bool write(const QString &path, QByteArrayView data, QString *error = nullptr,
           std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// write() in pieces, for what is too large to hold: nothing replaces the target until commit(), and
// a writer destroyed without a commit leaves no trace. After the first failure every call fails and
// error() holds the reason.
class Writer
{
public:
    Writer(const QString &path, std::optional<QFileDevice::Permissions> permissions = std::nullopt);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool write(QByteArrayView data);
    bool commit();
    void cancel();
    QString error() const { return m_error; }

private:
    bool fail(const QString &why);

    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QIODevice> m_wrapper;
    bool m_failCommit = false;
    QString m_error;
};

// The whole file; nullopt with error when it exists but cannot be read. Only a regular file of at
// most sizeLimit bytes is read: a named pipe, a device or a folder is refused at once, never waited
// on. A missing file reads as nullopt with an empty error.
std::optional<QByteArray> read(const QString &path, QString *error = nullptr);

// Whether path is a regular file that read() would take, or missing; else false with the reason.
// For files that other code opens (QSettings), which must not block on a pipe either.
bool readable(const QString &path, QString *error = nullptr);

// Writes data beside the file path names, as "<name>.<tag>-<UTC time>.<suffix>", with permissions,
// and returns the new file's path; an identical earlier one is reused. Empty, with error set, when no
// complete file could be written; no empty or partial one is ever left.
QString writeAside(const QString &path, const QString &tag, QByteArrayView data, QFileDevice::Permissions permissions,
                   QString *error = nullptr);
// writeAside of source's own bytes and permissions: a copy that only its owner may read, if the
// source is so.
QString copyAside(const QString &source, const QString &tag, QString *error = nullptr);

// The reason a file operation failed, in the system's words: Qt's text where it says something,
// else the text for errnoValue ("No space left on device"), never "Unknown error".
QString reason(const QString &deviceText, int errnoValue);

// Fault injection for tests: every write goes through the device that wrap returns for the real file
// (which may fail after some bytes), and commit can be made to fail; before every read, read is
// called with the path and its result, when not 0, is the errno the read fails with. Applies to
// every thread.
struct Faults {
    std::function<std::unique_ptr<QIODevice>(QIODevice &file)> wrap = {};
    bool failCommit = false;
    std::function<int(const QString &path)> read = {};
};
void setFaultsForTesting(std::optional<Faults> faults);

} // namespace AtomicFile
