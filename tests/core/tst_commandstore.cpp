#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"

#include "faildevice.h"
#include "storedlist.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
SavedCommand makeCommand(const QString &title)
{
    return SavedCommand::create(title, DebugCategory::session, QStringLiteral("diagnose sys session list"), {});
}

QStringList titles(const QList<SavedCommand> &commands)
{
    QStringList result;
    for (const auto &c : commands)
        result << c.title;
    return result;
}

void put(const QString &path, const QByteArray &data)
{
    QVERIFY(writeFile(path, data));
}

const QByteArray goodEntry = R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","title":"T","category":"Ping",)"
                             R"("command":"c","notes":"","createdAt":1})";
} // namespace

class TestCommandStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { AtomicFile::setFaultsForTesting(std::nullopt); }
    void firstStartIsEmptyAndSilent();
    void addPutsNewestFirstAndPersists();
    void updateKeepsPositionAndUnknownIdWritesNothing();
    void deleteRemovesEveryCopyAndAlwaysWrites();
    void duplicateIdsUpdateOnlyTheFirst();
    void unreadableIsCopiedByteForByteBeforeAnySave_data();
    void unreadableIsCopiedByteForByteBeforeAnySave();
    void failedCopyBlocksTheWriteAndLeavesNothing();
    void failedWriteIsReportedKeptAndRetried();
    void extremeDatesLoadAndRoundTrip();

private:
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    QString listFile() const { return m_dir->filePath(QStringLiteral("saved-commands.json")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCommandStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCommandStore::firstStartIsEmptyAndSilent()
{
    SettingsStorage storage(settingsFile());
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    CommandStore store(storage);
    QVERIFY(store.commands().isEmpty());
    QVERIFY(store.loadError().isEmpty());
    QCOMPARE(store.fileName(), listFile());
    QVERIFY(store.flush());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList()); // loading writes nothing
}

void TestCommandStore::addPutsNewestFirstAndPersists()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QSignalSpy changed(&store, &CommandStore::changed);
    const SavedCommand a = makeCommand(QStringLiteral("A"));
    const SavedCommand b = makeCommand(QStringLiteral("B"));
    store.add(a);
    store.add(b);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    QVERIFY(store.flush());
    QCOMPARE(fileContents(listFile()), SavedCommand::encodeList({b, a}));

    // A fresh store over the same file (a restart) reads the same list in the same order.
    CommandStore again(storage);
    QVERIFY(again.commands() == store.commands());
}

void TestCommandStore::updateKeepsPositionAndUnknownIdWritesNothing()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    store.add(makeCommand(QStringLiteral("C")));
    store.add(makeCommand(QStringLiteral("B")));
    store.add(makeCommand(QStringLiteral("A")));
    QSignalSpy changed(&store, &CommandStore::changed);

    SavedCommand edited = store.commands().at(1);
    edited.title = QStringLiteral("B2");
    edited.notes = QStringLiteral("edited");
    store.update(edited);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("B2"), QStringLiteral("C")}));
    QVERIFY(store.commands().at(1) == edited);
    QVERIFY(store.flush());
    QCOMPARE(fileContents(listFile()), SavedCommand::encodeList(store.commands()));
    QCOMPARE(changed.size(), 1);

    // Remove the file: an update of an unknown id must not write it back.
    const QList<SavedCommand> before = store.commands();
    QVERIFY(QFile::remove(listFile()));
    store.update(makeCommand(QStringLiteral("stranger")));
    QVERIFY(store.flush());
    QVERIFY(store.commands() == before);
    QVERIFY(!QFile::exists(listFile()));
    QCOMPARE(changed.size(), 1);
}

void TestCommandStore::deleteRemovesEveryCopyAndAlwaysWrites()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    store.add(makeCommand(QStringLiteral("C")));
    store.add(makeCommand(QStringLiteral("B")));
    store.add(makeCommand(QStringLiteral("A")));

    store.remove(store.commands().at(1).id);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    QVERIFY(store.flush());
    QVERIFY(QFile::remove(listFile()));
    store.remove(QUuid::createUuid());
    QVERIFY(store.flush());
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    QCOMPARE(fileContents(listFile()), SavedCommand::encodeList(store.commands()));
}

void TestCommandStore::duplicateIdsUpdateOnlyTheFirst()
{
    SavedCommand first = makeCommand(QStringLiteral("first"));
    SavedCommand twin = first;
    twin.title = QStringLiteral("twin");
    const SavedCommand other = makeCommand(QStringLiteral("other"));
    put(listFile(), SavedCommand::encodeList({first, other, twin}));

    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QCOMPARE(store.commands().size(), 3);

    SavedCommand edited = first;
    edited.title = QStringLiteral("edited");
    store.update(edited);
    QCOMPARE(titles(store.commands()),
             (QStringList{QStringLiteral("edited"), QStringLiteral("other"), QStringLiteral("twin")}));

    store.remove(first.id);
    QCOMPARE(titles(store.commands()), QStringList{QStringLiteral("other")});
    QVERIFY(store.flush());
    QCOMPARE(fileContents(listFile()), SavedCommand::encodeList({other}));
}

void TestCommandStore::unreadableIsCopiedByteForByteBeforeAnySave_data()
{
    QTest::addColumn<QString>("file");    // which file holds the data: the list's own, or the settings
    QTest::addColumn<QByteArray>("data"); // its whole content
    QTest::addColumn<int>("loaded");      // entries that still load
    const QString list = QStringLiteral("saved-commands.json");
    const QString settings = QStringLiteral("settings.conf");
    QTest::newRow("not JSON") << list << QByteArray("[{\"id\":") << 0;
    QTest::newRow("a number") << list << QByteArray("42") << 0;
    QTest::newRow("an object") << list << goodEntry << 0;
    QTest::newRow("entry lacks notes") << list << QByteArray("[" + goodEntry + "]").replace(R"("notes":"",)", "") << 0;
    QTest::newRow("a newer version's key")
        << list << QByteArray("[" + goodEntry + "]").replace("}", R"(,"tags":[]})") << 1;
    // A hand edit that QSettings reads as a list: the original text exists only in the settings file.
    QTest::newRow("settings value is a list")
        << settings << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=[{\"id\": 1}, {\"id\": 2}]\n") << 0;
    QTest::newRow("settings value is a number")
        << settings << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=42\n") << 0;
    QTest::newRow("settings value with a broken escape")
        << settings
        << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=\"@ByteArray([{\\\"id\\\":\\\"x\")\"\n") << 0;
}

void TestCommandStore::unreadableIsCopiedByteForByteBeforeAnySave()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, data);
    QFETCH(int, loaded);
    put(m_dir->filePath(file), data);
    // What a settings value held, as the first version read it; the copy must hold at least that.
    const QByteArray value = file == QLatin1String("settings.conf")
                                 ? QSettings(settingsFile(), QSettings::IniFormat)
                                       .value(QLatin1String(SettingsStorage::savedCommands.legacyKey))
                                       .toByteArray()
                                 : data;

    SettingsStorage storage(settingsFile());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
    CommandStore store(storage);
    QCOMPARE(store.commands().size(), loaded);
    QCOMPARE(store.loadError().isEmpty(), loaded > 0);
    const QString backup = store.backupFileName();
    QVERIFY2(!backup.isEmpty(), "copied at start, before any save");
    QCOMPARE(QFileInfo(backup).absolutePath(), m_dir->path());
    QVERIFY(QFileInfo(backup).fileName().contains(QLatin1String(".unreadable-")));
    const QByteArray copy = fileContents(backup);
    QVERIFY(copy == data || copy == value);
    QVERIFY(copy.contains(value));

    const SavedCommand added = makeCommand(QStringLiteral("new"));
    store.add(added);
    QVERIFY(store.flush());
    QCOMPARE(fileContents(backup), copy);
    QVERIFY(SavedCommand::decodeList(fileContents(listFile()))->contains(added));
    QVERIFY(!QSettings(settingsFile(), QSettings::IniFormat)
                 .contains(QLatin1String(SettingsStorage::savedCommands.legacyKey)));

    // Another start over the same unreadable data makes no second copy.
    if (loaded == 0 && file == QLatin1String("saved-commands.json")) {
        put(listFile(), data);
        CommandStore again(storage);
        QCOMPARE(again.backupFileName(), backup);
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.unreadable-*")}).size(), 1);
    }
}

void TestCommandStore::failedCopyBlocksTheWriteAndLeavesNothing()
{
    const QByteArray bad = "not json";
    put(listFile(), bad);
    // No room for anything: neither the copy nor the list can be written.
    AtomicFile::setFaultsForTesting(
        AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 0); }, false});
    SettingsStorage storage(settingsFile());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
    CommandStore store(storage);
    QVERIFY(store.backupFileName().isEmpty());
    QSignalSpy failed(&store, &CommandStore::saveFailed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore save error: ")));
    store.add(makeCommand(QStringLiteral("new")));
    QVERIFY(!store.flush());
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), listFile());
    QCOMPARE(fileContents(listFile()), bad);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("saved-commands.json")});

    AtomicFile::setFaultsForTesting(std::nullopt);
    store.retrySave();
    QVERIFY(store.flush());
    QCOMPARE(fileContents(store.backupFileName()), bad);
    QCOMPARE(titles(*SavedCommand::decodeList(fileContents(listFile()))), QStringList{QStringLiteral("new")});
}

void TestCommandStore::failedWriteIsReportedKeptAndRetried()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QSignalSpy failed(&store, &CommandStore::saveFailed);
    QSignalSpy saved(&store, &CommandStore::saved);
    // A folder where the file should be: no process, root included, can write over it.
    QVERIFY(QDir().mkpath(listFile() + QStringLiteral("/x")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore save error: .+: .+")));
    store.add(makeCommand(QStringLiteral("kept")));
    QVERIFY(!store.flush());
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toString(), listFile());
    QVERIFY(!failed.first().at(1).toString().isEmpty());
    QVERIFY(!failed.first().at(1).toString().contains(QLatin1String("Unknown error")));
    QCOMPARE(store.saveError(), failed.first().at(1).toString());
    QCOMPARE(titles(store.commands()), QStringList{QStringLiteral("kept")});

    QVERIFY(QDir(listFile()).removeRecursively());
    store.retrySave();
    QVERIFY(store.flush());
    QCOMPARE(saved.size(), 1);
    QVERIFY(store.saveError().isEmpty());
    QCOMPARE(titles(*SavedCommand::decodeList(fileContents(listFile()))), QStringList{QStringLiteral("kept")});
}

void TestCommandStore::extremeDatesLoadAndRoundTrip()
{
    QList<SavedCommand> extremes;
    for (double createdAt : {1e308, -1e308, -0.0, 5e-324, 9.2e18, -9.3e18, 1e11, -1e11, 1e13, -1e13}) {
        SavedCommand c = makeCommand(QString::number(createdAt));
        c.createdAt = createdAt;
        extremes << c;
    }
    const QByteArray stored = SavedCommand::encodeList(extremes);
    put(listFile(), stored);
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QVERIFY(store.commands() == extremes);
    for (const SavedCommand &c : store.commands())
        QCOMPARE(c.createdAtDateTime().isValid(), std::abs(c.createdAt) < 1e12);
    store.update(store.commands().first());
    QVERIFY(store.flush());
    QCOMPARE(fileContents(listFile()), stored);
}

QTEST_GUILESS_MAIN(TestCommandStore)
#include "tst_commandstore.moc"
