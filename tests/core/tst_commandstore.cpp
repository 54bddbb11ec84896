#include "model/commandstore.h"
#include "model/settingsstorage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString key = QString::fromLatin1(CommandStore::defaultKey);

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
    void firstStartIsEmptyAndSilent();
    void addPutsNewestFirstAndPersists();
    void updateKeepsPositionAndUnknownIdWritesNothing();
    void deleteRemovesEveryCopyAndAlwaysWrites();
    void duplicateIdsUpdateOnlyTheFirst();
    void unreadableValueIsLoggedAndBackedUp();
    void backupsAreNeverOverwritten();
    void failedWriteKeepsTheChangeInMemory();

private:
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    QByteArray stored() const { return SettingsStorage(settingsFile()).value(key).toByteArray(); }
    void writeStored(const QByteArray &data) const { QVERIFY(SettingsStorage(settingsFile()).setValue(key, data)); }

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
    CommandStore store(storage, key);
    QVERIFY(store.commands().isEmpty());
    QVERIFY(!QFile::exists(settingsFile())); // loading writes nothing
}

void TestCommandStore::addPutsNewestFirstAndPersists()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage, key);
    QSignalSpy changed(&store, &CommandStore::changed);
    const SavedCommand a = makeCommand(QStringLiteral("A"));
    const SavedCommand b = makeCommand(QStringLiteral("B"));
    store.add(a);
    store.add(b);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    QCOMPARE(stored(), SavedCommand::encodeList({b, a}));

    // A fresh store over the same file (a restart) reads the same list in the same order.
    SettingsStorage reopened(settingsFile());
    CommandStore again(reopened, key);
    QVERIFY(again.commands() == store.commands());
}

void TestCommandStore::updateKeepsPositionAndUnknownIdWritesNothing()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage, key);
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
    QCOMPARE(stored(), SavedCommand::encodeList(store.commands()));
    QCOMPARE(changed.size(), 1);

    // Remove the file: an update of an unknown id must not write it back.
    const QList<SavedCommand> before = store.commands();
    QVERIFY(QFile::remove(settingsFile()));
    store.update(makeCommand(QStringLiteral("stranger")));
    QVERIFY(store.commands() == before);
    QVERIFY(!QFile::exists(settingsFile()));
    QCOMPARE(changed.size(), 1);
}

void TestCommandStore::deleteRemovesEveryCopyAndAlwaysWrites()
{
    SettingsStorage storage(settingsFile());
    CommandStore store(storage, key);
    store.add(makeCommand(QStringLiteral("C")));
    store.add(makeCommand(QStringLiteral("B")));
    store.add(makeCommand(QStringLiteral("A")));

    store.remove(store.commands().at(1).id);
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    QCOMPARE(stored(), SavedCommand::encodeList(store.commands()));

    QVERIFY(QFile::remove(settingsFile()));
    QSignalSpy changed(&store, &CommandStore::changed);
    store.remove(QUuid::createUuid());
    QCOMPARE(titles(store.commands()), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    QVERIFY(QFile::exists(settingsFile()));
    QCOMPARE(stored(), SavedCommand::encodeList(store.commands()));
}

void TestCommandStore::duplicateIdsUpdateOnlyTheFirst()
{
    SavedCommand first = makeCommand(QStringLiteral("first"));
    SavedCommand twin = first;
    twin.title = QStringLiteral("twin");
    const SavedCommand other = makeCommand(QStringLiteral("other"));
    writeStored(SavedCommand::encodeList({first, other, twin}));

    SettingsStorage storage(settingsFile());
    CommandStore store(storage, key);
    QCOMPARE(store.commands().size(), 3);

    SavedCommand edited = first;
    edited.title = QStringLiteral("edited");
    store.update(edited);
    QCOMPARE(titles(store.commands()),
             (QStringList{QStringLiteral("edited"), QStringLiteral("other"), QStringLiteral("twin")}));

    store.remove(first.id);
    QCOMPARE(titles(store.commands()), QStringList{QStringLiteral("other")});
    QCOMPARE(stored(), SavedCommand::encodeList({other}));
}

void TestCommandStore::unreadableValueIsLoggedAndBackedUp()
{
    // One object lacks "notes": the whole array is unreadable.
    const QByteArray bad = R"([{"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","title":"T","category":"Ping",)"
                           R"("command":"c","createdAt":1}])";
    writeStored(bad);

    SettingsStorage storage(settingsFile());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore load error: .*notes")));
    CommandStore store(storage, key);
    QVERIFY(store.commands().isEmpty());
    QCOMPARE(stored(), bad); // left in place until the next change
    QVERIFY(store.backupFileName().isEmpty());

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("copied to")));
    const SavedCommand added = makeCommand(QStringLiteral("new"));
    store.add(added);
    QCOMPARE(stored(), SavedCommand::encodeList({added}));

    const QString backup = store.backupFileName();
    QVERIFY(!backup.isEmpty());
    QCOMPARE(QFileInfo(backup).absolutePath(), QFileInfo(settingsFile()).absolutePath());
    QVERIFY(QFileInfo(backup).fileName().startsWith(key + QStringLiteral(".unreadable-")));
    QFile file(backup);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bad);

    // Only the first write backs up: the value is readable from then on.
    store.add(makeCommand(QStringLiteral("newer")));
    QCOMPARE(QDir(m_dir->path()).entryList({key + QStringLiteral(".unreadable-*")}).size(), 1);
}

void TestCommandStore::backupsAreNeverOverwritten()
{
    QStringList backups;
    for (const QByteArray &bad : {QByteArray("not json"), QByteArray("{\"also\":\"not an array\"}")}) {
        writeStored(bad);
        SettingsStorage storage(settingsFile());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore load error: ")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("copied to")));
        CommandStore store(storage, key);
        store.remove(QUuid::createUuid());
        backups << store.backupFileName();
        QFile file(backups.last());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bad);
    }
    QVERIFY(backups.at(0) != backups.at(1));
    QFile first(backups.at(0));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("not json"));
}

void TestCommandStore::failedWriteKeepsTheChangeInMemory()
{
    // A settings file under a regular file can never be written, even by root.
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStorage storage(m_dir->filePath(QStringLiteral("blocker/settings.conf")));
    CommandStore store(storage, key);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^CommandStore save error: .+")));
    store.add(makeCommand(QStringLiteral("kept")));
    QCOMPARE(titles(store.commands()), QStringList{QStringLiteral("kept")});
}

QTEST_GUILESS_MAIN(TestCommandStore)
#include "tst_commandstore.moc"
