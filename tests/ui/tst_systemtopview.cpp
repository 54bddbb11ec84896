#include "builders/systemtopview.h"
#include "builderviewfixture.h"

class TestSystemTopView : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_f.open()); }
    void cleanup() { m_f.close(); }
    void layout_data();
    void layout();
    void headerAndBoxes();
    void typingShowsTheRule();
    void descriptionFollowsTheVariantAsTyped_data();
    void descriptionFollowsTheVariantAsTyped();
    void delayDisabledForTopMemKeepsItsValue();
    void interactiveKeysAreTheSameForEveryVariant();

private:
    BuilderViewFixture<SystemTopView> m_f;
};

void TestSystemTopView::layout_data()
{
    LayoutTable::columns();
    LayoutTable::row("variant", "Variant",
                     "diagnose sys top|diagnose sys top-summary|diagnose sys top-mem|diagnose sys top-io",
                     "formDescription");
    LayoutTable::row("delay", "Refresh delay (s):", "default 5", "variantDescription");
    LayoutTable::row("maxLines", "Max lines:", "default 20", "delay");
    LayoutTable::row("addPerfStatus", "`get system performance status` \u2014 CPU, memory, sessions overview", "",
                     "newerKeys");
    LayoutTable::row("addPerfTop", "`get system performance top` \u2014 one-shot top", "", "addPerfStatus");
    LayoutTable::row("addSysinfoMem", "`diagnose hardware sysinfo memory` \u2014 memory breakdown", "", "addPerfTop");
    LayoutTable::row("addSysinfoCPU", "`diagnose hardware sysinfo cpu` \u2014 per-CPU info", "", "addSysinfoMem");
    LayoutTable::row("addSysinfoInterrupts", "`diagnose hardware sysinfo interrupts` \u2014 IRQ stats", "",
                     "addSysinfoCPU");
    LayoutTable::row("addSysinfoShm", "`diagnose hardware sysinfo shm` \u2014 shared memory usage", "",
                     "addSysinfoInterrupts");
    LayoutTable::row("addConserveMode", "`diagnose hardware sysinfo conserve` \u2014 conserve-mode thresholds", "",
                     "addSysinfoShm");
}

void TestSystemTopView::layout()
{
    m_f.checkLayoutRow();
}

void TestSystemTopView::headerAndBoxes()
{
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formTitle"))->text(), QStringLiteral("System Top / Performance"));
    QVERIFY(m_f.field<QLabel>(QStringLiteral("formTitle"))->font().bold());
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formDescription"))->text(),
             QStringLiteral("Inspect CPU, memory, and I/O usage on the FortiGate."));
    QCOMPARE(m_f.groupTitles(),
             (QStringList{QStringLiteral("Generated Command"), QStringLiteral("Variant"), QStringLiteral("Options"),
                          QStringLiteral("Interactive Keys (while running)"), QStringLiteral("Companion Commands")}));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("System Performance"));
    QCOMPARE(m_f.panelText(), QStringLiteral("get system performance status\n\ndiagnose sys top"));
    // 200 points wide, next to their labels however wide the form is.
    m_f.checkBesideLabel(QStringLiteral("delay"), 200);
    m_f.checkBesideLabel(QStringLiteral("maxLines"), 200);
}

void TestSystemTopView::typingShowsTheRule()
{
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("delay")), QStringLiteral("10"));
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("maxLines")), QStringLiteral(" 30 "));
    m_f.click(QStringLiteral("addConserveMode"));
    QCOMPARE(m_f.panelText(), QStringLiteral("get system performance status\ndiagnose hardware sysinfo conserve\n\n"
                                             "diagnose sys top 10 30"));

    // The delay the placeholder names stands in front of a lone line limit.
    m_f.field<QLineEdit>(QStringLiteral("delay"))->clear();
    m_f.click(QStringLiteral("addPerfStatus"));
    m_f.click(QStringLiteral("addConserveMode"));
    m_f.choose(QStringLiteral("variant"), QStringLiteral("diagnose sys top-summary"));
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose sys top-summary 5 30"));
}

void TestSystemTopView::descriptionFollowsTheVariantAsTyped_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("description");
    QTest::newRow("top") << "diagnose sys top"
                         << "Interactive top of running processes. Press `p` (sort by CPU), `m` (memory), `q` (quit) "
                            "while running.";
    QTest::newRow("topSummary") << "diagnose sys top-summary"
                                << "Refreshing summary \u2014 like `top` but also shows total process count grouped by "
                                   "state.";
    QTest::newRow("topMem") << "diagnose sys top-mem"
                            << "Snapshot sorted by memory usage. Useful for diagnosing memory leaks.";
    QTest::newRow("topIO") << "diagnose sys top-io"
                           << "Sorted by I/O usage (disk / flash). Available on FortiOS versions with I/O accounting.";
}

void TestSystemTopView::descriptionFollowsTheVariantAsTyped()
{
    QFETCH(QString, variant);
    QFETCH(QString, description);
    auto *shown = m_f.field<QLabel>(QStringLiteral("variantDescription"));
    // From another variant, so the text has to change to pass.
    m_f.choose(QStringLiteral("variant"), variant == QStringLiteral("diagnose sys top-io")
                                              ? QStringLiteral("diagnose sys top")
                                              : QStringLiteral("diagnose sys top-io"));
    m_f.choose(QStringLiteral("variant"), variant);
    QCOMPARE(m_f.field<SegmentedPicker>(QStringLiteral("variant"))
                 ->button(m_f.field<SegmentedPicker>(QStringLiteral("variant"))->currentIndex())
                 ->text(),
             variant);
    // Plain text: the back-quotes are shown, not turned into code.
    QCOMPARE(shown->textFormat(), Qt::PlainText);
    QCOMPARE(shown->text(), description);
    QVERIFY(m_f.y(m_f.field<QWidget>(QStringLiteral("variant"))) < m_f.y(shown));
    QCOMPARE(m_f.panelText().section(u'\n', -1), variant);
}

void TestSystemTopView::delayDisabledForTopMemKeepsItsValue()
{
    auto *delay = m_f.field<QLineEdit>(QStringLiteral("delay"));
    QTest::keyClicks(delay, QStringLiteral("3"));
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("maxLines")), QStringLiteral("10"));
    m_f.click(QStringLiteral("addPerfStatus"));
    QVERIFY(delay->isEnabled());
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose sys top 3 10"));

    m_f.choose(QStringLiteral("variant"), QStringLiteral("diagnose sys top-mem"));
    QVERIFY(!delay->isEnabled());
    QCOMPARE(delay->text(), QStringLiteral("3"));
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose sys top-mem 10"));
    // A disabled field takes no typing.
    QTest::keyClicks(delay, QStringLiteral("9"));
    QCOMPARE(delay->text(), QStringLiteral("3"));

    m_f.choose(QStringLiteral("variant"), QStringLiteral("diagnose sys top-io"));
    QVERIFY(delay->isEnabled());
    QCOMPARE(m_f.panelText(), QStringLiteral("diagnose sys top-io 3 10"));
}

void TestSystemTopView::interactiveKeysAreTheSameForEveryVariant()
{
    auto *running = m_f.field<QLabel>(QStringLiteral("runningKeys"));
    auto *newer = m_f.field<QLabel>(QStringLiteral("newerKeys"));
    const QString runningText = running->text();
    QCOMPARE(m_f.fromInlineCode(runningText),
             QStringLiteral("`p` \u2014 sort by CPU  \u00b7  `m` \u2014 sort by memory  \u00b7  `q` \u2014 quit"));
    // Two spaces each side of the dots on screen too, not collapsed to one.
    QCOMPARE(m_f.rendered(running),
             QStringLiteral("p \u2014 sort by CPU  \u00b7  m \u2014 sort by memory  \u00b7  q \u2014 quit"));
    QVERIFY(runningText.contains(QStringLiteral(">p</code>")));
    QCOMPARE(m_f.fromInlineCode(newer->text()),
             QStringLiteral("(Newer FortiOS also supports `i` for I/O and `s` to change sample rate.)"));
    QVERIFY(m_f.y(running) < m_f.y(newer));
    for (const QString &variant : {QStringLiteral("diagnose sys top-summary"), QStringLiteral("diagnose sys top-mem"),
                                   QStringLiteral("diagnose sys top-io")}) {
        m_f.choose(QStringLiteral("variant"), variant);
        QCOMPARE(running->text(), runningText);
        QVERIFY(running->isVisible() && newer->isVisible());
    }
}

QTEST_MAIN(TestSystemTopView)
#include "tst_systemtopview.moc"
