#include "builders/haview.h"
#include "builderviewfixture.h"

#include <QFrame>

class TestHAView : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_f.open()); }
    void cleanup() { m_f.close(); }
    void layout_data();
    void layout();
    void headerAndBoxes();
    void actionsBox();
    void typingShowsTheRule();

private:
    BuilderViewFixture<HAView> m_f;
};

void TestHAView::layout_data()
{
    LayoutTable::columns();
    LayoutTable::row("showStatus", "HA status (`get system ha status`, `diagnose sys ha status`)", "",
                     "formDescription");
    LayoutTable::row("showChecksum", "Cluster checksum (`diagnose sys ha checksum cluster`)", "", "showStatus");
    LayoutTable::row("showNonSync", "Global / root config checksums", "", "showChecksum");
    LayoutTable::row("showDump", "Full HA dump (all vcluster / group / vcluster)", "", "showNonSync");
    LayoutTable::row("syncAll", "Force full sync (`execute ha synchronize all`)", "", "showDump");
    LayoutTable::row("resetUptime", "Reset HA uptime (may trigger failover)", "", "syncAll");
    LayoutTable::row("manageIndex", "Unit index:", "e.g. 1", "manageCaption");
    LayoutTable::row("manageAdmin", "Admin user:", "optional, e.g. admin", "manageIndex");
    LayoutTable::row("debugHatalk", "hatalk (HA heartbeat)", "", "manageAdmin");
    LayoutTable::row("debugHasync", "hasync (config sync)", "", "debugHatalk");
    LayoutTable::row("timestamps", "Enable console timestamps", "", "debugHasync");
    LayoutTable::row("includeStopBlock", "Append stop-debug block", "", "timestamps");
}

void TestHAView::layout()
{
    m_f.checkLayoutRow();
}

void TestHAView::headerAndBoxes()
{
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formTitle"))->text(), QStringLiteral("HA Troubleshooting"));
    QCOMPARE(m_f.field<QLabel>(QStringLiteral("formDescription"))->text(),
             QStringLiteral("Inspect and debug FortiGate High Availability clusters."));
    QCOMPARE(m_f.groupTitles(), (QStringList{QStringLiteral("Generated Command"), QStringLiteral("Status Commands"),
                                             QStringLiteral("Actions"), QStringLiteral("Live Debug")}));
    // Rows with inline code are as tall as those without, so the column is evenly spaced.
    const auto rowHeight = [this](const char *name) {
        return m_f.field<QCheckBox>(QString::fromLatin1(name))->parentWidget()->height();
    };
    QCOMPARE(rowHeight("showStatus"), rowHeight("showNonSync"));
    QCOMPARE(rowHeight("showChecksum"), rowHeight("showDump"));
    QCOMPARE(m_f.panelTitle(), QStringLiteral("HA Troubleshooting"));
    QCOMPARE(m_f.panelText(),
             QStringLiteral("get system ha status\ndiagnose sys ha status\ndiagnose sys ha checksum cluster"));
}

void TestHAView::actionsBox()
{
    auto *actions =
        qobject_cast<QGroupBox *>(m_f.field<QWidget>(QStringLiteral("syncAll"))->parentWidget()->parentWidget());
    QVERIFY(actions);
    QCOMPARE(actions->title(), QStringLiteral("Actions"));
    auto *divider = m_f.field<QFrame>(QStringLiteral("actionsDivider"));
    auto *caption = m_f.field<QLabel>(QStringLiteral("manageCaption"));
    auto *index = m_f.field<QLineEdit>(QStringLiteral("manageIndex"));
    auto *admin = m_f.field<QLineEdit>(QStringLiteral("manageAdmin"));
    for (QWidget *w : {static_cast<QWidget *>(divider), static_cast<QWidget *>(caption), static_cast<QWidget *>(index),
                       static_cast<QWidget *>(admin)})
        QVERIFY(actions->isAncestorOf(w));

    // Both checkboxes, then the divider, the caption and the two rows of the manage grid.
    QCOMPARE(divider->frameShape(), QFrame::HLine);
    QVERIFY(m_f.y(m_f.field<QWidget>(QStringLiteral("resetUptime"))) < m_f.y(divider));
    QVERIFY(m_f.y(divider) < m_f.y(caption));
    QVERIFY(m_f.y(caption) < m_f.y(index));
    QCOMPARE(m_f.fromInlineCode(caption->text()), QStringLiteral("Manage another unit (`execute ha manage`):"));
    QVERIFY(caption->text().contains(QStringLiteral(">execute ha manage</code>")));
    QVERIFY(caption->font().pointSizeF() < m_f.field<QCheckBox>(QStringLiteral("resetUptime"))->font().pointSizeF());

    // Labels right-aligned in one column, fields left-aligned in the next.
    QVERIFY(m_f.y(index) < m_f.y(admin));
    QCOMPARE(index->mapTo(actions, QPoint()).x(), admin->mapTo(actions, QPoint()).x());
    m_f.checkBesideLabel(QStringLiteral("manageIndex"), 120);
    m_f.checkBesideLabel(QStringLiteral("manageAdmin"), 200);
}

void TestHAView::typingShowsTheRule()
{
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("manageIndex")), QStringLiteral("1"));
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("manageAdmin")), QStringLiteral("admin"));
    m_f.click(QStringLiteral("debugHatalk"));
    QCOMPARE(m_f.panelText(),
             QStringLiteral("get system ha status\ndiagnose sys ha status\ndiagnose sys ha checksum cluster\n"
                            "execute ha manage 1 admin\n\n# Live HA debug:\ndiagnose debug console timestamp enable\n"
                            "diagnose debug application hatalk -1\ndiagnose debug enable\n\n"
                            "# When finished, stop the debug:\ndiagnose debug disable\ndiagnose debug reset"));

    // Trimmed, and an admin name without an index gives no manage line.
    m_f.field<QLineEdit>(QStringLiteral("manageIndex"))->clear();
    QTest::keyClicks(m_f.field<QLineEdit>(QStringLiteral("manageIndex")), QStringLiteral(" 2 "));
    QVERIFY(m_f.panelText().contains(QStringLiteral("\nexecute ha manage 2 admin\n")));
    m_f.field<QLineEdit>(QStringLiteral("manageIndex"))->clear();
    QVERIFY(!m_f.panelText().contains(QStringLiteral("execute ha manage")));

    // The action checkboxes: uptime reset before the forced sync, whatever the on-screen order.
    m_f.click(QStringLiteral("syncAll"));
    m_f.click(QStringLiteral("resetUptime"));
    QVERIFY(m_f.panelText().contains(QStringLiteral(
        "diagnose sys ha checksum cluster\ndiagnose sys ha reset-uptime\nexecute ha synchronize all\n\n")));
}

QTEST_MAIN(TestHAView)
#include "tst_haview.moc"
