// Starts the real brindlecap-builder: one process per user and settings file must remain.

#include "app/singleinstance.h"
#include "model/commandstore.h"

#include "storedlist.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestSingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QString settingsFile(const QString &name = QStringLiteral("settings.conf")) const { return m_dir->filePath(name); }
    QByteArray stored() const { return storedList(SettingsStorage(settingsFile()), SettingsStorage::savedCommands); }
    QProcess *launch(const QString &settings)
    {
        auto *process = m_processes.emplace_back(std::make_unique<QProcess>()).get();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("BRINDLECAP_SETTINGS"), settings);
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("brindlecap.instance.info=true;qt.qpa.*=false"));
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(BRINDLECAP_APP_PATH), QStringList{});
        return process;
    }
    // Reads the process's standard error until a line holds needle.
    static bool waitForLog(QProcess *process, const QByteArray &needle)
    {
        QByteArray seen;
        for (QDeadlineTimer deadline(30000); !seen.contains(needle) && !deadline.hasExpired();) {
            if (!process->waitForReadyRead(200) && process->state() == QProcess::NotRunning)
                break;
            seen += process->readAllStandardError();
        }
        seen += process->readAllStandardError();
        if (!seen.contains(needle))
            qWarning() << "not seen:" << needle << "in:" << seen;
        return seen.contains(needle);
    }

private slots:
    void init()
    {
        // The lock and the socket go into the runtime folder: a folder of this test's own.
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("runtime"))));
        qputenv("XDG_RUNTIME_DIR", m_dir->filePath(QStringLiteral("runtime")).toLocal8Bit());
    }
    void cleanup()
    {
        for (const auto &process : m_processes) {
            process->kill();
            process->waitForFinished(10000);
        }
        m_processes.clear();
    }

    void lockIsPerSettingsFileAndStable()
    {
        const QString before = SingleInstance(settingsFile()).lockFilePath();
        QVERIFY(before.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/'));
        // The same once the file exists, and through a symbolic link to its folder.
        QVERIFY(writeFile(settingsFile(), {}));
        QCOMPARE(SingleInstance(settingsFile()).lockFilePath(), before);
        QVERIFY(QFile::link(m_dir->path(), settingsFile(QStringLiteral("link"))));
        QCOMPARE(SingleInstance(settingsFile(QStringLiteral("link/settings.conf"))).lockFilePath(), before);
        QVERIFY(SingleInstance(settingsFile(QStringLiteral("other.conf"))).lockFilePath() != before);
    }

    void laterStartHandsOverEvenAfterACrash()
    {
        {
            SettingsStorage storage(settingsFile());
            CommandStore(storage).add(SavedCommand::create(QStringLiteral("One"), DebugCategory::ping, {}, {}));
        }
        const QByteArray before = stored();
        QVERIFY(!before.isEmpty());
        // A crashed instance leaves its lock behind; the next start takes it over.
        QProcess *crashed = launch(settingsFile());
        QVERIFY(waitForLog(crashed, "running instance"));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(30000));
        QVERIFY(QFile::exists(SingleInstance(settingsFile()).lockFilePath()));
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
        QVERIFY(waitForLog(launch(settingsFile(QStringLiteral("other.conf"))), "running instance"));
    }

    void terminationEndsNormally()
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
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
