#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running instance per folder of the user's lists (two settings files in one folder share them).
// Every instance keeps its own list of saved commands and rewrites the whole stored list on each
// change, so a second instance would erase what the first one saved. The running instance holds a
// lock file beside the lists (so that every start finds it, whatever its environment), listens on a
// local socket in its runtime folder and writes that socket's name beside the lock; a later start asks
// it to come forward and ends. The lock of an instance that crashed is recognised by its dead process
// and taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Role { Primary, Secondary };

    // An empty settingsFile means BRINDLECAP_SETTINGS or the per-user default, as SettingsStorage has it.
    explicit SingleInstance(const QString &settingsFile = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Becomes the running instance, or hands over to the one already running.
    Role start();
    // After start() returned Secondary: whether the running instance confirmed the hand-over.
    bool handedOver() const { return m_handedOver; }
    // After a hand-over failed: why this start cannot run, in a sentence for the user.
    QString refusal() const;

    QString lockFilePath() const { return m_lockFilePath; }
    QString serverName() const { return m_serverName; }
    // Where the running instance names its socket for later starts.
    QString serverNameFilePath() const { return m_folder + QStringLiteral("/brindlecap-builder.instance"); }

signals:
    // A later start asked this instance to bring its main window forward.
    void activationRequested();

private:
    void listen();
    // Asks the running instance to come forward until it answers or the time is up; its socket named
    // in the file beside the lock, or, without a lock, the one this instance would use.
    bool handOver(int timeoutMs, bool nameFromFile);
    void answer(QLocalSocket *socket);

    QString m_folder;
    QString m_lockFilePath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_handedOver = false;
};
