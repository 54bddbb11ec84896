// How both stores' files survive what goes wrong: a write cut off at any byte, a failed commit, a
// full disk, bursts of changes, the move out of the first version's settings file, and kill -9.

#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/settingsstorage.h"

#include "faildevice.h"
#include "storedlist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <random>
#include <sys/resource.h>

namespace {
// Of a fixed size for a given i: the sweeps below compare lengths across runs.
SavedCommand numbered(int i)
{
    SavedCommand c =
        SavedCommand::create(QStringLiteral("c%1").arg(i), DebugCategory::flow,
                             QStringLiteral("diagnose debug flow filter addr 10.0.0.%1\ndiagnose debug enable").arg(i),
                             QStringLiteral("note \"%1\"").arg(i));
    c.createdAt = 786000000.25 + i;
    return c;
}

// One change made through a fresh store, and what came of it.
struct Outcome {
    QByteArray document; // the whole list as the store now holds it
    int failures = 0;
    QString reason;
};

// Each store, seen the same way: fill writes a first list, change makes one more change.
struct Subject {
    QString fileName;
    std::function<void(SettingsStorage &)> fill;
    std::function<Outcome(SettingsStorage &)> change;
};

Subject savedCommands()
{
    return {QLatin1String(SettingsStorage::savedCommands.fileName),
            [](SettingsStorage &storage) {
                CommandStore store(storage);
                for (int i = 0; i < 30; ++i)
                    store.add(numbered(i));
            },
            [](SettingsStorage &storage) {
                CommandStore store(storage);
                QSignalSpy failed(&store, &CommandStore::saveFailed);
                store.add(numbered(99));
                store.flush();
                return Outcome{SavedCommand::encodeList(store.commands()), int(failed.size()),
                               failed.isEmpty() ? QString() : failed.first().at(1).toString()};
            }};
}

Subject customInterfaces()
{
    return {QLatin1String(SettingsStorage::customInterfaces.fileName),
            [](SettingsStorage &storage) {
                InterfaceStore store(storage);
                for (int i = 0; i < 30; ++i)
                    store.add(QStringLiteral("vlan%1").arg(i));
            },
            [](SettingsStorage &storage) {
                InterfaceStore store(storage);
                store.load();
                QSignalSpy failed(&store, &InterfaceStore::saveFailed);
                store.add(QStringLiteral("port1.20"));
                const QJsonArray names = QJsonArray::fromStringList(store.interfaces());
                return Outcome{QJsonDocument(names).toJson(QJsonDocument::Compact), int(failed.size()),
                               failed.isEmpty() ? QString() : failed.first().at(1).toString()};
            }};
}

// Every document written, in order, each written slowly so that changes pile up meanwhile.
std::mutex recordedMutex;
QList<QByteArray> recorded;

class RecordingDevice : public QIODevice
{
public:
    explicit RecordingDevice(QIODevice &target)
        : m_target(target)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    ~RecordingDevice() override
    {
        const std::lock_guard lock(recordedMutex);
        recorded << m_data;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        QThread::msleep(20);
        m_data.append(data, size);
        return m_target.write(data, size);
    }

private:
    QIODevice &m_target;
    QByteArray m_data;
};

// The child of killedDuringBurstsLosesNothingReported: 1,000 adds in bursts, each burst flushed and
// its count printed once it is on disk.
int burst(const QString &settingsFile)
{
    SettingsStorage storage(settingsFile);
    CommandStore store(storage);
    std::mt19937 random(std::random_device{}());
    for (int i = 0; i < 1000;) {
        for (int n = 1 + int(random() % 40); n > 0 && i < 1000; --n)
            store.add(numbered(i++));
        if (store.flush()) {
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    }
    return 0;
}
} // namespace

class TestStoreFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { AtomicFile::setFaultsForTesting(std::nullopt); }
    void interruptedWritesLeaveAWholeFile_data();
    void interruptedWritesLeaveAWholeFile();
    void fullDiskIsReportedInTheSystemsWords();
    void burstsAreCoalescedAndWrittenInOrder();
    void migratesTheFirstVersionsSettings();
    void interruptedMigrationLosesNothing();
    void killedDuringBurstsLosesNothingReported();

private:
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    // Runs subject's change under each fault; the file always holds the old or the new whole list,
    // and a failure is reported exactly when it holds the old one.
    void sweep(const Subject &subject, const std::function<void(qint64 limit)> &fault, qint64 step, bool commit,
               QString *reason = nullptr);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStoreFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Hundreds of failures are made on purpose here; each is checked through the stores' signals.
    QLoggingCategory::setFilterRules(QStringLiteral("brindlecap.store.warning=false"));
}

void TestStoreFile::sweep(const Subject &subject, const std::function<void(qint64)> &fault, qint64 step, bool commit,
                          QString *reason)
{
    SettingsStorage storage(settingsFile());
    const QString path = m_dir->filePath(subject.fileName);
    subject.fill(storage);
    const QByteArray before = fileContents(path);
    QVERIFY(!before.isEmpty());
    const qint64 full = subject.change(storage).document.size();
    QVERIFY(writeFile(path, before));

    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    for (qint64 limit = 0; limit <= full + step; limit += step) {
        fault(limit);
        const Outcome outcome = subject.change(storage);
        AtomicFile::setFaultsForTesting(std::nullopt);
        fault(-1);
        const QByteArray now = fileContents(path);
        QVERIFY2(now == before || now == outcome.document, qPrintable(QStringLiteral("limit %1").arg(limit)));
        QCOMPARE(outcome.failures, now == before ? 1 : 0);
        QCOMPARE(now == before, commit || limit < full);
        QVERIFY(!outcome.reason.contains(QLatin1String("Unknown error")));
        if (reason && outcome.failures > 0)
            *reason = outcome.reason;
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files); // no temporary file left
        QVERIFY(writeFile(path, before));
    }
}

void TestStoreFile::interruptedWritesLeaveAWholeFile_data()
{
    QTest::addColumn<bool>("interfaces");
    QTest::addColumn<bool>("commit");
    QTest::newRow("saved commands, write cut off") << false << false;
    QTest::newRow("saved commands, commit fails") << false << true;
    QTest::newRow("custom interfaces, write cut off") << true << false;
    QTest::newRow("custom interfaces, commit fails") << true << true;
}

void TestStoreFile::interruptedWritesLeaveAWholeFile()
{
    QFETCH(bool, interfaces);
    QFETCH(bool, commit);
    const auto fault = [commit](qint64 budget) {
        if (budget < 0)
            return;
        if (commit)
            budget = std::numeric_limits<qint64>::max();
        AtomicFile::setFaultsForTesting(AtomicFile::Faults{
            [budget](QIODevice &file) { return std::make_unique<FailDevice>(file, budget); }, commit});
    };
    // Every byte of the small list, a few hundred points of the larger one; a failing commit once.
    const qint64 step = commit ? std::numeric_limits<qint32>::max() : interfaces ? 1 : 13;
    sweep(interfaces ? customInterfaces() : savedCommands(), fault, step, commit);
}

void TestStoreFile::fullDiskIsReportedInTheSystemsWords()
{
    // A real failing write: the file-size limit makes write() fail as a full disk does, with EFBIG
    // instead of ENOSPC. Through QSettings, this left a truncated file and reported success.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
    QString reason;
    const auto fault = [&original](qint64 limit) {
        rlimit value = original;
        if (limit >= 0)
            value.rlim_cur = rlim_t(limit);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &value), 0);
    };
    sweep(savedCommands(), fault, 509, false, &reason);
    QCOMPARE(reason, qt_error_string(EFBIG));
}

void TestStoreFile::burstsAreCoalescedAndWrittenInOrder()
{
    AtomicFile::setFaultsForTesting(
        AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<RecordingDevice>(file); }, false});
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QSignalSpy saved(&store, &CommandStore::saved);
    for (int i = 0; i < 40; ++i)
        store.add(numbered(i));
    QVERIFY(store.flush());
    const std::lock_guard lock(recordedMutex);
    const QList<QByteArray> documents = recorded;
    QVERIFY2(documents.size() < 40, "a burst is written as one");
    qsizetype previous = 0;
    for (const QByteArray &document : std::as_const(documents)) {
        const auto list = SavedCommand::decodeList(document);
        QVERIFY(list);
        QVERIFY2(list->size() > previous, "never an older list after a newer one");
        previous = list->size();
    }
    QCOMPARE(documents.last(), SavedCommand::encodeList(store.commands()));
    QCOMPARE(fileContents(store.fileName()), documents.last());
    QVERIFY(!saved.isEmpty());
}

void TestStoreFile::migratesTheFirstVersionsSettings()
{
    QVERIFY(QFile::copy(QFINDTESTDATA("data/settings-0.1.0.conf"), settingsFile()));
    QSettings legacy(settingsFile(), QSettings::IniFormat);
    const QByteArray commands = legacy.value(QLatin1String(SettingsStorage::savedCommands.legacyKey)).toByteArray();
    const QByteArray names = legacy.value(QLatin1String(SettingsStorage::customInterfaces.legacyKey)).toByteArray();
    QVERIFY(!commands.isEmpty() && !names.isEmpty());

    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QVERIFY(store.loadError().isEmpty());
    QCOMPARE(store.commands().size(), 3);
    InterfaceStore interfaces(storage);
    interfaces.load();
    QCOMPARE(interfaces.interfaces().size(), 3);

    // Moved byte for byte, and out of the settings file; nothing copied, as nothing was at risk.
    QCOMPARE(fileContents(store.fileName()), commands);
    QCOMPARE(fileContents(interfaces.fileName()), names);
    QVERIFY(legacy.allKeys().isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
}

void TestStoreFile::interruptedMigrationLosesNothing()
{
    QVERIFY(QFile::copy(QFINDTESTDATA("data/settings-0.1.0.conf"), settingsFile()));
    const QByteArray fixture = fileContents(settingsFile());
    const QString legacyKey = QLatin1String(SettingsStorage::savedCommands.legacyKey);
    const QByteArray commands = QSettings(settingsFile(), QSettings::IniFormat).value(legacyKey).toByteArray();
    // No room to move the list out: it is used where it is, and a change fails and is kept in memory
    // until a retry succeeds; only then is the old value removed, after a copy of the settings file.
    AtomicFile::setFaultsForTesting(
        AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 100); }, false});
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QVERIFY(store.commands() == *SavedCommand::decodeList(commands));
    QVERIFY(!QFile::exists(store.fileName()));
    const SavedCommand added = numbered(7);
    store.add(added);
    QVERIFY(!store.flush());
    QCOMPARE(fileContents(settingsFile()), fixture);
    AtomicFile::setFaultsForTesting(std::nullopt);
    store.retrySave();
    QVERIFY(store.flush());
    const auto written = SavedCommand::decodeList(fileContents(store.fileName()));
    QVERIFY(written && *written == QList<SavedCommand>{added} + *SavedCommand::decodeList(commands));
    QVERIFY(!QSettings(settingsFile(), QSettings::IniFormat).contains(legacyKey));
    const QStringList copies = QDir(m_dir->path()).entryList({QStringLiteral("settings.superseded-*.conf")});
    QCOMPARE(copies.size(), 1);
    QCOMPARE(fileContents(m_dir->filePath(copies.first())), fixture);
}

void TestStoreFile::killedDuringBurstsLosesNothingReported()
{
    // BRINDLECAP_KILLS=400 for a long run.
    const int kills = std::max(qEnvironmentVariableIntValue("BRINDLECAP_KILLS"), 12);
    std::mt19937 random(20261206);
    qint64 duration = 0;
    for (int run = 0; run <= kills; ++run) {
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--burst"), dir.filePath(QStringLiteral("settings.conf"))});
        QVERIFY(child.waitForStarted());
        // The first run is timed undisturbed; each other is killed somewhere within that time.
        if (run > 0) {
            QThread::msleep(random() % std::max<qint64>(duration, 1));
            child.kill();
        }
        QVERIFY(child.waitForFinished(60000));
        const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        const int reported = lines.last().toInt();
        if (run == 0) {
            duration = timer.elapsed();
            QCOMPARE(reported, 1000);
        }

        const QString file = dir.filePath(QStringLiteral("saved-commands.json"));
        if (!QFile::exists(file)) {
            QCOMPARE(reported, 0);
            continue;
        }
        const auto list = SavedCommand::decodeList(fileContents(file));
        QVERIFY2(list, "the file always parses");
        QVERIFY(list->size() >= reported);
        for (qsizetype i = 0; i < list->size(); ++i)
            QCOMPARE(list->at(i).title, QStringLiteral("c%1").arg(list->size() - 1 - i));
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--burst") == 0)
        return burst(QString::fromLocal8Bit(argv[2]));
    TestStoreFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storefile.moc"
