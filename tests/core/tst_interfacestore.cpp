#include "model/interfacestore.h"
#include "model/settingsstorage.h"

#include "storedlist.h"

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
    void nothingIsReadUntilLoadAndLoadingWritesNothing();
    void addTrimsSortsAndPersists();
    void unreadableValueIsCopiedAside_data();
    void unreadableValueIsCopiedAside();
    void addRefusesBlankAndSameNames_data();
    void addRefusesBlankAndSameNames();
    void sortsByScalarValue();
    void storedListIsTakenAsItIs();

private:
    QByteArray stored() const { return storedList(*m_storage, SettingsStorage::customInterfaces); }
    void store(const QByteArray &data) const
    {
        QVERIFY(putStoredList(*m_storage, SettingsStorage::customInterfaces, data));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
};

void TestInterfaceStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestInterfaceStore::nothingIsReadUntilLoadAndLoadingWritesNothing()
{
    InterfaceStore empty(*m_storage);
    empty.load();
    QVERIFY(empty.interfaces().isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());

    store(R"(["port1"])");
    InterfaceStore store(*m_storage);
    QVERIFY(store.interfaces().isEmpty());
    QSignalSpy changed(&store, &InterfaceStore::changed);
    store.load();
    QCOMPARE(store.interfaces(), QStringList{QStringLiteral("port1")});
    store.load(); // the same list again is no change
    QCOMPARE(changed.size(), 1);
}

void TestInterfaceStore::addTrimsSortsAndPersists()
{
    InterfaceStore store(*m_storage);
    QSignalSpy changed(&store, &InterfaceStore::changed);
    for (const QString &name : {QStringLiteral("wan3"), QStringLiteral("Lab"), QStringLiteral(" dmz\t"),
                                QStringLiteral("\u3000vlan100\u00A0"), QStringLiteral("\uFEFFlab")})
        QVERIFY(store.add(name));
    QCOMPARE(changed.size(), 5);
    // A byte-order mark is no white space, and survives the next start.
    QCOMPARE(stored(), QByteArray("[\"Lab\",\"dmz\",\"vlan100\",\"wan3\",\"\xEF\xBB\xBFlab\"]"));

    InterfaceStore again(*m_storage);
    again.load();
    QCOMPARE(again.interfaces(), store.interfaces());
}

void TestInterfaceStore::unreadableValueIsCopiedAside_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("not JSON") << QByteArray("port1,port2");
    QTest::newRow("an object") << QByteArray(R"({"interfaces":["port1"]})");
    QTest::newRow("null in the array") << QByteArray(R"(["port1",null])");
}

void TestInterfaceStore::unreadableValueIsCopiedAside()
{
    QFETCH(QByteArray, data);
    store(data);
    InterfaceStore store(*m_storage);
    QSignalSpy changed(&store, &InterfaceStore::changed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^InterfaceStore load error: ")));
    store.load();
    QVERIFY(store.interfaces().isEmpty());
    QCOMPARE(changed.size(), 0);
    QVERIFY(!store.loadError().isEmpty());
    QCOMPARE(stored(), data); // left in place until the next change

    QVERIFY(store.add(QStringLiteral("port9")));
    QCOMPARE(stored(), QByteArray(R"(["port9"])"));
    QCOMPARE(fileContents(store.backupFileName()), data);
}

void TestInterfaceStore::addRefusesBlankAndSameNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("added");
    QTest::newRow("tab and Unicode spaces") << QStringLiteral("\t\u00A0\u2003\u3000") << false;
    QTest::newRow("already saved, padded") << QStringLiteral(" port1\t") << false;
    // Kept as typed, in its decomposed form: e + combining acute; é as one code point is the same name.
    QTest::newRow("canonically equivalent") << QStringLiteral("caf\u00E9") << false;
    QTest::newRow("case matters") << QStringLiteral("CAF\u00C9") << true;
}

void TestInterfaceStore::addRefusesBlankAndSameNames()
{
    QFETCH(QString, name);
    QFETCH(bool, added);
    store("[\"port1\",\"cafe\xCC\x81\"]");
    InterfaceStore store(*m_storage);
    store.load();
    QVERIFY(QFile::remove(store.fileName()));
    QSignalSpy changed(&store, &InterfaceStore::changed);
    QCOMPARE(store.add(name), added);
    QCOMPARE(store.interfaces().size(), 2 + added);
    QVERIFY(store.interfaces().contains(QStringLiteral("cafe\u0301"))); // as typed
    QCOMPARE(changed.size(), int(added));
    QCOMPARE(QFile::exists(store.fileName()), added); // nothing written for a refused name
}

void TestInterfaceStore::sortsByScalarValue()
{
    InterfaceStore store(*m_storage);
    const QString grin = QStringLiteral("\U0001F600");   // outside the BMP: a surrogate pair, 0xD83D 0xDE00
    const QString fullwidthA = QStringLiteral("\uFF21"); // U+FF21, after 0xD83D as a UTF-16 unit
    // As typed, "cafe\u0301" sorts before "caff"; its canonical form "caf\u00E9" sorts after it.
    const QStringList sorted{QStringLiteral("Port1"),
                             QStringLiteral("caff"),
                             QStringLiteral("cafe\u0301"),
                             QStringLiteral("port10"),
                             QStringLiteral("port2"),
                             fullwidthA,
                             grin};
    for (qsizetype i = sorted.size() - 1; i >= 0; --i) // in a scrambled order
        QVERIFY(store.add(sorted.at((i * 3) % sorted.size())));
    QCOMPARE(store.interfaces(), sorted);
}

void TestInterfaceStore::storedListIsTakenAsItIs()
{
    // Hand-edited: unsorted, untrimmed, a duplicate. Kept so until a change, which sorts stably.
    store(R"(["wan1","port2"," lab ","wan1"])");
    InterfaceStore store(*m_storage);
    store.load();
    QCOMPARE(store.interfaces(), (QStringList{QStringLiteral("wan1"), QStringLiteral("port2"), QStringLiteral(" lab "),
                                              QStringLiteral("wan1")}));
    QVERIFY(store.add(QStringLiteral("dmz")));
    QCOMPARE(stored(), QByteArray(R"([" lab ","dmz","port2","wan1","wan1"])"));

    // Removal takes every copy, untrimmed, and writes even when nothing matched.
    QSignalSpy changed(&store, &InterfaceStore::changed);
    store.remove(QStringLiteral("wan1"));
    QCOMPARE(stored(), QByteArray(R"([" lab ","dmz","port2"])"));
    QVERIFY(store.add(QStringLiteral("cafe\u0301")));
    store.remove(QStringLiteral("caf\u00E9")); // the same name, composed
    QVERIFY(QFile::remove(store.fileName()));
    store.remove(QStringLiteral("lab"));
    QCOMPARE(stored(), QByteArray(R"([" lab ","dmz","port2"])"));
    QCOMPARE(changed.size(), 3);
}

QTEST_GUILESS_MAIN(TestInterfaceStore)
#include "tst_interfacestore.moc"
