#include "singleinstance.h"

#include "model/atomicfile.h"
#include "model/settingsstorage.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Information lines are off unless asked for (QT_LOGGING_RULES); the tests read them.
Q_LOGGING_CATEGORY(lcInstance, "brindlecap.instance", QtWarningMsg)

namespace {
const QByteArray activateRequest = "activate\n";
const QByteArray activateReply = "ok\n";
constexpr int handOverTimeoutMs = 5000;

// The deepest existing part of the path with its symbolic links resolved and the rest as written, so
// that the path reads the same before and after the file and its folders are created.
QString stablePath(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList rest;
    while (!QFileInfo::exists(existing)) {
        const QFileInfo info(existing);
        if (info.absolutePath() == existing)
            break;
        rest.prepend(info.fileName());
        existing = info.absolutePath();
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    const QString base = canonical.isEmpty() ? existing : canonical;
    return rest.isEmpty() ? base : QDir(base).filePath(rest.join(u'/'));
}

QString userName()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// The per-user runtime folder where there is one, else the temporary folder (the user is part of the
// hashed name, so users never share a socket there).
QString runtimeDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}
} // namespace

SingleInstance::SingleInstance(const QString &settingsFile, QObject *parent)
    : QObject(parent)
    , m_folder(stablePath(QFileInfo(SettingsStorage::resolvedFileName(settingsFile)).absolutePath()))
    , m_lockFilePath(QDir(m_folder).filePath(QStringLiteral("brindlecap-builder.lock")))
{
    // The socket lives where this process may make one; the file beside the lock tells later starts.
    const QByteArray identity = (userName() + u'\n' + m_folder).toUtf8();
    const QString name =
        QStringLiteral("brindlecap-builder-%1")
            .arg(QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(24)));
#ifdef Q_OS_WIN
    m_serverName = name;
#else
    m_serverName = QDir(runtimeDirectory()).filePath(name + QStringLiteral(".socket"));
#endif
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::start()
{
    QDir().mkpath(m_folder);
    // QLockFile reads a lock file it finds, and would wait for ever on a pipe.
    QString why;
    if (AtomicFile::readable(m_lockFilePath, &why)) {
        m_lock = std::make_unique<QLockFile>(m_lockFilePath);
        // The running instance holds the lock for hours: only a dead owner makes it stale, never its age.
        m_lock->setStaleLockTime(0);
        if (m_lock->tryLock(0)) {
            listen();
            qCInfo(lcInstance).noquote() << "running instance, lock" << m_lockFilePath;
            return Role::Primary;
        }
        if (m_lock->error() == QLockFile::LockFailedError) {
            m_handedOver = handOver(handOverTimeoutMs, true);
            return Role::Secondary;
        }
        why = QStringLiteral("it cannot be created");
    }

    // No lock file can be had here; still never run beside an instance that answers.
    qCWarning(lcInstance).noquote() << "the lock file" << m_lockFilePath << "cannot be used:" << why
                                    << "- starting without the one-instance guard";
    m_lock.reset();
    if (handOver(0, false)) {
        m_handedOver = true;
        return Role::Secondary;
    }
    listen();
    return Role::Primary;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed instance; nobody listens on it, as the lock is ours.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        qCWarning(lcInstance).noquote() << "later starts cannot hand over:" << m_server->errorString();
        return;
    }
    QSaveFile nameFile(serverNameFilePath());
    if (!nameFile.open(QIODevice::WriteOnly) || nameFile.write(m_serverName.toUtf8()) < 0 || !nameFile.commit())
        qCWarning(lcInstance).noquote() << "later starts cannot hand over:" << nameFile.errorString();
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            answer(socket);
        }
    });
}

void SingleInstance::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine())
        return;
    if (socket->readLine() != activateRequest) {
        socket->disconnectFromServer();
        return;
    }
    qCInfo(lcInstance) << "activation requested by a later start";
    socket->write(activateReply);
    socket->flush();
    emit activationRequested();
}

bool SingleInstance::handOver(int timeoutMs, bool nameFromFile)
{
    // The running instance takes the lock before it listens and names its socket; it may be between.
    for (const QDeadlineTimer deadline(std::max(timeoutMs, 0));; QThread::msleep(100)) {
        const std::optional<QByteArray> named = nameFromFile ? AtomicFile::read(serverNameFilePath()) : std::nullopt;
        const QString serverName = nameFromFile ? QString::fromUtf8(named.value_or(QByteArray())) : m_serverName;
        QLocalSocket socket;
        if (!serverName.isEmpty()) {
            socket.connectToServer(serverName);
            if (socket.waitForConnected(500)) {
                socket.write(activateRequest);
                bool answering = socket.waitForBytesWritten(1000);
                while (answering && !socket.canReadLine())
                    answering = socket.waitForReadyRead(std::max<int>(int(deadline.remainingTime()), 1000));
                return answering && socket.readLine() == activateReply;
            }
        }
        if (deadline.hasExpired())
            return false;
    }
}

QString SingleInstance::refusal() const
{
    qint64 pid = 0;
    QString host, application;
    const QString owner =
        m_lock && m_lock->getLockInfo(&pid, &host, &application) ? QStringLiteral(" (process %1)").arg(pid) : QString();
    return QStringLiteral("Brindlecap Builder is already running with the saved commands in %1%2, but it did not "
                          "answer. Quit it, or end that process, and start again.")
        .arg(QDir::toNativeSeparators(m_folder), owner);
}
