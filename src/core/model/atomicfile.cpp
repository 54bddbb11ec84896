#include "atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <mutex>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace AtomicFile {

namespace {
std::mutex faultsMutex;
std::optional<Faults> faults;

std::optional<Faults> currentFaults()
{
    const std::lock_guard lock(faultsMutex);
    return faults;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString tooLarge(qint64 size)
{
    return QStringLiteral("it is larger than %1 MB (%2 MB), more than a list can be")
        .arg(sizeLimit >> 20)
        .arg(size >> 20);
}

#ifdef Q_OS_UNIX
// Why a file of this type is not read: its reading could block for ever, or never end.
QString notRegular(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe, not a file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a file");
    return QStringLiteral("it is a device, not a file");
}

// An open descriptor of a regular file within the size limit; -1 with errno, or with why set.
int openRegular(const QString &path, QString *why, qint64 *size)
{
    // Non-blocking, so that opening a pipe nobody writes to returns at once; fstat then refuses it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    if (!S_ISREG(status.st_mode))
        *why = notRegular(status.st_mode);
    else if (status.st_size > sizeLimit)
        *why = tooLarge(status.st_size);
    if (!why->isEmpty()) {
        ::close(fd);
        return -1;
    }
    *size = status.st_size;
    return fd;
}
#endif
} // namespace

QString reason(const QString &deviceText, int errnoValue)
{
    // QIODevice's placeholder, and what QFileDevice reports after a short write or a failed flush.
    if (!deviceText.isEmpty() && deviceText != QLatin1String("Unknown error"))
        return deviceText;
    if (errnoValue != 0)
        return qt_error_string(errnoValue);
    return QStringLiteral("the operating system gave no reason");
}

Writer::Writer(const QString &path, std::optional<QFileDevice::Permissions> permissions)
    : m_file(std::make_unique<QSaveFile>(path))
{
    const QFileInfo target(path);
    const bool isNew = !target.exists();
    // Renaming over a device or a pipe would replace it with a file.
    if (!isNew && !target.isFile()) {
        fail(QStringLiteral("it is not a regular file"));
        return;
    }
    // Unbuffered, so that a short write or a failure shows at the write itself, with its errno. A
    // buffered QSaveFile commits a truncated file when a write came up short.
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(reason(m_file->errorString(), errno));
        return;
    }
    // On the temporary file, before a byte is in it.
    if (permissions && isNew && !m_file->setPermissions(*permissions)) {
        fail(reason(m_file->errorString(), errno));
        return;
    }
    const std::optional<Faults> injected = currentFaults();
    if (injected && injected->wrap)
        m_wrapper = injected->wrap(*m_file);
    m_failCommit = injected && injected->failCommit;
}

Writer::~Writer()
{
    cancel();
}

bool Writer::fail(const QString &why)
{
    m_error = why;
    cancel();
    return false;
}

void Writer::cancel()
{
    m_wrapper.reset();
    if (!m_file)
        return;
    if (m_file->isOpen())
        m_file->cancelWriting();
    if (m_error.isEmpty())
        m_error = QStringLiteral("the file was not finished");
    m_file.reset();
}

bool Writer::write(QByteArrayView data)
{
    if (!m_file)
        return false;
    QIODevice &out = m_wrapper ? *m_wrapper : static_cast<QIODevice &>(*m_file);
    qsizetype done = 0;
    while (done < data.size()) {
        errno = 0;
        const qint64 written = out.write(data.data() + done, data.size() - done);
        if (written <= 0)
            return fail(reason(out.errorString(), errno));
        done += qsizetype(written);
    }
    return true;
}

bool Writer::commit()
{
    if (!m_file)
        return false;
    m_wrapper.reset();
    if (m_failCommit)
        m_file->cancelWriting();
    errno = 0;
    if (!m_file->commit())
        return fail(reason(m_file->errorString(), errno));
    m_file.reset();
    return true;
}

bool write(const QString &path, QByteArrayView data, QString *error,
           std::optional<QFileDevice::Permissions> permissions)
{
    Writer writer(path, permissions);
    if (writer.write(data) && writer.commit())
        return true;
    return fail(error, writer.error());
}

std::optional<QByteArray> read(const QString &path, QString *error)
{
    QString why;
    if (error)
        error->clear();
    const auto failed = [&](const QString &text) -> std::optional<QByteArray> {
        fail(error, text);
        return std::nullopt;
    };
    if (const std::optional<Faults> injected = currentFaults(); injected && injected->read) {
        if (const int injectedErrno = injected->read(path))
            return failed(reason({}, injectedErrno));
    }
#ifdef Q_OS_UNIX
    qint64 size = 0;
    const int fd = openRegular(path, &why, &size);
    if (fd < 0) {
        if (!why.isEmpty())
            return failed(why);
        // A path that leads nowhere is a list not saved yet.
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        return failed(reason({}, errno));
    }
    QByteArray data;
    data.reserve(qsizetype(size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int saved = errno;
            ::close(fd);
            return failed(reason({}, saved));
        }
        if (got == 0)
            break;
        // It grew while being read.
        if (data.size() + got > sizeLimit) {
            ::close(fd);
            return failed(tooLarge(data.size() + got));
        }
        data.append(chunk, qsizetype(got));
    }
    ::close(fd);
    return data;
#else
    if (!readable(path, &why))
        return failed(why);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) ? failed(reason(file.errorString(), errno)) : std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(reason(file.errorString(), errno));
    return data;
#endif
}

bool readable(const QString &path, QString *error)
{
    QString why;
#ifdef Q_OS_UNIX
    qint64 size = 0;
    const int fd = openRegular(path, &why, &size);
    if (fd >= 0)
        ::close(fd);
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        why = QStringLiteral("it is not a file");
    else if (info.size() > sizeLimit)
        why = tooLarge(info.size());
#endif
    return why.isEmpty() || fail(error, why);
}

QString writeAside(const QString &path, const QString &tag, QByteArrayView data, QFileDevice::Permissions permissions,
                   QString *error)
{
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    const QString prefix = info.completeBaseName() + u'.' + tag + u'-';
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (const QFileInfo &earlier : folder.entryInfoList({prefix + u'*' + suffix}, QDir::Files)) {
        if (earlier.size() == data.size() && read(earlier.filePath()) == data)
            return earlier.filePath();
    }
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString unique = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
        const QString name = folder.filePath(prefix + stamp + unique + suffix);
        if (QFileInfo::exists(name))
            continue;
        return write(name, data, error, permissions) ? name : QString();
    }
    fail(error, QStringLiteral("too many copies in %1").arg(folder.path()));
    return {};
}

QString copyAside(const QString &source, const QString &tag, QString *error)
{
    QString readError;
    const std::optional<QByteArray> data = read(source, &readError);
    if (!data) {
        fail(error, readError.isEmpty() ? reason({}, ENOENT) : readError);
        return {};
    }
    return writeAside(source, tag, *data, QFile::permissions(source), error);
}

void setFaultsForTesting(std::optional<Faults> value)
{
    const std::lock_guard lock(faultsMutex);
    faults = std::move(value);
}

} // namespace AtomicFile
