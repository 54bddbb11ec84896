#include "atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <mutex>

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

bool write(const QString &path, QByteArrayView data, QString *error)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write or a failure shows at the write itself, with its errno. A
    // buffered QSaveFile commits a truncated file when a write came up short.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, reason(file.errorString(), errno));

    const std::optional<Faults> injected = currentFaults();
    std::unique_ptr<QIODevice> wrapper = injected && injected->wrap ? injected->wrap(file) : nullptr;
    QIODevice &out = wrapper ? *wrapper : static_cast<QIODevice &>(file);

    qsizetype done = 0;
    while (done < data.size()) {
        errno = 0;
        const qint64 written = out.write(data.data() + done, data.size() - done);
        if (written <= 0) {
            const QString why = reason(out.errorString(), errno);
            file.cancelWriting();
            return fail(error, why);
        }
        done += qsizetype(written);
    }
    wrapper.reset();
    if (injected && injected->failCommit)
        file.cancelWriting();
    errno = 0;
    if (!file.commit())
        return fail(error, reason(file.errorString(), errno));
    return true;
}

std::optional<QByteArray> read(const QString &path, QString *error)
{
    if (error)
        error->clear();
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            return std::nullopt;
        fail(error, reason(file.errorString(), errno));
        return std::nullopt;
    }
    errno = 0;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(error, reason(file.errorString(), errno));
        return std::nullopt;
    }
    return data;
}

QString copyAside(const QString &source, const QString &tag, QString *error)
{
    QString readError;
    const std::optional<QByteArray> data = read(source, &readError);
    if (!data) {
        fail(error, readError.isEmpty() ? reason({}, ENOENT) : readError);
        return {};
    }
    const QFileInfo info(source);
    const QDir folder = info.absoluteDir();
    const QString prefix = info.completeBaseName() + u'.' + tag + u'-';
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (const QFileInfo &earlier : folder.entryInfoList({prefix + u'*' + suffix}, QDir::Files)) {
        if (earlier.size() == data->size() && read(earlier.filePath()) == data)
            return earlier.filePath();
    }
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString unique = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
        const QString name = folder.filePath(prefix + stamp + unique + suffix);
        if (QFileInfo::exists(name))
            continue;
        return write(name, *data, error) ? name : QString();
    }
    fail(error, QStringLiteral("too many copies in %1").arg(folder.path()));
    return {};
}

void setFaultsForTesting(std::optional<Faults> value)
{
    const std::lock_guard lock(faultsMutex);
    faults = std::move(value);
}

} // namespace AtomicFile
