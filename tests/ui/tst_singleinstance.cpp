// Starts the real brindlecap-builder: one process per user and folder of lists must remain.

#include "app/singleinstance.h"
#include "model/commandstore.h"

#include "storedlist.h"
#include "uitest.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QString settingsFile(const QString &name = u"settings.conf"_s) const { return m_dir->filePath(name); }
    QByteArray stored() const { return storedList(SettingsStorage(settingsFile()), SettingsStorage::savedCommands); }
    // Started, and past the point where it holds the lock of its settings file.
    // runtime: the process's own runtime folder ("-" for none), else this test's.
    QProcess *launch(const QString &name = u"settings.conf"_s, const QByteArray &log = "running instance",
                     const QString &runtime = {})
    {
        auto *process = m_processes.emplace_back(std::make_unique<QProcess>()).get();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (runtime == u"-")
            env.remove(u"XDG_RUNTIME_DIR"_s);
        else if (!runtime.isEmpty())
            env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"BRINDLECAP_SETTINGS"_s, settingsFile(name));
        env.insert(u"QT_LOGGING_RULES"_s, u"brindlecap.instance.info=true;qt.qpa.*=false"_s);
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(BRINDLECAP_APP_PATH), QStringList{});
        return log.isEmpty() || waitForLog(process, log) ? process : nullptr;
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
    static bool endsNormally(QProcess *process)
    {
        return process->waitForFinished(30000) && process->exitStatus() == QProcess::NormalExit &&
               process->exitCode() == 0;
    }

private slots:
    void init()
    {
        // The socket goes into the runtime folder: a folder of this test's own.
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(m_dir->filePath(u"runtime"_s)));
        qputenv("XDG_RUNTIME_DIR", m_dir->filePath(u"runtime"_s).toLocal8Bit());
    }
    void cleanup()
    {
        for (const auto &process : m_processes) {
            process->kill();
            process->waitForFinished(10000);
        }
        m_processes.clear();
    }

    void oneInstancePerFolderOfLists()
    {
        const QString lock = SingleInstance(settingsFile()).lockFilePath();
        QCOMPARE(QFileInfo(lock).dir(), QFileInfo(settingsFile()).dir());
        {
            SettingsStorage storage(settingsFile());
            CommandStore(storage).add(SavedCommand::create(u"One"_s, DebugCategory::ping, {}, {}));
        }
        const QByteArray before = stored();
        QVERIFY(!before.isEmpty());
        // A crashed instance leaves its lock behind; the next start takes it over.
        QProcess *crashed = launch();
        QVERIFY(crashed);
        crashed->kill();
        QVERIFY(crashed->waitForFinished(30000));
        QVERIFY(QFile::exists(lock));
        QProcess *first = launch();
        QVERIFY(first);
        // Found from a start with another runtime folder, or none (a shell outside the login session),
        // and from another settings file beside it, which shares the lists.
        for (const auto &[name, runtime] :
             {std::pair{u"settings.conf"_s, QString()}, std::pair{u"settings.conf"_s, m_dir->path()},
              std::pair{u"t.conf"_s, u"-"_s}}) {
            QProcess *second = launch(name, {}, runtime);
            QVERIFY2(endsNormally(second), qPrintable(name + runtime));
            QVERIFY(!second->readAllStandardError().contains("running instance"));
            QVERIFY(waitForLog(first, "activation requested"));
        }
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(stored(), before);
        // --help and --version answer in the terminal, and hand nothing over.
        for (const QString &option : {u"--help"_s, u"--version"_s}) {
            QProcess asked;
            asked.start(QStringLiteral(BRINDLECAP_APP_PATH), {option});
            QVERIFY(endsNormally(&asked));
            QVERIFY(asked.readAllStandardOutput().startsWith(option == u"--help" ? "Usage: " : "brindlecap-builder "));
        }
        QVERIFY(!first->readAllStandardError().contains("activation requested"));
        // Lists in another folder are another instance, also with a pipe where the lock should be. The
        // session ending the application goes the normal way out, so the stores finish writing.
        QVERIFY(QDir().mkpath(settingsFile(u"third"_s)) &&
                mkfifo(QFile::encodeName(SingleInstance(settingsFile(u"third/s.conf"_s)).lockFilePath()), 0600) == 0);
        QProcess *other = launch(u"other/settings.conf"_s), *third = launch(u"third/s.conf"_s, "cannot be used");
        QVERIFY(other && third);
        for (const auto &[process, signal] :
             {std::pair{first, SIGTERM}, std::pair{other, SIGHUP}, std::pair{third, SIGINT}}) {
            QCOMPARE(::kill(pid_t(process->processId()), signal), 0);
            QVERIFY2(endsNormally(process), qPrintable(QString::number(signal)));
        }
        QCOMPARE(stored(), before);
        // The lock is the same once the file exists, and through a symbolic link to its folder.
        QVERIFY(writeFile(settingsFile(), {}));
        QCOMPARE(SingleInstance(settingsFile()).lockFilePath(), lock);
        QVERIFY(QFile::link(m_dir->path(), settingsFile(u"link"_s)));
        QCOMPARE(SingleInstance(settingsFile(u"link/settings.conf"_s)).lockFilePath(), lock);
        QVERIFY(SingleInstance(settingsFile(u"other/settings.conf"_s)).lockFilePath() != lock);
        // A live owner (this test) that never answers, a pipe where it names its socket: a start says
        // why, and does not run.
        const SingleInstance held(settingsFile(u"held/settings.conf"_s));
        QLockFile heldLock(held.lockFilePath());
        QVERIFY(QDir().mkpath(settingsFile(u"held"_s)) && heldLock.tryLock(0) &&
                mkfifo(QFile::encodeName(held.serverNameFilePath()), 0600) == 0);
        QVERIFY(launch(u"held/settings.conf"_s, "is already running with the saved commands in"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
