#include "builders/systemtopform.h"

#include <QTest>

using Variant = SystemTopForm::Variant;

class TestSystemTopForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
    void variantTable();
};

namespace {

SystemTopForm topOnly(Variant variant, const QString &delay, const QString &maxLines)
{
    SystemTopForm f;
    f.addPerfStatus = false;
    f.variant = variant;
    f.delay = delay;
    f.maxLines = maxLines;
    return f;
}

} // namespace

void TestSystemTopForm::generatedCommand_data()
{
    QTest::addColumn<SystemTopForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << SystemTopForm{}
                              << QStringList{QStringLiteral("get system performance status"), QString(),
                                             QStringLiteral("diagnose sys top")};

    SystemTopForm worked;
    worked.delay = QStringLiteral("10");
    worked.maxLines = QStringLiteral(" 30 ");
    worked.addConserveMode = true;
    QTest::newRow("worked example") << worked
                                    << QStringList{QStringLiteral("get system performance status"),
                                                   QStringLiteral("diagnose hardware sysinfo conserve"), QString(),
                                                   QStringLiteral("diagnose sys top 10 30")};

    QTest::newRow("no companions: top line alone")
        << topOnly(Variant::top, {}, {}) << QStringList{QStringLiteral("diagnose sys top")};
    QTest::newRow("summary: line limit after default delay")
        << topOnly(Variant::topSummary, {}, QStringLiteral("50"))
        << QStringList{QStringLiteral("diagnose sys top-summary 5 50")};
    QTest::newRow("top: delay alone") << topOnly(Variant::top, QStringLiteral("3"), {})
                                      << QStringList{QStringLiteral("diagnose sys top 3")};
    QTest::newRow("mem: delay ignored") << topOnly(Variant::topMem, QStringLiteral("3"), QStringLiteral("10"))
                                        << QStringList{QStringLiteral("diagnose sys top-mem 10")};
    QTest::newRow("mem: delay ignored, no lines")
        << topOnly(Variant::topMem, QStringLiteral("3"), {}) << QStringList{QStringLiteral("diagnose sys top-mem")};
    QTest::newRow("mem: no default delay before lines")
        << topOnly(Variant::topMem, {}, QStringLiteral("7")) << QStringList{QStringLiteral("diagnose sys top-mem 7")};
    QTest::newRow("io: line limit after default delay")
        << topOnly(Variant::topIO, QStringLiteral(" \t"), QStringLiteral("15"))
        << QStringList{QStringLiteral("diagnose sys top-io 5 15")};
    QTest::newRow("io: delay and lines") << topOnly(Variant::topIO, QStringLiteral("2"), QStringLiteral("8"))
                                         << QStringList{QStringLiteral("diagnose sys top-io 2 8")};
    QTest::newRow("blank spaces and tabs") << topOnly(Variant::top, QStringLiteral(" \t "), QStringLiteral("\t\t"))
                                           << QStringList{QStringLiteral("diagnose sys top")};
    QTest::newRow("Unicode spaces are blank")
        << topOnly(Variant::topSummary, QStringLiteral("\u00A0"), QStringLiteral("\u3000\u2003"))
        << QStringList{QStringLiteral("diagnose sys top-summary")};
    QTest::newRow("Unicode spaces trimmed")
        << topOnly(Variant::top, QStringLiteral("\u3000 4\u00A0"), QStringLiteral("\t12\u3000"))
        << QStringList{QStringLiteral("diagnose sys top 4 12")};
    QTest::newRow("inner space kept, not checked")
        << topOnly(Variant::top, QStringLiteral(" a b "), {}) << QStringList{QStringLiteral("diagnose sys top a b")};
    // A line break is not white space: it survives trimming and is emitted.
    QTest::newRow("line break kept") << topOnly(Variant::top, QStringLiteral(" \n "), {})
                                     << QStringList{QStringLiteral("diagnose sys top \n")};

    SystemTopForm all;
    all.addPerfTop = true;
    all.addSysinfoMem = true;
    all.addSysinfoCPU = true;
    all.addSysinfoInterrupts = true;
    all.addSysinfoShm = true;
    all.addConserveMode = true;
    all.variant = Variant::topMem;
    QTest::newRow("every companion, in order") << all
                                               << QStringList{QStringLiteral("get system performance status"),
                                                              QStringLiteral("get system performance top"),
                                                              QStringLiteral("diagnose hardware sysinfo memory"),
                                                              QStringLiteral("diagnose hardware sysinfo cpu"),
                                                              QStringLiteral("diagnose hardware sysinfo interrupts"),
                                                              QStringLiteral("diagnose hardware sysinfo shm"),
                                                              QStringLiteral("diagnose hardware sysinfo conserve"),
                                                              QString(),
                                                              QStringLiteral("diagnose sys top-mem")};

    SystemTopForm oneCompanion = topOnly(Variant::topSummary, QStringLiteral("1"), {});
    oneCompanion.addSysinfoShm = true;
    QTest::newRow("one companion other than the default")
        << oneCompanion
        << QStringList{QStringLiteral("diagnose hardware sysinfo shm"), QString(),
                       QStringLiteral("diagnose sys top-summary 1")};
}

void TestSystemTopForm::generatedCommand()
{
    QFETCH(SystemTopForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
    QCOMPARE(form.title(), QStringLiteral("System Performance"));
}

void TestSystemTopForm::variantTable()
{
    QCOMPARE(Enum::rawValues<Variant>(),
             (QStringList{QStringLiteral("diagnose sys top"), QStringLiteral("diagnose sys top-summary"),
                          QStringLiteral("diagnose sys top-mem"), QStringLiteral("diagnose sys top-io")}));
    QCOMPARE(Enum::caseNames<Variant>(), (QStringList{QStringLiteral("top"), QStringLiteral("topSummary"),
                                                      QStringLiteral("topMem"), QStringLiteral("topIO")}));
    QVERIFY(Enum::fromRawValue<Variant>(u"diagnose sys top-io") == Variant::topIO);
    QVERIFY(!Enum::fromRawValue<Variant>(u"diagnose sys top-IO"));
    QVERIFY(!Enum::fromRawValue<Variant>(u"top"));
    QVERIFY(!Enum::payload(Variant::topMem).usesDelay);
    QVERIFY(Enum::payload(Variant::topSummary).usesDelay);
    QCOMPARE(
        Enum::detail::fromUtf8(Enum::payload(Variant::topSummary).description),
        QStringLiteral("Refreshing summary \u2014 like `top` but also shows total process count grouped by state."));
    QCOMPARE(Enum::detail::fromUtf8(Enum::payload(Variant::top).description),
             QStringLiteral("Interactive top of running processes. Press `p` (sort by CPU), `m` (memory), `q` (quit) "
                            "while running."));
}

QTEST_GUILESS_MAIN(TestSystemTopForm)
#include "tst_systemtopform.moc"
