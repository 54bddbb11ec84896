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
} // namespace

class TestCommandStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { AtomicFile::setFaultsForTesting(std::nullopt); }
    void firstStartIsEmptyAndSilent();
    void changesKeepTheOrderAndAreWritten();
    void unreadableIsCopiedByteForByteBeforeAnySave_data();
    void unreadableIsCopiedByteForByteBeforeAnySave();
    void failedCopyBlocksTheWriteAndLeavesNothing();
    void failedWriteIsReportedKeptAndRetried_data();
    void failedWriteIsReportedKeptAndRetried();

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

void TestCommandStore::changesKeepTheOrderAndAreWritten()
{
    // A list as a hand edit or an old bug may leave it: two records with one id.
    const SavedCommand first = makeCommand(QStringLiteral("first"));
    SavedCommand twin = first;
    twin.title = QStringLiteral("twin");
    QVERIFY(writeFile(listFile(), SavedCommand::encodeList({first, twin})));
    SettingsStorage storage(settingsFile());
    CommandStore store(storage);
    QSignalSpy changed(&store, &CommandStore::changed);

    // Newest first, in the order added.
    store.add(makeCommand(QStringLiteral("B")));
    store.add(makeCommand(QStringLiteral("A")));
    // An update replaces the first with the id, in place.
    SavedCommand edited = first;
    edited.title = QStringLiteral("edited");
    store.update(edited);
    QCOMPARE(titles(store.commands()),
             (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("edited"), QStringLiteral("twin")}));
    QCOMPARE(changed.size(), 3);
    QVERIFY(store.flush());
    // A restart reads the same list in the same order.
    QVERIFY(CommandStore(storage).commands() == store.commands());

    // An unknown id: an update neither changes nor writes; a removal writes all the same.
    QVERIFY(QFile::remove(listFile()));
    store.update(makeCommand(QStringLiteral("stranger")));
    QVERIFY(store.flush());
    QVERIFY(!QFile::exists(listFile()));
    QCOMPARE(changed.size(), 3);
    store.remove(QUuid::createUuid());
    QVERIFY(store.flush());
    QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));

    // A removal takes every record with the id.
    store.remove(first.id);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QVERIFY(store.flush());
    QCOMPARE(storedList(storage, SettingsStorage::savedCommands), SavedCommand::encodeList(store.commands()));
}

void TestCommandStore::unreadableIsCopiedByteForByteBeforeAnySave_data()
{
    QTest::addColumn<QString>("file");    // which file holds the data: the list's own, or the settings
    QTest::addColumn<QByteArray>("data"); // its whole content
    QTest::addColumn<int>("loaded");      // entries that still load
    const QString list = QStringLiteral("saved-commands.json");
    const QString settings = QStringLiteral("settings.conf");
    const SavedCommand c{QUuid::createUuid(), {}, DebugCategory::ping, {}, {}, 1};
    QTest::newRow("not JSON") << list << QByteArray("[{\"id\":") << 0;
    QTest::newRow("a newer version's key") << list << SavedCommand::encodeList({c}).replace("}", R"(,"tags":[]})") << 1;
    // A hand edit that QSettings reads as a list: the original text exists only in the settings file.
    QTest::newRow("settings value is a list")
        << settings << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=[{\"id\": 1}, {\"id\": 2}]\n") << 0;
    QTest::newRow("settings value is a number")
        << settings << QByteArray("[General]\nBrindlecapBuilder.SavedCommands.v1=42\n") << 0;
}

void TestCommandStore::unreadableIsCopiedByteForByteBeforeAnySave()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, data);
    QFETCH(int, loaded);
    QVERIFY(writeFile(m_dir->filePath(file), data));
    // What a settings value held, as the first version read it; the copy must hold at least that.
    const QString legacyKey = QLatin1String(SettingsStorage::savedCommands.legacyKey);
    const QByteArray value = file == QLatin1String("settings.conf")
                                 ? QSettings(settingsFile(), QSettings::IniFormat).value(legacyKey).toByteArray()
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
    QVERIFY(!QSettings(settingsFile(), QSettings::IniFormat).contains(legacyKey));

    // Another start over the same unreadable data makes no second copy.
    if (loaded == 0 && file == QLatin1String("saved-commands.json")) {
        QVERIFY(writeFile(listFile(), data));
        CommandStore again(storage);
        QCOMPARE(again.backupFileName(), backup);
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.unreadable-*")}).size(), 1);
    }
}

void TestCommandStore::failedCopyBlocksTheWriteAndLeavesNothing()
{
    const QByteArray bad = "not json";
    QVERIFY(writeFile(listFile(), bad));
    // No room for anything: neither the copy nor the list can be written.
    AtomicFile::setFaultsForTesting(
        AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 0); }, false});
    SettingsStorage storage(settingsFile());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore load error: ")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^could not copy .* aside")));
    CommandStore store(storage);
    QVERIFY(store.backupFileName().isEmpty());
    QSignalSpy failed(&store, &CommandStore::saveFailed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore save error: ")));
    store.add(makeCommand(QStringLiteral("new")));
    QVERIFY(!store.flush());
    QCOMPARE(failed.size(), 1);
    QCOMPARE(fileContents(listFile()), bad);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("saved-commands.json")});

    AtomicFile::setFaultsForTesting(std::nullopt);
    store.retrySave();
    QVERIFY(store.flush());
    QCOMPARE(fileContents(store.backupFileName()), bad);
    QCOMPARE(titles(*SavedCommand::decodeList(fileContents(listFile()))), QStringList{QStringLiteral("new")});
}

void TestCommandStore::failedWriteIsReportedKeptAndRetried_data()
{
    // Either stops any process, root included.
    QTest::addColumn<bool>("folder");
    QTest::newRow("a folder where the file should be") << true;
    QTest::newRow("a file where the settings folder should be") << false;
}

void TestCommandStore::failedWriteIsReportedKeptAndRetried()
{
    QFETCH(bool, folder);
    const QString blocked = m_dir->filePath(folder ? QStringLiteral("sub/saved-commands.json") : QStringLiteral("sub"));
    QVERIFY(folder ? QDir().mkpath(blocked) : writeFile(blocked, {}));
    SettingsStorage storage(m_dir->filePath(QStringLiteral("sub/settings.conf")));
    CommandStore store(storage);
    QSignalSpy failed(&store, &CommandStore::saveFailed);
    QSignalSpy saved(&store, &CommandStore::saved);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore save error: .+: .+")));
    store.add(makeCommand(QStringLiteral("kept")));
    QVERIFY(!store.flush());
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toString(), store.fileName());
    QVERIFY(!failed.first().at(1).toString().contains(QLatin1String("Unknown error")));
    QCOMPARE(store.saveError(), failed.first().at(1).toString());
    QCOMPARE(titles(store.commands()), QStringList{QStringLiteral("kept")});

    QVERIFY(folder ? QDir(blocked).removeRecursively() : QFile::remove(blocked));
    store.retrySave();
    QVERIFY(store.flush());
    QCOMPARE(saved.size(), 1);
    QVERIFY(store.saveError().isEmpty());
    QCOMPARE(titles(*SavedCommand::decodeList(fileContents(store.fileName()))), QStringList{QStringLiteral("kept")});
}

QTEST_GUILESS_MAIN(TestCommandStore)
#include "tst_commandstore.moc"
