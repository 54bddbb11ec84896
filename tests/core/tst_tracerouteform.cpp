#include "builders/tracerouteform.h"

#include <QTest>

class TestTracerouteForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void title_data();
    void title();
};

void TestTracerouteForm::generatedCommand_data()
{
    QTest::addColumn<TracerouteForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << TracerouteForm{}
                              << QStringList{QStringLiteral("exec traceroute-options view-settings")};

    TracerouteForm empty;
    empty.viewSettings = false;
    QTest::newRow("checkbox off is empty") << empty << QStringList{};

    TracerouteForm worked;
    worked.target = QStringLiteral("8.8.8.8");
    worked.device = QStringLiteral("wan1");
    worked.maxTTL = QStringLiteral("20");
    QTest::newRow("worked example") << worked
                                    << QStringList{QStringLiteral("exec traceroute-options device wan1"),
                                                   QStringLiteral("exec traceroute-options max-ttl 20"),
                                                   QStringLiteral("exec traceroute-options view-settings"),
                                                   QStringLiteral("exec traceroute 8.8.8.8")};

    TracerouteForm spacesTarget;
    spacesTarget.target = QStringLiteral(" \t ");
    QTest::newRow("blank destination: no traceroute line")
        << spacesTarget << QStringList{QStringLiteral("exec traceroute-options view-settings")};

    TracerouteForm queries = empty;
    queries.queries = QStringLiteral("2 ");
    QTest::newRow("value kept as typed") << queries
                                         << QStringList{QStringLiteral("exec traceroute-options queries 2 ")};

    TracerouteForm x = empty;
    x.minTTL = QStringLiteral("x");
    QTest::newRow("values not checked") << x << QStringList{QStringLiteral("exec traceroute-options min-ttl x")};

    TracerouteForm all;
    all.waitTime = QStringLiteral("5");
    all.maxTTL = QStringLiteral("30");
    all.minTTL = QStringLiteral("2");
    all.queries = QStringLiteral("1");
    all.device = QStringLiteral("port2");
    all.source = QStringLiteral("192.0.2.1");
    all.target = QStringLiteral("example.net");
    QTest::newRow("everything, in line order")
        << all << QStringList{QStringLiteral("exec traceroute-options source 192.0.2.1"),
                              QStringLiteral("exec traceroute-options device port2"),
                              QStringLiteral("exec traceroute-options queries 1"),
                              QStringLiteral("exec traceroute-options min-ttl 2"),
                              QStringLiteral("exec traceroute-options max-ttl 30"),
                              QStringLiteral("exec traceroute-options wait 5"),
                              QStringLiteral("exec traceroute-options view-settings"),
                              QStringLiteral("exec traceroute example.net")};

    TracerouteForm unicode = empty;
    unicode.source = QStringLiteral("\u00A0\u3000");
    unicode.waitTime = QStringLiteral("\u30003");
    unicode.target = QStringLiteral("h");
    QTest::newRow("Unicode-space source dropped, wait kept as typed")
        << unicode
        << QStringList{QStringLiteral("exec traceroute-options wait \u30003"), QStringLiteral("exec traceroute h")};
}

void TestTracerouteForm::generatedCommand()
{
    QFETCH(TracerouteForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
}

void TestTracerouteForm::title_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QStringLiteral("Traceroute to target");
    QTest::newRow("address") << QStringLiteral("8.8.8.8") << QStringLiteral("Traceroute to 8.8.8.8");
    QTest::newRow("spaces") << QStringLiteral("   ") << QStringLiteral("Traceroute to    ");
}

void TestTracerouteForm::title()
{
    QFETCH(QString, target);
    QFETCH(QString, expected);
    TracerouteForm form;
    form.target = target;
    QCOMPARE(form.title(), expected);
}

QTEST_GUILESS_MAIN(TestTracerouteForm)
#include "tst_tracerouteform.moc"
