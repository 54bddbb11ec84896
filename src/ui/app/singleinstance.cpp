#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
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

// The settings file the storage would use, named without opening it (loading a large file twice at
// start-up would cost time for nothing).
QString settingsPath(const QString &settingsFile)
{
    if (!settingsFile.isEmpty())
        return settingsFile;
    const QString fromEnvironment = qEnvironmentVariable("BRINDLECAP_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Brindlecap/BrindlecapBuilder.conf");
}

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
// hashed name, so users never share a lock there).
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
{
    const QByteArray identity = (userName() + u'\n' + stablePath(settingsPath(settingsFile))).toUtf8();
    const QString name =
        QStringLiteral("brindlecap-builder-%1")
            .arg(QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(24)));
    const QDir directory(runtimeDirectory());
    m_lockFilePath = directory.filePath(name + QStringLiteral(".lock"));
#ifdef Q_OS_WIN
    m_serverName = name;
#else
    m_serverName = directory.filePath(name + QStringLiteral(".socket"));
#endif
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::start()
{
    m_lock = std::make_unique<QLockFile>(m_lockFilePath);
    // The running instance holds the lock for hours: only a dead owner makes it stale, never its age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        listen();
        qCInfo(lcInstance).noquote() << "running instance, lock" << m_lockFilePath;
        return Role::Primary;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_handedOver = handOver(handOverTimeoutMs);
        if (!m_handedOver)
            qCWarning(lcInstance).noquote()
                << "Brindlecap Builder is already running (lock" << m_lockFilePath << ") but did not answer";
        return Role::Secondary;
    }

    // No lock file can be made here; still never run beside an instance that answers.
    qCWarning(lcInstance).noquote() << "could not create the lock file" << m_lockFilePath
                                    << "- starting without the one-instance guard";
    m_lock.reset();
    if (handOver(0)) {
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

bool SingleInstance::handOver(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(activateRequest);
            if (!socket.waitForBytesWritten(1000))
                return false;
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(std::max<int>(int(deadline.remainingTime()), 1000)))
                    return false;
            }
            return socket.readLine() == activateReply;
        }
        // The running instance takes the lock before it listens; it may be between the two.
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
}
