#include "model/debugcategory.h"

#include <QTest>

class TestDebugCategory : public QObject
{
    Q_OBJECT

private slots:
    void casesInSidebarOrder();
    void fromRawValue_data();
    void fromRawValue();
};

void TestDebugCategory::casesInSidebarOrder()
{
    const QStringList expected = {
        QStringLiteral("Sessions"),       QStringLiteral("Ping"),       QStringLiteral("Traceroute"),
        QStringLiteral("Sniffer"),        QStringLiteral("Debug Flow"), QStringLiteral("VPN"),
        QStringLiteral("System Top"),     QStringLiteral("HA"),         QStringLiteral("Routing"),
        QStringLiteral("Saved Commands"),
    };
    QCOMPARE(Enum::rawValues<DebugCategory>(), expected);
    QCOMPARE(Enum::allCases<DebugCategory>().first(), DebugCategory::session);
    QCOMPARE(Enum::allCases<DebugCategory>().last(), DebugCategory::saved);
    QCOMPARE(Category::subtitle(DebugCategory::traceroute),
             QStringLiteral("exec traceroute-options / exec traceroute"));
    QCOMPARE(Category::subtitle(DebugCategory::top), QStringLiteral("diagnose sys top / performance"));
    QCOMPARE(Category::icon(DebugCategory::routing), QStringLiteral("point.3.filled.connected.trianglepath.dotted"));
    QCOMPARE(Category::icon(DebugCategory::saved), QStringLiteral("bookmark"));
    QCOMPARE(Enum::caseName(DebugCategory::flow), QStringLiteral("flow"));
}

void TestDebugCategory::fromRawValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: no category

    QTest::newRow("Debug Flow") << QStringLiteral("Debug Flow") << int(DebugCategory::flow);
    QTest::newRow("Saved Commands") << QStringLiteral("Saved Commands") << int(DebugCategory::saved);
    QTest::newRow("HA") << QStringLiteral("HA") << int(DebugCategory::ha);
    QTest::newRow("lower case") << QStringLiteral("debug flow") << -1;
    QTest::newRow("second word only") << QStringLiteral("Flow") << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("trailing space") << QStringLiteral("Ping ") << -1;
    QTest::newRow("case name is not a raw value") << QStringLiteral("session") << -1;
}

void TestDebugCategory::fromRawValue()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto category = Category::fromRawValue(text);
    QCOMPARE(category.has_value(), expected >= 0);
    if (category)
        QCOMPARE(int(*category), expected);
}

QTEST_GUILESS_MAIN(TestDebugCategory)
#include "tst_debugcategory.moc"
