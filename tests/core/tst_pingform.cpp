#include "builders/pingform.h"

#include <QTest>

class TestPingForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void title_data();
    void title();
};

void TestPingForm::generatedCommand_data()
{
    QTest::addColumn<PingForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << PingForm{} << QStringList{QStringLiteral("exec ping-options view-settings")};

    PingForm empty;
    empty.viewSettings = false;
    QTest::newRow("view-settings off is empty") << empty << QStringList{};

    PingForm worked;
    worked.target = QStringLiteral("8.8.8.8");
    worked.source = QStringLiteral("10.0.0.1");
    worked.repeatCount = QStringLiteral("10");
    worked.dfBit = true;
    QTest::newRow("worked example") << worked
                                    << QStringList{QStringLiteral("exec ping-options source 10.0.0.1"),
                                                   QStringLiteral("exec ping-options repeat-count 10"),
                                                   QStringLiteral("exec ping-options df-bit yes"),
                                                   QStringLiteral("exec ping-options view-settings"),
                                                   QStringLiteral("exec ping 8.8.8.8")};

    PingForm spacesTarget;
    spacesTarget.target = QStringLiteral("   ");
    QTest::newRow("blank destination: no ping line")
        << spacesTarget << QStringList{QStringLiteral("exec ping-options view-settings")};

    PingForm timeout = empty;
    timeout.timeout = QStringLiteral(" 3");
    QTest::newRow("value kept as typed") << timeout << QStringList{QStringLiteral("exec ping-options timeout  3")};

    PingForm many = empty;
    many.repeatCount = QStringLiteral("many");
    QTest::newRow("values not checked") << many << QStringList{QStringLiteral("exec ping-options repeat-count many")};

    PingForm all;
    all.target = QStringLiteral("host.example");
    all.source = QStringLiteral("10.0.0.1");
    all.interface = QStringLiteral("port1");
    all.repeatCount = QStringLiteral("5");
    all.timeout = QStringLiteral("2");
    all.dataSize = QStringLiteral("1400");
    all.tos = QStringLiteral("46");
    all.pattern = QStringLiteral("ff");
    all.dfBit = true;
    all.adaptive = true;
    all.validateReply = true;
    QTest::newRow("everything, in line order")
        << all << QStringList{QStringLiteral("exec ping-options source 10.0.0.1"),
                              QStringLiteral("exec ping-options interface port1"),
                              QStringLiteral("exec ping-options repeat-count 5"),
                              QStringLiteral("exec ping-options timeout 2"),
                              QStringLiteral("exec ping-options data-size 1400"),
                              QStringLiteral("exec ping-options tos 46"),
                              QStringLiteral("exec ping-options pattern ff"),
                              QStringLiteral("exec ping-options df-bit yes"),
                              QStringLiteral("exec ping-options adaptive-ping yes"),
                              QStringLiteral("exec ping-options validate-reply yes"),
                              QStringLiteral("exec ping-options view-settings"),
                              QStringLiteral("exec ping host.example")};

    PingForm targetOnly = empty;
    targetOnly.target = QStringLiteral("\u00A08.8.8.8\u3000");
    QTest::newRow("target alone, Unicode spaces kept")
        << targetOnly << QStringList{QStringLiteral("exec ping \u00A08.8.8.8\u3000")};

    PingForm flags = empty;
    flags.validateReply = true;
    flags.adaptive = true;
    flags.pattern = QStringLiteral("\tab");
    flags.tos = QStringLiteral("\u3000\u00A0\t");
    QTest::newRow("pattern before flags, blank tos dropped")
        << flags
        << QStringList{QStringLiteral("exec ping-options pattern \tab"),
                       QStringLiteral("exec ping-options adaptive-ping yes"),
                       QStringLiteral("exec ping-options validate-reply yes")};

    PingForm lineBreak = empty;
    lineBreak.interface = QStringLiteral("\n");
    QTest::newRow("a line break is not blank")
        << lineBreak << QStringList{QStringLiteral("exec ping-options interface \n")};
}

void TestPingForm::generatedCommand()
{
    QFETCH(PingForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
}

void TestPingForm::title_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QStringLiteral("Ping to target");
    QTest::newRow("address") << QStringLiteral("8.8.8.8") << QStringLiteral("Ping to 8.8.8.8");
    // The title tests the raw value: spaces alone still name the destination.
    QTest::newRow("spaces") << QStringLiteral("  ") << QStringLiteral("Ping to   ");
    QTest::newRow("as typed") << QStringLiteral(" host\t") << QStringLiteral("Ping to  host\t");
}

void TestPingForm::title()
{
    QFETCH(QString, target);
    QFETCH(QString, expected);
    PingForm form;
    form.target = target;
    QCOMPARE(form.title(), expected);
}

QTEST_GUILESS_MAIN(TestPingForm)
#include "tst_pingform.moc"
