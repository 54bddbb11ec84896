#include "app/singleinstance.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "storedlist.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Starts the real brindlecap-builder: one process per user and settings file must remain.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lockIsPerSettingsFileAndStable();
    void secondStartHandsOverAndExits();
    void lockLeftByACrashIsTakenOver();
    void terminationEndsNormally();

private:
    QString runtimeDir() const { return m_dir->filePath(QStringLiteral("runtime")); }
    QString settingsFile(const QString &name = QStringLiteral("settings.conf")) const { return m_dir->filePath(name); }
    QProcess *launch(const QString &settings);
    // Reads the process's standard error until a line holds needle.
    static bool waitForLog(QProcess *process, const QByteArray &needle);
    QByteArray stored() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QProcess *> m_processes;
    QByteArray m_oldRuntimeDir;
};

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(runtimeDir()));
    // The lock and the socket go into the runtime folder: a folder of this test's own.
    m_oldRuntimeDir = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toLocal8Bit());
}

void TestSingleInstance::cleanup()
{
    for (QProcess *process : std::as_const(m_processes)) {
        process->kill();
        process->waitForFinished(10000);
    }
    qDeleteAll(m_processes);
    m_processes.clear();
    qputenv("XDG_RUNTIME_DIR", m_oldRuntimeDir);
    m_dir.reset();
}

QProcess *TestSingleInstance::launch(const QString &settings)
{
    auto *process = new QProcess;
    m_processes << process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("BRINDLECAP_SETTINGS"), settings);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("brindlecap.instance.info=true;qt.qpa.*=false"));
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(BRINDLECAP_APP_PATH), QStringList{});
    return process;
}

bool TestSingleInstance::waitForLog(QProcess *process, const QByteArray &needle)
{
    QByteArray seen;
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        seen += process->readAllStandardError();
        if (seen.contains(needle))
            return true;
        if (process->state() == QProcess::NotRunning)
            return false;
        process->waitForReadyRead(200);
    }
    qWarning() << "not seen:" << needle << "in:" << seen;
    return false;
}

QByteArray TestSingleInstance::stored() const
{
    return storedList(SettingsStorage(settingsFile()), SettingsStorage::savedCommands);
}

void TestSingleInstance::lockIsPerSettingsFileAndStable()
{
    const QString file = settingsFile();
    const QString before = SingleInstance(file).lockFilePath();
    QVERIFY(before.startsWith(runtimeDir() + u'/'));
    // The same once the file exists, and through a symbolic link to its folder.
    QFile create(file);
    QVERIFY(create.open(QIODevice::WriteOnly));
    create.close();
    QCOMPARE(SingleInstance(file).lockFilePath(), before);
    QVERIFY(QFile::link(m_dir->path(), m_dir->filePath(QStringLiteral("link"))));
    QCOMPARE(SingleInstance(m_dir->filePath(QStringLiteral("link/settings.conf"))).lockFilePath(), before);
    QVERIFY(SingleInstance(settingsFile(QStringLiteral("other.conf"))).lockFilePath() != before);
}

void TestSingleInstance::secondStartHandsOverAndExits()
{
    {
        SettingsStorage storage(settingsFile());
        CommandStore store(storage);
        for (const char *title : {"One", "Two", "Three"})
            store.add(SavedCommand::create(QString::fromLatin1(title), DebugCategory::ping,
                                           QStringLiteral("exec ping 1.1.1.1"), {}));
    }
    const QByteArray before = stored();
    QCOMPARE(SavedCommand::decodeList(before)->size(), 3);

    QProcess *first = launch(settingsFile());
    QVERIFY(waitForLog(first, "running instance"));

    QProcess *second = launch(settingsFile());
    QVERIFY(second->waitForFinished(30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(!second->readAllStandardError().contains("running instance"));

    QVERIFY(waitForLog(first, "activation requested"));
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(stored(), before);

    // Another settings file is another instance.
    QProcess *other = launch(settingsFile(QStringLiteral("other.conf")));
    QVERIFY(waitForLog(other, "running instance"));
}

void TestSingleInstance::lockLeftByACrashIsTakenOver()
{
    QProcess *crashed = launch(settingsFile());
    QVERIFY(waitForLog(crashed, "running instance"));
    crashed->kill();
    QVERIFY(crashed->waitForFinished(30000));
    QVERIFY(QFile::exists(SingleInstance(settingsFile()).lockFilePath()));

    QProcess *next = launch(settingsFile());
    QVERIFY(waitForLog(next, "running instance"));
    QProcess *later = launch(settingsFile());
    QVERIFY(later->waitForFinished(30000));
    QCOMPARE(later->exitCode(), 0);
    QVERIFY(waitForLog(next, "activation requested"));
}

void TestSingleInstance::terminationEndsNormally()
{
    // The session ending the application goes the normal way out, so the stores finish writing.
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        QProcess *app = launch(settingsFile());
        QVERIFY(waitForLog(app, "running instance"));
        QCOMPARE(::kill(pid_t(app->processId()), signal), 0);
        QVERIFY(app->waitForFinished(30000));
        QCOMPARE(app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(app->exitCode(), 0);
    }
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
