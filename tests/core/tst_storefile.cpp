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
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <iostream>
#include <random>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// Of a fixed size for a given i: the sweeps below compare lengths across runs.
SavedCommand numbered(int i)
{
    SavedCommand c = SavedCommand::create(u"c%1"_s.arg(i), DebugCategory::flow,
                                          u"diagnose debug flow filter addr 10.0.0.%1\ndiagnose debug enable"_s.arg(i),
                                          u"note \"%1\""_s.arg(i));
    c.createdAt = 786000000.25 + i;
    return c;
}

// Either store behind one face, as its base shares the file handling.
struct Handle {
    std::unique_ptr<ListStore> store;
    std::function<bool(int)> add;         // the i-th entry; true once it is on disk
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
            [s](int i) { return s->add(u"vlan%1"_s.arg(i)) && s->saveError().isEmpty(); },
            [s] { return QJsonDocument(QJsonArray::fromStringList(s->interfaces())).toJson(QJsonDocument::Compact); },
            [s] { return s->interfaces().size(); }};
    }
    auto *s = new CommandStore(storage);
    return {std::unique_ptr<ListStore>(s),
            [s](int i) {
                s->add(numbered(i));
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
        if (store.flush())
            std::cout << i << std::endl; // flushed: the parent reads it while this runs
    }
    return 0;
}

// A real failing write: the file-size limit makes write() fail as a full disk does, with EFBIG instead
// of ENOSPC. None for a negative limit.
bool limitSize(qint64 limit)
{
    static const rlimit original = [] {
        rlimit value{};
        getrlimit(RLIMIT_FSIZE, &value);
        return value;
    }();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit value = original;
    if (limit >= 0)
        value.rlim_cur = rlim_t(limit);
    return setrlimit(RLIMIT_FSIZE, &value) == 0;
}

enum Fault { cut, commit, fileSize };
enum Block { folder, settingsFolder, noRoom, readError, namedPipe, device, tooLarge };
} // namespace

class TestStoreFile : public QObject
{
    Q_OBJECT

    QString settingsFile() const { return m_dir->filePath(u"settings.conf"_s); }
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

    void commandsKeepTheOrderAndAreWritten()
    {
        SettingsStorage storage(settingsFile());
        // A list as a hand edit or an old bug may leave it: two records with one id.
        const SavedCommand first = numbered(1);
        SavedCommand twin = first;
        twin.title = u"twin"_s;
        QVERIFY(putStoredList(storage, SettingsStorage::savedCommands, SavedCommand::encodeList({first, twin})));
        CommandStore store(storage);
        QSignalSpy changed(&store, &CommandStore::changed);

        // Newest first, in the order added; an update replaces the first with the id, in place.
        const SavedCommand c2 = numbered(2), c3 = numbered(3);
        store.add(c2);
        store.add(c3);
        SavedCommand edited = first;
        edited.title = u"edited"_s;
        store.update(edited);
        QVERIFY(store.commands() == (QList{c3, c2, edited, twin}));
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
        QVERIFY(store.commands() == (QList{c3, c2}));
        QVERIFY(store.flush());
        QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));
    }

    // Loaded in the background: what is added, edited and removed before the stored list is in is done
    // again on top of it, nothing is written before, and the views and the file then see every entry.
    void changesWhileLoadingKeepEveryStoredEntry()
    {
        SettingsStorage storage(settingsFile());
        const QString path = storage.pathOf(SettingsStorage::savedCommands);
        const QList<SavedCommand> stored{numbered(3), numbered(2), numbered(1)};
        const QByteArray document = SavedCommand::encodeList(stored);
        QVERIFY(writeFile(path, document));
        // The load waits at its read until this test lets it go on.
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        std::atomic_bool reading = false;
        AtomicFile::setFaultsForTesting(AtomicFile::Faults{.read = [&, released](const QString &read) {
            reading = reading || read == path;
            if (read == path)
                released.wait();
            return 0;
        }});
        auto letGo = qScopeGuard([&release] { release.set_value(); }); // even if a check fails
        CommandStore store(storage, CommandStore::Loading::inBackground);
        QTRY_VERIFY(reading);
        qsizetype seen = -1;
        connect(&store, &CommandStore::changed, this, [&] { seen = store.commands().size(); });

        const SavedCommand kept = numbered(10), gone = numbered(11);
        store.add(gone);
        store.add(kept);
        SavedCommand edited = kept;
        edited.title = u"edited"_s;
        store.update(edited);
        store.remove(gone.id);
        QVERIFY(!store.isLoaded() && store.commands() == QList{edited});
        QThread::msleep(50); // time enough for a write that should not happen
        QCOMPARE(fileContents(path), document);

        letGo.dismiss();
        release.set_value();
        QTRY_VERIFY(store.isLoaded()); // through the event loop, as in the application
        QVERIFY(store.commands() == QList{edited} + stored);
        QCOMPARE(seen, stored.size() + 1);
        QVERIFY(store.flush());
        QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));
    }

    void firstStartThenInterfacesTrimmedSortedAndTakenAsStored()
    {
        SettingsStorage storage(settingsFile());
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        // A first start: both lists empty, read without a word, and nothing written.
        for (const bool interfaces : {false, true}) {
            Handle h = open(storage, interfaces);
            QVERIFY(h.size() == 0 && h.store->loadError().isEmpty());
            QCOMPARE(h.store->fileName(), m_dir->filePath(QLatin1String(listOf(interfaces).fileName)));
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        // By scalar value of the canonical form: as typed, "cafe\u0301" sorts before "caff", as "caf\u00E9"
        // after it; U+1F600 is a surrogate pair (0xD83D 0xDE00), yet sorts after U+FF21. A byte-order
        // mark is no white space.
        const QStringList sorted{u"Port1"_s, u"caff"_s,    u"cafe\u0301"_s, u"dmz"_s,    u"port10"_s,
                                 u"port2"_s, u"vlan100"_s, u"\uFEFFlab"_s,  u"\uFF21"_s, u"\U0001F600"_s};
        InterfaceStore store(storage);
        QSignalSpy changed(&store, &InterfaceStore::changed);
        for (qsizetype i = 0; i < sorted.size(); ++i) // in a scrambled order, padded
            QVERIFY(store.add(u" \u3000%1\t\u00A0"_s.arg(sorted.at((i * 3) % sorted.size()))));
        QCOMPARE(changed.size(), sorted.size());
        QCOMPARE(store.interfaces(), sorted);
        QCOMPARE(names(), QJsonDocument(QJsonArray::fromStringList(sorted)).toJson(QJsonDocument::Compact));
        InterfaceStore again(storage);
        again.load();
        QCOMPARE(again.interfaces(), sorted);

        // Refused, and nothing written: blank, saved once trimmed, or the same name composed.
        QVERIFY(QFile::remove(store.fileName()));
        for (const QString &same : {u"\t\u00A0\u2003\u3000"_s, u" dmz\t"_s, u"caf\u00E9"_s})
            QVERIFY2(!store.add(same), qPrintable(same));
        QVERIFY(!QFile::exists(store.fileName()));
        QCOMPARE(changed.size(), sorted.size());
        QVERIFY(store.add(u"CAF\u00C9"_s)); // case matters

        // Hand-edited: unsorted, untrimmed, a duplicate. Not read until load(), then kept so until a
        // change, which sorts stably.
        QVERIFY(putStoredList(storage, SettingsStorage::customInterfaces, R"(["wan1","port2"," lab ","wan1"])"));
        InterfaceStore hand(storage);
        QVERIFY(hand.interfaces().isEmpty());
        QSignalSpy handChanged(&hand, &InterfaceStore::changed);
        hand.load();
        hand.load(); // the same list again is no change
        QCOMPARE(handChanged.size(), 1);
        QCOMPARE(hand.interfaces().join(u'|'), u"wan1|port2| lab |wan1"_s);
        QVERIFY(hand.add(u"dmz"_s));
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2","wan1","wan1"])"));

        // Removal takes every copy, untrimmed, and writes even when nothing matched.
        hand.remove(u"wan1"_s);
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2"])"));
        QVERIFY(hand.add(u"cafe\u0301"_s));
        hand.remove(u"caf\u00E9"_s); // the same name, composed
        QVERIFY(QFile::remove(hand.fileName()));
        hand.remove(u"lab"_s);
        QCOMPARE(names(), QByteArray(R"([" lab ","dmz","port2"])"));
        QCOMPARE(handChanged.size(), 5);
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
        QLoggingCategory::setFilterRules(u"brindlecap.store.warning=false"_s);
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
                QVERIFY(limitSize(limit));
            else
                AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                    [budget](QIODevice &file) { return std::make_unique<FailDevice>(file, budget); }, fault == commit});
            Handle h = open(storage, interfaces);
            QSignalSpy failed(h.store.get(), &ListStore::saveFailed);
            h.add(99);
            QVERIFY(limitSize(-1));
            const QByteArray now = fileContents(path);
            QVERIFY2(now == before || now == h.document(), qPrintable(u"limit %1"_s.arg(limit)));
            QCOMPARE(failed.size(), now == before ? 1 : 0);
            QCOMPARE(now == before, fault == commit || limit < h.document().size());
            const QString reason = failed.isEmpty() ? QString() : failed.first().at(1).toString();
            QVERIFY(!reason.contains(u"Unknown error"_s));
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
        QTest::addColumn<QString>("why"); // what the load error says, if any
        for (const bool interfaces : {false, true}) {
            const char *store = interfaces ? "custom interfaces" : "saved commands";
            // Each stops any process, root included.
            QTest::addRow("%s, a folder where the file should be", store) << interfaces << int(folder) << u"folder"_s;
            QTest::addRow("%s, a file where the settings folder should be", store)
                << interfaces << int(settingsFolder) << QString();
            QTest::addRow("%s, unreadable, no room to copy it aside", store) << interfaces << int(noRoom) << QString();
            // Nothing is written over what could not be read, until a copy of it is kept.
            QTest::addRow("%s, a read error", store) << interfaces << int(readError) << qt_error_string(EIO);
            QTest::addRow("%s, a named pipe", store) << interfaces << int(namedPipe) << u"named pipe"_s;
            QTest::addRow("%s, a link to a device", store) << interfaces << int(device) << u"device"_s;
            QTest::addRow("%s, too large", store) << interfaces << int(tooLarge) << u"larger than 256 MB"_s;
        }
    }

    void blockedWriteIsReportedKeptAndRetried()
    {
        QFETCH(bool, interfaces);
        QFETCH(int, block);
        QFETCH(QString, why);
        const QString sub = m_dir->filePath(u"sub"_s);
        SettingsStorage storage(sub + u"/settings.conf"_s);
        const QString path = storage.pathOf(listOf(interfaces));
        const QByteArray bad = block == readError ? SavedCommand::encodeList({numbered(1)}) : "not json";
        QVERIFY(QDir().mkpath(sub));
        if (block == noRoom || block == readError) {
            QVERIFY(writeFile(path, bad));
            // Room for the list but not for its copy: the store must still not replace the list.
            AtomicFile::setFaultsForTesting(AtomicFile::Faults{[](QIODevice &file) {
                const bool copy = static_cast<QFileDevice &>(file).fileName().contains(u".unreadable-"_s);
                return std::make_unique<FailDevice>(file, copy ? 0 : std::numeric_limits<qint64>::max());
            }});
            QTest::ignoreMessage(QtWarningMsg, logged(interfaces, " load error: "));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^could not copy .* aside"_s));
        }
        if (block == readError) // a bad sector, as an LD_PRELOAD shim on read() gives it
            AtomicFile::setFaultsForTesting(
                AtomicFile::Faults{.read = [path](const QString &read) { return read == path ? EIO : 0; }});
        QVERIFY(block == folder           ? QDir().mkpath(path)
                : block == settingsFolder ? QDir(sub).removeRecursively() && writeFile(sub, {})
                : block == namedPipe      ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                : block == device         ? QFile::link(u"/dev/zero"_s, path)
                : block == tooLarge       ? writeFile(path, "[]") && QFile::resize(path, AtomicFile::sizeLimit + 1)
                                          : true);
        Handle h = open(storage, interfaces);
        QVERIFY2(h.store->loadError().contains(why), qPrintable(h.store->loadError()));
        QVERIFY(h.store->backupFileName().isEmpty());
        QSignalSpy failed(h.store.get(), &ListStore::saveFailed);
        QTest::ignoreMessage(QtWarningMsg, logged(interfaces, " save error: .+: .+"));
        QVERIFY(!h.add(1));
        QVERIFY(failed.size() == 1 && failed.first().at(0).toString() == path);
        QVERIFY(!h.store->saveError().contains(u"Unknown error"_s));
        QCOMPARE(h.store->saveError(), failed.first().at(1).toString());
        QCOMPARE(h.size(), 1);
        if (block == noRoom || block == readError) { // neither the copy nor the list written, nor anything left
            QCOMPARE(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});
            QCOMPARE(fileContents(path), bad);
        }

        QVERIFY(block == folder           ? QDir(path).removeRecursively()
                : block == settingsFolder ? QFile::remove(sub)
                : block >= namedPipe      ? QFile::remove(path)
                                          : true);
        AtomicFile::setFaultsForTesting(std::nullopt);
        h.store->retrySave(); // as Try Again does
        QVERIFY(h.store->flush());
        QCOMPARE(fileContents(path), h.document());
        if (block == noRoom || block == readError)
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
        const QString original = legacy ? settingsFile() : storage.pathOf(list);
        QVERIFY(writeFile(original, data) && QFile::setPermissions(original, QFile::ReadOwner | QFile::WriteOwner));
        // What a settings value held, as the first version read it; the copy must hold at least that.
        const QString legacyKey = QLatin1String(list.legacyKey);
        const QByteArray value =
            legacy ? QSettings(settingsFile(), QSettings::IniFormat).value(legacyKey).toByteArray() : data;

        QTest::ignoreMessage(QtWarningMsg, logged(interfaces, loaded ? "" : " load error: "));
        Handle h = open(storage, interfaces);
        QCOMPARE(h.size(), loaded);
        QCOMPARE(h.store->loadError().isEmpty(), loaded > 0);
        const QString backup = h.store->backupFileName();
        // Copied at start, before any save, beside the list.
        QVERIFY2(QFileInfo(backup).absolutePath() == m_dir->path() && backup.contains(u".unreadable-"_s),
                 qPrintable(backup));
        const QByteArray copy = fileContents(backup);
        QVERIFY((copy == data || copy == value) && copy.contains(value));
        QCOMPARE(QFile::permissions(backup), QFile::permissions(original)); // no more readable than it
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
            QCOMPARE(QDir(m_dir->path()).entryList({u"*.unreadable-*"_s}).size(), 1);
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
        QTest::addColumn<int>("step");       // of the file-size limit: a full disk; 0 for room enough
        QTest::addColumn<bool>("room");      // to move the list out at first
        QTest::addColumn<QByteArray>("own"); // already in the list's own file
        for (const bool interfaces : {false, true}) {
            const char *store = interfaces ? "custom interfaces" : "saved commands";
            QTest::addRow("%s", store) << interfaces << 0 << true << QByteArray();
            QTest::addRow("%s, no room to move them", store) << interfaces << 0 << false << QByteArray();
            QTest::addRow("%s, a full disk", store) << interfaces << 1543 << true << QByteArray();
            QTest::addRow("%s, another list in its own file", store) << interfaces << 0 << true << QByteArray("[]");
        }
    }

    void migratesTheFirstVersionsSettings()
    {
        QFETCH(bool, interfaces);
        QFETCH(int, step);
        QFETCH(bool, room);
        QFETCH(QByteArray, own);
        QLoggingCategory::setFilterRules(u"brindlecap.store.warning=false"_s);
        // Other keys after the lists, and a large one in a section of its own.
        const QByteArray fixture = fileContents(QFINDTESTDATA("data/settings-0.1.0.conf")) +
                                   "later=kept\n[mainWindow]\n" + "geometry=@ByteArray(" + QByteArray(20000, 'g') +
                                   ")\nsize=@Size(900 620)\n";
        const QByteArray without =
            QString::fromLatin1(fixture) // without the lines of the lists, byte for byte
                .remove(QRegularExpression(u"^BrindlecapBuilder\\.[^\\n]*\\n"_s, QRegularExpression::MultilineOption))
                .toLatin1();
        const QString key = QLatin1String(listOf(interfaces).legacyKey);
        QVERIFY(writeFile(settingsFile(), fixture));
        const QByteArray value = QSettings(settingsFile(), QSettings::IniFormat).value(key).toByteArray();
        for (qint64 limit = step; limit <= (step ? fixture.size() : 0); limit += std::max(step, 1)) {
            const QString path = m_dir->filePath(QLatin1String(listOf(interfaces).fileName));
            QVERIFY(writeFile(settingsFile(), fixture) &&
                    (own.isEmpty() ? !QFile::exists(path) || QFile::remove(path) : writeFile(path, own)));
            QVERIFY(QFile::setPermissions(settingsFile(), QFile::ReadOwner | QFile::WriteOwner));
            if (!room)
                AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                    [half = value.size() / 2](QIODevice &file) { return std::make_unique<FailDevice>(file, half); }});
            QVERIFY(limitSize(step ? limit : -1));
            SettingsStorage storage(settingsFile());
            Handle h = open(storage, interfaces);
            QVERIFY(limitSize(-1));
            // Whole or without the lists' lines, whatever the disk let through; the list where it is.
            const QByteArray now = fileContents(settingsFile());
            QVERIFY2(now == fixture || now == without, qPrintable(u"limit %1"_s.arg(limit)));
            QCOMPARE(h.document(), own.isEmpty() ? value : own);
            QVERIFY(h.store->loadError().isEmpty());
            const QString kept = h.store->supersededFileName();
            QCOMPARE(fileContents(kept), own.isEmpty() ? QByteArray() : value); // for the user to import
            for (const QString &made :
                 {own.isEmpty() ? h.store->fileName() : QString(), kept}) // as private as the settings file
                QVERIFY(!QFile::exists(made) || QFile::permissions(made) == QFile::permissions(settingsFile()));
            if (step)
                continue;
            QCOMPARE(now == without, room);
            if (!room) { // used where it is; a change is kept in memory until a retry writes it
                QVERIFY(!QFile::exists(h.store->fileName()));
                QVERIFY(!h.add(7));
                QCOMPARE(fileContents(settingsFile()), fixture);
                AtomicFile::setFaultsForTesting(std::nullopt);
                h.store->retrySave(); // as Try Again does
                QVERIFY(h.store->flush());
                QCOMPARE(h.size(), 4);
                QCOMPARE(fileContents(h.store->fileName()), h.document());
                QCOMPARE(fileContents(settingsFile()), without);
            }
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), own.isEmpty() ? 3 : 4);
        }
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
            child.start(QCoreApplication::applicationFilePath(), {u"--burst"_s, dir.filePath(u"settings.conf"_s)});
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

            const QString file = dir.filePath(u"saved-commands.json"_s);
            const auto list = SavedCommand::decodeList(QFile::exists(file) ? fileContents(file) : "[]");
            QVERIFY2(list, "the file always parses");
            QVERIFY(list->size() >= reported);
            for (qsizetype i = 0; i < list->size(); ++i)
                QCOMPARE(list->at(i).title, u"c%1"_s.arg(list->size() - 1 - i));
            // What a killed write left is removed at the next start, and nothing that only looks like it.
            const QStringList kept{u"saved-commands.json.bak"_s, u"saved-commands.json.a1B2c3d"_s, u"notes.a1B2c3"_s};
            for (const QString &name : kept + QStringList{u"settings.conf.Zz9Yy8"_s, u"saved-commands.json.a1B2c3"_s,
                                                          u"custom-interfaces.rescue-20261207T101500Z.json.x1y2Z3"_s})
                QVERIFY(writeFile(dir.filePath(name), "x"));
            SettingsStorage::removeInterruptedWrites(dir.filePath(u"settings.conf"_s));
            QStringList expected = kept + (QFile::exists(file) ? QStringList{u"saved-commands.json"_s} : QStringList());
            expected.sort();
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
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
