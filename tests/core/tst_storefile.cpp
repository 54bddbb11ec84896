// The stores of the user's lists and their files: the command store's order, the interface store's
// names, and how both survive what goes wrong: a write cut off at any byte, a failed commit, a full
// disk, a blocked folder, unreadable data, bursts, the move out of the first version's settings file,
// and kill -9.

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
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>
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

// Either store behind one face, as its base shares the file handling.
struct Handle {
    std::unique_ptr<ListStore> store;
    std::function<bool(int)> add;         // the i-th entry; true once it is on disk
    std::function<bool()> retry;          // the same after a failure
    std::function<QByteArray()> document; // the whole list as the store now holds it
    std::function<qsizetype()> size;
};

Handle open(SettingsStorage &storage, bool interfaces)
{
    if (interfaces) {
        auto *s = new InterfaceStore(storage);
        s->load();
        return {
            std::unique_ptr<ListStore>(s),
            [s](int i) { return s->add(QStringLiteral("vlan%1").arg(i)) && s->saveError().isEmpty(); },
            [s] {
                s->save();
                return s->saveError().isEmpty();
            },
            [s] { return QJsonDocument(QJsonArray::fromStringList(s->interfaces())).toJson(QJsonDocument::Compact); },
            [s] { return s->interfaces().size(); }};
    }
    auto *s = new CommandStore(storage);
    return {std::unique_ptr<ListStore>(s),
            [s](int i) {
                s->add(numbered(i));
                return s->flush();
            },
            [s] {
                s->retrySave();
                return s->flush();
            },
            [s] { return SavedCommand::encodeList(s->commands()); }, [s] { return s->commands().size(); }};
}

const SettingsStorage::List &listOf(bool interfaces)
{
    return interfaces ? SettingsStorage::customInterfaces : SettingsStorage::savedCommands;
}

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

enum Fault { cut, commit, fileSize };
enum Block { folder, settingsFolder, noRoom };
} // namespace

class TestStoreFile : public QObject
{
    Q_OBJECT

    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    QByteArray names() const { return storedList(SettingsStorage(settingsFile()), SettingsStorage::customInterfaces); }
    static QRegularExpression logged(bool interfaces, const char *what)
    {
        return QRegularExpression(u'^' + QLatin1String(interfaces ? "InterfaceStore" : "CommandStore") +
                                  QLatin1String(what));
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        AtomicFile::setFaultsForTesting(std::nullopt);
        QLoggingCategory::setFilterRules(QString());
    }

    void firstStartIsEmptyAndSilent_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::newRow("saved commands") << false;
        QTest::newRow("custom interfaces") << true;
    }

    void firstStartIsEmptyAndSilent()
    {
        QFETCH(bool, interfaces);
        SettingsStorage storage(settingsFile());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        {
            Handle h = open(storage, interfaces);
            QCOMPARE(h.size(), 0);
            QVERIFY(h.store->loadError().isEmpty());
            QCOMPARE(h.store->fileName(), m_dir->filePath(QLatin1String(listOf(interfaces).fileName)));
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList()); // loading writes nothing
    }

    void commandsKeepTheOrderAndAreWritten()
    {
        SettingsStorage storage(settingsFile());
        const auto titles = [](const QList<SavedCommand> &commands) {
            QStringList result;
            for (const auto &c : commands)
                result << c.title;
            return result.join(u' ');
        };
        // A list as a hand edit or an old bug may leave it: two records with one id.
        const SavedCommand first = numbered(1);
        SavedCommand twin = first;
        twin.title = QStringLiteral("twin");
        QVERIFY(putStoredList(storage, SettingsStorage::savedCommands, SavedCommand::encodeList({first, twin})));
        CommandStore store(storage);
        QSignalSpy changed(&store, &CommandStore::changed);

        // Newest first, in the order added; an update replaces the first with the id, in place.
        store.add(numbered(2));
        store.add(numbered(3));
        SavedCommand edited = first;
        edited.title = QStringLiteral("edited");
        store.update(edited);
        QCOMPARE(titles(store.commands()), QStringLiteral("c3 c2 edited twin"));
        QCOMPARE(changed.size(), 3);
        QVERIFY(store.flush());
        QVERIFY(CommandStore(storage).commands() == store.commands()); // a restart reads the same order

        // An unknown id: an update neither changes nor writes; a removal writes all the same.
        QVERIFY(QFile::remove(store.fileName()));
        store.update(numbered(4));
        QVERIFY(store.flush());
        QVERIFY(!QFile::exists(store.fileName()));
        QCOMPARE(changed.size(), 3);
        store.remove(QUuid::createUuid());
        QVERIFY(store.flush());
        QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));

        // A removal takes every record with the id.
        store.remove(first.id);
        QCOMPARE(titles(store.commands()), QStringLiteral("c3 c2"));
        QVERIFY(store.flush());
        QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));
    }

    void interfaceAddTrimsSortsRefusesAndPersists()
    {
        SettingsStorage storage(settingsFile());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // By scalar value of the canonical form: as typed, "cafe\u0301" sorts before "caff", as "caf\u00E9"
        // after it; U+1F600 is a surrogate pair (0xD83D 0xDE00), yet sorts after U+FF21. A byte-order
        // mark is no white space.
        const QStringList sorted{QStringLiteral("Port1"),     QStringLiteral("caff"),      QStringLiteral("cafe\u0301"),
                                 QStringLiteral("dmz"),       QStringLiteral("port10"),    QStringLiteral("port2"),
                                 QStringLiteral("vlan100"),   QStringLiteral("\uFEFFlab"), QStringLiteral("\uFF21"),
                                 QStringLiteral("\U0001F600")};
        InterfaceStore store(storage);
        QSignalSpy changed(&store, &InterfaceStore::changed);
        for (qsizetype i = 0; i < sorted.size(); ++i) // in a scrambled order, padded
            QVERIFY(store.add(QStringLiteral(" \u3000%1\t\u00A0").arg(sorted.at((i * 3) % sorted.size()))));
        QCOMPARE(changed.size(), sorted.size());
        QCOMPARE(store.interfaces(), sorted);
        QCOMPARE(names(), QJsonDocument(QJsonArray::fromStringList(sorted)).toJson(QJsonDocument::Compact));
        InterfaceStore again(storage);
        again.load();
        QCOMPARE(again.interfaces(), sorted);

        // Refused, and nothing written: blank, saved once trimmed, or the same name composed.
        QVERIFY(QFile::remove(store.fileName()));
        for (const QString &same :
             {QStringLiteral("\t\u00A0\u2003\u3000"), QStringLiteral(" dmz\t"), QStringLiteral("caf\u00E9")})
            QVERIFY2(!store.add(same), qPrintable(same));
        QVERIFY(!QFile::exists(store.fileName()));
        QCOMPARE(changed.size(), sorted.size());
        QVERIFY(store.add(QStringLiteral("CAF\u00C9"))); // case matters
    }

    void storedInterfacesAreTakenAsTheyAre()
    {
        SettingsStorage storage(settingsFile());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // Hand-edited: unsorted, untrimmed, a duplicate. Not read until load(), then kept so until a
        // change, which sorts stably.
        QVERIFY(putStoredList(storage, SettingsStorage::customInterfaces, R"(["wan1","port2"," lab ","wan1"])"));
        InterfaceStore store(storage);
        QVERIFY(store.interfaces().isEmpty());
        QSignalSpy changed(&store, &InterfaceStore::changed);
        store.load();
        store.load(); // the same list again is no change
        QCOMPARE(changed.size(), 1);
        QCOMPARE(store.interfaces().join(u'|'), QStringLiteral("wan1|port2| lab |wan1"));
        QVERIFY(store.add(QStringLiteral("dmz")));
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2","wan1","wan1"])"));

        // Removal takes every copy, untrimmed, and writes even when nothing matched.
        store.remove(QStringLiteral("wan1"));
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2"])"));
        QVERIFY(store.add(QStringLiteral("cafe\u0301")));
        store.remove(QStringLiteral("caf\u00E9")); // the same name, composed
        QVERIFY(QFile::remove(store.fileName()));
        store.remove(QStringLiteral("lab"));
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2"])"));
        QCOMPARE(changed.size(), 5);
    }

    void interruptedWritesLeaveAWholeFile_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::addColumn<int>("fault");
        QTest::addColumn<qint64>("step"); // every byte of the small list, a few hundred points of the larger
        for (const bool interfaces : {false, true}) {
            const char *store = interfaces ? "custom interfaces" : "saved commands";
            QTest::addRow("%s, write cut off", store) << interfaces << int(cut) << qint64(interfaces ? 1 : 13);
            QTest::addRow("%s, commit fails", store) << interfaces << int(commit) << qint64(1);
            QTest::addRow("%s, full disk", store) << interfaces << int(fileSize) << qint64(interfaces ? 37 : 509);
        }
    }

    void interruptedWritesLeaveAWholeFile()
    {
        QFETCH(bool, interfaces);
        QFETCH(int, fault);
        QFETCH(qint64, step);
        // Hundreds of failures are made on purpose here; each is checked through the stores' signals.
        QLoggingCategory::setFilterRules(QStringLiteral("brindlecap.store.warning=false"));
        // A real failing write: the file-size limit makes write() fail as a full disk does, with EFBIG
        // instead of ENOSPC. Through QSettings, this left a truncated file and reported success.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        const auto limitSize = [&original](qint64 limit) { // none for a negative limit
            rlimit value = original;
            if (limit >= 0)
                value.rlim_cur = rlim_t(limit);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &value), 0);
        };
        SettingsStorage storage(settingsFile());
        const QString path = storage.pathOf(listOf(interfaces));
        {
            Handle h = open(storage, interfaces);
            for (int i = 0; i < 30; ++i)
                QVERIFY(h.add(i));
        }
        const QByteArray before = fileContents(path);
        const QStringList files = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        // The file always holds the old or the new whole list, and a failure is reported exactly when
        // it holds the old one, in the system's words.
        for (qint64 limit = 0;; limit += step) {
            const qint64 budget = fault == cut ? limit : std::numeric_limits<qint64>::max();
            if (fault == fileSize)
                limitSize(limit);
            else
                AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                    [budget](QIODevice &file) { return std::make_unique<FailDevice>(file, budget); }, fault == commit});
            Handle h = open(storage, interfaces);
            QSignalSpy failed(h.store.get(), &ListStore::saveFailed);
            h.add(99);
            limitSize(-1);
            const QByteArray now = fileContents(path);
            QVERIFY2(now == before || now == h.document(), qPrintable(QStringLiteral("limit %1").arg(limit)));
            QCOMPARE(failed.size(), now == before ? 1 : 0);
            QCOMPARE(now == before, fault == commit || limit < h.document().size());
            const QString reason = failed.isEmpty() ? QString() : failed.first().at(1).toString();
            QVERIFY(!reason.contains(QLatin1String("Unknown error")));
            if (!failed.isEmpty() && fault == fileSize)
                QCOMPARE(reason, qt_error_string(EFBIG));
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files); // no temporary file left
            QVERIFY(writeFile(path, before));
            if (fault == commit || now != before)
                break;
        }
    }

    void blockedWriteIsReportedKeptAndRetried_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::addColumn<int>("block");
        for (const bool interfaces : {false, true}) {
            const char *store = interfaces ? "custom interfaces" : "saved commands";
            // Either of the first two stops any process, root included.
            QTest::addRow("%s, a folder where the file should be", store) << interfaces << int(folder);
            QTest::addRow("%s, a file where the settings folder should be", store) << interfaces << int(settingsFolder);
            QTest::addRow("%s, unreadable, no room to copy it aside", store) << interfaces << int(noRoom);
        }
    }

    void blockedWriteIsReportedKeptAndRetried()
    {
        QFETCH(bool, interfaces);
        QFETCH(int, block);
        const QString sub = m_dir->filePath(QStringLiteral("sub"));
        SettingsStorage storage(sub + QStringLiteral("/settings.conf"));
        const QString path = storage.pathOf(listOf(interfaces));
        const QByteArray bad = "not json";
        if (block == noRoom) {
            QVERIFY(QDir().mkpath(sub) && writeFile(path, bad));
            // Room for the list but not for its copy: the store must still not replace the list.
            AtomicFile::setFaultsForTesting(AtomicFile::Faults{[](QIODevice &file) {
                const bool copy = static_cast<QFileDevice &>(file).fileName().contains(QLatin1String(".unreadable-"));
                return std::make_unique<FailDevice>(file, copy ? 0 : std::numeric_limits<qint64>::max());
            }});
            QTest::ignoreMessage(QtWarningMsg, logged(interfaces, " load error: "));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^could not copy .* aside")));
        }
        QVERIFY(block == folder ? QDir().mkpath(path) : block == settingsFolder ? writeFile(sub, {}) : true);
        Handle h = open(storage, interfaces);
        QVERIFY(h.store->backupFileName().isEmpty());
        QSignalSpy failed(h.store.get(), &ListStore::saveFailed);
        QTest::ignoreMessage(QtWarningMsg, logged(interfaces, " save error: .+: .+"));
        QVERIFY(!h.add(1));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().at(0).toString(), path);
        QVERIFY(!failed.first().at(1).toString().contains(QLatin1String("Unknown error")));
        QCOMPARE(h.store->saveError(), failed.first().at(1).toString());
        QCOMPARE(h.size(), 1);
        if (block == noRoom) // neither the copy nor the list written, nor anything left behind
            QCOMPARE(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});

        if (block == folder)
            QVERIFY(QDir(path).removeRecursively());
        else if (block == settingsFolder)
            QVERIFY(QFile::remove(sub));
        AtomicFile::setFaultsForTesting(std::nullopt);
        QVERIFY(h.retry());
        QVERIFY(h.store->saveError().isEmpty());
        QCOMPARE(fileContents(path), h.document());
        if (block == noRoom)
            QCOMPARE(fileContents(h.store->backupFileName()), bad);
    }

    void unreadableIsCopiedByteForByteBeforeAnySave_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::addColumn<bool>("legacy");     // held by the first version's settings file, not the list's own
        QTest::addColumn<QByteArray>("data"); // the whole file
        QTest::addColumn<int>("loaded");      // entries that still load
        const SavedCommand c{QUuid::createUuid(), {}, DebugCategory::ping, {}, {}, 1};
        QTest::newRow("not JSON") << false << false << QByteArray("[{\"id\":") << 0;
        QTest::newRow("a newer version's key")
            << false << false << SavedCommand::encodeList({c}).replace("}", R"(,"tags":[]})") << 1;
        // A hand edit that QSettings reads as a list: the original text exists only in the settings file.
        QTest::newRow("settings value is a list")
            << false << true << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=[{\"id\": 1}, {\"id\": 2}]\n")
            << 0;
        QTest::newRow("names in an object") << true << false << QByteArray(R"({"interfaces":["port1"]})") << 0;
        QTest::newRow("null among the names") << true << false << QByteArray(R"(["port1",null])") << 0;
    }

    void unreadableIsCopiedByteForByteBeforeAnySave()
    {
        QFETCH(bool, interfaces);
        QFETCH(bool, legacy);
        QFETCH(QByteArray, data);
        QFETCH(int, loaded);
        SettingsStorage storage(settingsFile());
        const SettingsStorage::List &list = listOf(interfaces);
        QVERIFY(legacy ? writeFile(settingsFile(), data) : putStoredList(storage, list, data));
        // What a settings value held, as the first version read it; the copy must hold at least that.
        const QString legacyKey = QLatin1String(list.legacyKey);
        const QByteArray value =
            legacy ? QSettings(settingsFile(), QSettings::IniFormat).value(legacyKey).toByteArray() : data;

        QTest::ignoreMessage(QtWarningMsg, logged(interfaces, loaded ? "" : " load error: "));
        Handle h = open(storage, interfaces);
        QCOMPARE(h.size(), loaded);
        QCOMPARE(h.store->loadError().isEmpty(), loaded > 0);
        const QString backup = h.store->backupFileName();
        QVERIFY2(!backup.isEmpty(), "copied at start, before any save");
        QCOMPARE(QFileInfo(backup).absolutePath(), m_dir->path());
        QVERIFY(QFileInfo(backup).fileName().contains(QLatin1String(".unreadable-")));
        const QByteArray copy = fileContents(backup);
        QVERIFY(copy == data || copy == value);
        QVERIFY(copy.contains(value));
        if (!legacy)
            QCOMPARE(storedList(storage, list), data); // left in place until the next change

        QVERIFY(h.add(7));
        QCOMPARE(fileContents(backup), copy);
        QCOMPARE(storedList(storage, list), h.document());
        QVERIFY(!QSettings(settingsFile(), QSettings::IniFormat).contains(legacyKey));

        // Another start over the same unreadable data makes no second copy.
        if (loaded == 0 && !legacy) {
            QVERIFY(putStoredList(storage, list, data));
            QTest::ignoreMessage(QtWarningMsg, logged(interfaces, " load error: "));
            QCOMPARE(open(storage, interfaces).store->backupFileName(), backup);
            QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.unreadable-*")}).size(), 1);
        }
    }

    void burstsAreCoalesced()
    {
        // Each write slowed, so that changes pile up meanwhile: one writer, the latest list only.
        std::atomic_int writes = 0;
        AtomicFile::setFaultsForTesting(AtomicFile::Faults{[&writes](QIODevice &file) {
            ++writes;
            QThread::msleep(20);
            return std::make_unique<FailDevice>(file, std::numeric_limits<qint64>::max());
        }});
        SettingsStorage storage(settingsFile());
        CommandStore store(storage);
        for (int i = 0; i < 40; ++i)
            store.add(numbered(i));
        QVERIFY(store.flush());
        QVERIFY2(writes < 40, "a burst is written as one");
        QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));
    }

    void migratesTheFirstVersionsSettings_data()
    {
        QTest::addColumn<bool>("interfaces");
        QTest::addColumn<bool>("room");
        QTest::newRow("saved commands") << false << true;
        QTest::newRow("saved commands, no room to move them") << false << false;
        QTest::newRow("custom interfaces") << true << true;
        QTest::newRow("custom interfaces, no room to move them") << true << false;
    }

    void migratesTheFirstVersionsSettings()
    {
        QFETCH(bool, interfaces);
        QFETCH(bool, room);
        QLoggingCategory::setFilterRules(QStringLiteral("brindlecap.store.warning=false"));
        QVERIFY(QFile::copy(QFINDTESTDATA("data/settings-0.1.0.conf"), settingsFile()));
        const QByteArray fixture = fileContents(settingsFile());
        const QString key = QLatin1String(listOf(interfaces).legacyKey);
        const QByteArray value = QSettings(settingsFile(), QSettings::IniFormat).value(key).toByteArray();
        const qint64 half = value.size() / 2;
        if (!room)
            AtomicFile::setFaultsForTesting(
                AtomicFile::Faults{[half](QIODevice &file) { return std::make_unique<FailDevice>(file, half); }});
        SettingsStorage storage(settingsFile());
        Handle h = open(storage, interfaces);
        QVERIFY(h.store->loadError().isEmpty());
        QCOMPARE(h.size(), 3);
        QCOMPARE(h.document(), value);
        if (room) { // both moved byte for byte; nothing copied, as nothing was at risk
            QCOMPARE(fileContents(h.store->fileName()), value);
            QVERIFY(QSettings(settingsFile(), QSettings::IniFormat).allKeys().isEmpty());
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
            return;
        }
        // Used where it is; a change fails and is kept in memory until a retry succeeds; only then is
        // the old value removed, after a copy of the settings file.
        QVERIFY(!QFile::exists(h.store->fileName()));
        QVERIFY(!h.add(7));
        QCOMPARE(fileContents(settingsFile()), fixture);
        AtomicFile::setFaultsForTesting(std::nullopt);
        QVERIFY(h.retry());
        QCOMPARE(h.size(), 4);
        QCOMPARE(fileContents(h.store->fileName()), h.document());
        QVERIFY(!QSettings(settingsFile(), QSettings::IniFormat).contains(key));
        const QStringList copies = QDir(m_dir->path()).entryList({QStringLiteral("settings.superseded-*.conf")});
        QCOMPARE(copies.size(), 1);
        QCOMPARE(fileContents(m_dir->filePath(copies.first())), fixture);
    }

    void killedDuringBurstsLosesNothingReported()
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
            const int reported = child.readAllStandardOutput().trimmed().split('\n').last().toInt();
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
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--burst") == 0)
        return burst(QString::fromLocal8Bit(argv[2]));
    TestStoreFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storefile.moc"
