#include "model/interfacestore.h"
#include "model/settingsstorage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestInterfaceStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingValueLeavesTheListEmpty();
    void creationReadsNothingUntilLoad();
    void addSortsAndRoundTrips();
    void unreadableValueIsCopiedAside_data();
    void unreadableValueIsCopiedAside();
    void blankAndDuplicateNamesAreRefused_data();
    void blankAndDuplicateNamesAreRefused();
    void canonicallyEquivalentNamesAreOne();
    void sortsByScalarValue();
    void storedOrderAndDuplicatesKeptUntilAdd();
    void removeDeletesEveryCopyAndAlwaysSaves();
    void failedWriteIsReported();

private:
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    QString listFile() const { return m_dir->filePath(QStringLiteral("custom-interfaces.json")); }
    QByteArray stored() const
    {
        QFile file(listFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeStored(const QByteArray &data) const
    {
        QFile file(listFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(data), data.size());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestInterfaceStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestInterfaceStore::missingValueLeavesTheListEmpty()
{
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    QSignalSpy changed(&store, &InterfaceStore::changed);
    store.load();
    QVERIFY(store.interfaces().isEmpty());
    QCOMPARE(changed.size(), 0);
    QVERIFY(QDir(m_dir->path()).isEmpty()); // loading writes nothing
}

void TestInterfaceStore::creationReadsNothingUntilLoad()
{
    writeStored(R"(["port1"])");
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    QVERIFY(store.interfaces().isEmpty());
    QSignalSpy changed(&store, &InterfaceStore::changed);
    store.load();
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("port1")});
    QCOMPARE(changed.size(), 1);
    store.load(); // the same list again is no change
    QCOMPARE(changed.size(), 1);
}

void TestInterfaceStore::addSortsAndRoundTrips()
{
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    QSignalSpy changed(&store, &InterfaceStore::changed);
    QVERIFY(store.add(QStringLiteral("wan3")));
    QVERIFY(store.add(QStringLiteral("Lab")));
    QVERIFY(store.add(QStringLiteral(" dmz\t")));
    QVERIFY(store.add(QStringLiteral("\u3000vlan100\u00A0")));
    QCOMPARE(changed.size(), 4);
    const QStringList expected{QStringLiteral("Lab"), QStringLiteral("dmz"), QStringLiteral("vlan100"),
                               QStringLiteral("wan3")};
    QCOMPARE(store.interfaces(), expected);
    QCOMPARE(stored(), QByteArray(R"(["Lab","dmz","vlan100","wan3"])"));

    SettingsStorage reopened(settingsFile());
    InterfaceStore again(reopened);
    again.load();
    QCOMPARE(again.interfaces(), expected);
}

void TestInterfaceStore::unreadableValueIsCopiedAside_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("not JSON") << QByteArray("port1,port2");
    QTest::newRow("empty value") << QByteArray();
    QTest::newRow("an object") << QByteArray(R"({"interfaces":["port1"]})");
    QTest::newRow("a string") << QByteArray(R"("port1")");
    QTest::newRow("a number in the array") << QByteArray(R"(["port1",2])");
    QTest::newRow("null in the array") << QByteArray(R"(["port1",null])");
    QTest::newRow("truncated") << QByteArray(R"(["port1","po)");
}

void TestInterfaceStore::unreadableValueIsCopiedAside()
{
    QFETCH(QByteArray, data);
    writeStored(data);
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    QSignalSpy changed(&store, &InterfaceStore::changed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^InterfaceStore load error: ")));
    store.load();
    QVERIFY(store.interfaces().isEmpty());
    QCOMPARE(changed.size(), 0);
    QVERIFY(!store.loadError().isEmpty());
    QCOMPARE(stored(), data); // left in place until the next change

    QVERIFY(store.add(QStringLiteral("port9")));
    QCOMPARE(stored(), QByteArray(R"(["port9"])"));
    QFile copy(store.backupFileName());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), data);
}

void TestInterfaceStore::blankAndDuplicateNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
    QTest::newRow("tab and Unicode spaces") << QStringLiteral("\t\u00A0\u2003\u3000");
    QTest::newRow("already saved") << QStringLiteral("port1");
    QTest::newRow("already saved, padded") << QStringLiteral(" port1\t");
}

void TestInterfaceStore::blankAndDuplicateNamesAreRefused()
{
    QFETCH(QString, name);
    writeStored(R"(["port1"])");
    const QByteArray before = stored();
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    store.load();
    QSignalSpy changed(&store, &InterfaceStore::changed);
    QVERIFY(!store.add(name));
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("port1")});
    QCOMPARE(changed.size(), 0);
    QCOMPARE(stored(), before);
}

void TestInterfaceStore::canonicallyEquivalentNamesAreOne()
{
    const QString composed = QStringLiteral("caf\u00E9");    // é as one code point (NFC)
    const QString decomposed = QStringLiteral("cafe\u0301"); // e + combining acute (NFD)
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);

    QVERIFY(store.add(decomposed));
    QVERIFY(!store.add(composed));
    QVERIFY(!store.add(QStringLiteral(" ") + composed));
    // The name is kept exactly as the user typed it.
    QCOMPARE(store.interfaces(), QStringList{decomposed});
    QCOMPARE(stored(), QByteArray("[\"cafe\xCC\x81\"]"));

    // Case still matters.
    QVERIFY(store.add(QStringLiteral("CAF\u00C9")));
    QCOMPARE(store.interfaces().size(), 2);

    store.remove(composed);
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("CAF\u00C9")});
}

void TestInterfaceStore::sortsByScalarValue()
{
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    const QString grin = QStringLiteral("\U0001F600");   // outside the BMP: a surrogate pair, 0xD83D 0xDE00
    const QString fullwidthA = QStringLiteral("\uFF21"); // U+FF21, after 0xD83D as a UTF-16 unit
    // As typed, "cafe\u0301" sorts before "caff"; its canonical form "caf\u00E9" sorts after it.
    const QStringList names{grin,
                            QStringLiteral("port2"),
                            fullwidthA,
                            QStringLiteral("cafe\u0301"),
                            QStringLiteral("port10"),
                            QStringLiteral("caff"),
                            QStringLiteral("Port1")};
    for (const QString &name : names)
        QVERIFY(store.add(name));
    QCOMPARE(store.interfaces(),
             (QStringList{QStringLiteral("Port1"), QStringLiteral("caff"), QStringLiteral("cafe\u0301"),
                          QStringLiteral("port10"), QStringLiteral("port2"), fullwidthA, grin}));
}

void TestInterfaceStore::storedOrderAndDuplicatesKeptUntilAdd()
{
    writeStored(R"(["wan1","port2"," lab ","wan1"])");
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    store.load();
    QCOMPARE(store.interfaces(), (QStringList{QStringLiteral("wan1"), QStringLiteral("port2"), QStringLiteral(" lab "),
                                              QStringLiteral("wan1")}));

    QVERIFY(store.add(QStringLiteral("dmz")));
    QCOMPARE(store.interfaces(), (QStringList{QStringLiteral(" lab "), QStringLiteral("dmz"), QStringLiteral("port2"),
                                              QStringLiteral("wan1"), QStringLiteral("wan1")}));
    QCOMPARE(stored(), QByteArray(R"([" lab ","dmz","port2","wan1","wan1"])"));
}

void TestInterfaceStore::removeDeletesEveryCopyAndAlwaysSaves()
{
    writeStored(R"(["wan1","port2","wan1"])");
    SettingsStorage storage(settingsFile());
    InterfaceStore store(storage);
    store.load();
    QSignalSpy changed(&store, &InterfaceStore::changed);

    store.remove(QStringLiteral("wan1"));
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("port2")});
    QCOMPARE(stored(), QByteArray(R"(["port2"])"));
    QCOMPARE(changed.size(), 1);

    // Not trimmed: " port2" is another name. Nothing is removed, but the list is still written.
    QVERIFY(QFile::remove(listFile()));
    store.remove(QStringLiteral(" port2"));
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("port2")});
    QCOMPARE(stored(), QByteArray(R"(["port2"])"));
    QCOMPARE(changed.size(), 1);

    store.remove(QStringLiteral("port2"));
    QVERIFY(store.interfaces().isEmpty());
    QCOMPARE(stored(), QByteArray("[]"));
}

void TestInterfaceStore::failedWriteIsReported()
{
    // A settings file under a regular file can never be written, even by root.
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStorage storage(m_dir->filePath(QStringLiteral("blocker/settings.conf")));
    InterfaceStore store(storage);
    QSignalSpy failed(&store, &InterfaceStore::saveFailed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^InterfaceStore save error: .+: .+")));
    QVERIFY(store.add(QStringLiteral("kept")));
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("kept")});
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), store.fileName());
    QCOMPARE(store.saveError(), failed.first().at(1).toString());
}

QTEST_GUILESS_MAIN(TestInterfaceStore)
#include "tst_interfacestore.moc"
