#include "model/savedcommandfilter.h"

#include <QTest>

class TestSavedCommandFilter : public QObject
{
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
};

namespace {
// Titles are unique so that a result reads as a list of titles, in list order.
QList<SavedCommand> commands()
{
    return {
        SavedCommand::create(QStringLiteral("Core BGP"), DebugCategory::routing,
                             QStringLiteral("get router info bgp summary"), QStringLiteral("check peer")),
        SavedCommand::create(QStringLiteral("Policy routes"), DebugCategory::session,
                             QStringLiteral("diagnose firewall proute list"), {}),
        SavedCommand::create(QStringLiteral("Branch tunnel"), DebugCategory::flow,
                             QStringLiteral("diagnose debug flow filter addr 10.0.0.1\ndiagnose debug enable"),
                             QStringLiteral("Opened for \u00c9COLE site")),
        SavedCommand::create(QStringLiteral("HQ uplink"), DebugCategory::ping, QStringLiteral("exec ping 8.8.8.8"),
                             QStringLiteral("first line\nsecond LINE")),
        SavedCommand::create(QStringLiteral("Kept"), DebugCategory::saved, QStringLiteral("x"), {}),
    };
}
} // namespace

void TestSavedCommandFilter::filter_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QStringList>("expected");

    const QStringList all{QStringLiteral("Core BGP"), QStringLiteral("Policy routes"), QStringLiteral("Branch tunnel"),
                          QStringLiteral("HQ uplink"), QStringLiteral("Kept")};
    QTest::newRow("empty shows all") << QString() << all;
    QTest::newRow("spaces only show all") << QStringLiteral("   ") << all;
    QTest::newRow("tab and no-break space show all") << QStringLiteral("\t\u00a0\u3000") << all;
    QTest::newRow("title, any case") << QStringLiteral("core bgp") << QStringList{QStringLiteral("Core BGP")};
    QTest::newRow("query trimmed") << QStringLiteral("\t bgp \u00a0") << QStringList{QStringLiteral("Core BGP")};
    QTest::newRow("command text") << QStringLiteral("proute") << QStringList{QStringLiteral("Policy routes")};
    QTest::newRow("notes") << QStringLiteral("CHECK PEER") << QStringList{QStringLiteral("Core BGP")};
    QTest::newRow("notes, second line") << QStringLiteral("second line") << QStringList{QStringLiteral("HQ uplink")};
    // Nothing of "Core BGP" but its category says "routing".
    QTest::newRow("category title") << QStringLiteral("ROUTING") << QStringList{QStringLiteral("Core BGP")};
    QTest::newRow("category title, two words")
        << QStringLiteral("debug fl") << QStringList{QStringLiteral("Branch tunnel")};
    QTest::newRow("saved category") << QStringLiteral("saved commands") << QStringList{QStringLiteral("Kept")};
    QTest::newRow("non-ASCII lower-cased")
        << QStringLiteral("\u00e9cole") << QStringList{QStringLiteral("Branch tunnel")};
    QTest::newRow("a line break is not trimmed") << QStringLiteral("bgp summary\n") << QStringList{};
    QTest::newRow("across a line break") << QStringLiteral("10.0.0.1\ndiagnose")
                                         << QStringList{QStringLiteral("Branch tunnel")};
    QTest::newRow("no match") << QStringLiteral("zzz") << QStringList{};
}

void TestSavedCommandFilter::filter()
{
    QFETCH(QString, searchText);
    QFETCH(QStringList, expected);
    const QString query = SavedCommandFilter::query(searchText);
    QStringList passed;
    for (const SavedCommand &c : commands()) {
        if (SavedCommandFilter::matches(c, query))
            passed << c.title;
    }
    QCOMPARE(passed, expected);
}

QTEST_GUILESS_MAIN(TestSavedCommandFilter)
#include "tst_savedcommandfilter.moc"
