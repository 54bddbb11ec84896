// The Debug Flow Output reader through its widgets: pasted, opened or dropped traces become rows worded
// as the terminal words them, a packet shows its stages with their raw records and what its verdict
// means, a search and the grouped view narrow and group the rows, and Escape stops a long read. The core
// reader is the oracle.

#include "app/categoryviewfactory.h"
#include "common/backgroundjob.h"
#include "common/textfiledialog.h"
#include "readers/flowexplanations.h"
#include "readers/flowoutputview.h"
#include "readers/flowtablemodel.h"
#include "readers/flowtext.h"

#include "storedlist.h"
#include "uitest.h"

#include <QBuffer>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeView>

namespace {
// A new session allowed with source NAT, its reply, a drop by the implicit deny, and a record cut short.
QByteArray traced(int repeat = 1)
{
    QByteArray text = "FGT # diagnose debug flow trace start 10\r\n";
    for (int i = 0; i < repeat; ++i) {
        const QByteArray a = QByteArray::number(3 * i + 571), b = QByteArray::number(3 * i + 572),
                         c = QByteArray::number(3 * i + 573);
        text +=
            "FGT # id=65308 trace_id=" + a +
            " func=print_pkt_detail line=5845 msg=\"vd-root:0 received a packet(proto=6, "
            "192.168.20.2:63611->63.137.229.1:443) tun_id=0.0.0.0 from port6. flag [S], seq 1, ack 0, win 64240\"\r\n"
            "id=65308 trace_id=" +
            a +
            " func=init_ip_session_common line=6127 msg=\"allocate a new session-015a96aa\"\r\n"
            "id=65308 trace_id=" +
            a +
            " func=__vf_ip_route_input_rcu line=1990 msg=\"find a route: flag=04000000 "
            "gw-10.0.0.1 via port1\"\r\n"
            "id=65308 trace_id=" +
            a +
            " func=fw_forward_handler line=959 msg=\"Allowed by Policy-22: SNAT\"\r\n"
            "id=65308 trace_id=" +
            a +
            " func=__ip_session_run_tuple line=3438 msg=\"SNAT "
            "192.168.20.2->10.9.10.51:63611\"\r\n"
            "id=65308 trace_id=" +
            b +
            " func=print_pkt_detail line=5845 msg=\"vd-root:0 received a packet(proto=6, "
            "63.137.229.1:443->10.9.10.51:63611) tun_id=0.0.0.0 from port1. flag [S.], seq 1, ack 2, win 64240\"\r\n"
            "id=65308 trace_id=" +
            b +
            " func=resolve_ip_tuple_fast line=5930 msg=\"Find an existing session, "
            "id-015a96aa, reply direction\"\r\n"
            "id=65308 trace_id=" +
            c +
            " func=print_pkt_detail line=5845 msg=\"vd-root:0 received a packet(proto=17, "
            "10.1.1.5:5353->10.2.2.9:53) tun_id=0.0.0.0 from port2. \"\r\n"
            "id=65308 trace_id=" +
            c +
            " func=__vf_ip_route_input_rcu line=1990 msg=\"find a route: flag=04000000 "
            "gw-10.2.2.1 via port3\"\r\n"
            "id=65308 trace_id=" +
            c +
            " func=fw_forward_handler line=959 msg=\"Denied by forward policy check "
            "(policy 0)\"\r\n";
    }
    return text +
           "id=65308 trace_id=9 func=print_pkt_detail line=5871 msg=\"vd-root:0 received a packet(proto=1, 1\r\n";
}

struct Read {
    QList<FlowTrace> traces;
    QList<FlowReader::Warning> warnings;
    FlowText::Tally tally;
};

Read readByCore(const QByteArray &text)
{
    Read read;
    QBuffer input;
    input.setData(text);
    input.open(QIODevice::ReadOnly);
    FlowReader::read(input, {[&](FlowTrace &&trace) {
                                 read.tally.add(trace);
                                 read.traces << trace;
                             },
                             [&](const FlowReader::Warning &warning) { read.warnings << warning; },
                             {},
                             nullptr});
    return read;
}
} // namespace

class TestFlowOutputView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_view;

    QTableView *table() const { return child<QTableView>(m_view.get(), "traceTable"); }
    QString summary() const { return child<QLabel>(m_view.get(), "summary")->text(); }
    bool reading() const { return child<QProgressBar>(m_view.get(), "readProgress")->isVisible(); }
    void paste(const QByteArray &text)
    {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        QTest::keyClick(table(), Qt::Key_V, Qt::ControlModifier);
    }
    // The rows' trace ids, as shown.
    QStringList shownTraces() const
    {
        QStringList ids;
        for (int row = 0; row < table()->model()->rowCount(); ++row)
            ids << table()->model()->index(row, 0).data().toString();
        return ids;
    }

private slots:
    void init()
    {
        m_view.reset(CategoryViewFactory::create(OutputReader::flow));
        QVERIFY(showActive(m_view.get(), {1200, 800}));
    }
    void cleanup()
    {
        TextFileDialog::setChooserForTesting({});
        m_view.reset();
    }

    void tracesShowAsTheCoreReadsThem_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("paste key") << u"paste"_s;
        QTest::newRow("Open Log") << u"open"_s;
        QTest::newRow("drop") << u"drop"_s;
    }
    void tracesShowAsTheCoreReadsThem()
    {
        QFETCH(QString, by);
        const QByteArray text = traced();
        const Read expected = readByCore(text);
        QVERIFY(expected.traces.size() >= 3);
        const QString path = m_dir.filePath(u"flow.log"_s);
        QVERIFY(writeFile(path, text));
        if (by == u"paste") {
            paste(text);
        } else if (by == u"open") {
            TextFileDialog::setChooserForTesting([&](const QString &) { return path; });
            QTest::mouseClick(child<QPushButton>(m_view.get(), "openLog"), Qt::LeftButton);
        } else {
            QMimeData dropped;
            dropped.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, {});
            QApplication::sendEvent(m_view.get(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
            QApplication::sendEvent(m_view.get(), &drop);
        }
        QTRY_VERIFY(!reading());
        QVERIFY2(summary().startsWith(expected.tally.summaryLine()), qPrintable(summary()));
        QCOMPARE(child<QListWidget>(m_view.get(), "warnings")->count(), expected.warnings.size());
        // Every row copied gives the terminal's line of its packet; an inherited policy is marked so.
        QStringList lines;
        for (int row = 0; row < expected.traces.size(); ++row) {
            lines << FlowText::line(expected.traces[row]);
            QCOMPARE(
                table()->model()->index(row, FlowTableModel::policyColumn).data().toString().endsWith(u"(inherited)"),
                expected.traces[row].policyInherited);
        }
        table()->setFocus();
        QTest::keyClick(table(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join(u'\n') + u'\n');
        // The dropped packet: each of its raw records in its stages, and what the verdict means first.
        const int dropped = int(std::ranges::find(expected.traces, FlowVerdict::dropped, &FlowTrace::verdict) -
                                expected.traces.begin());
        QVERIFY(dropped < expected.traces.size());
        QTest::mouseClick(
            table()->viewport(), Qt::LeftButton, {},
            table()->visualRect(table()->model()->index(dropped, FlowTableModel::endpointsColumn)).center());
        const QString timeline = child<QTextBrowser>(m_view.get(), "timeline")->toPlainText();
        for (const FlowRecord &record : expected.traces[dropped].records)
            QVERIFY2(timeline.contains(QString::fromUtf8(record.raw)), qPrintable(timeline));
        const FlowExplanations::Note verdict = FlowExplanations::forTrace(expected.traces[dropped]).value(0);
        QVERIFY(!verdict.text.isEmpty());
        QVERIFY(child<QTextBrowser>(m_view.get(), "explanations")->toPlainText().startsWith(verdict.title));
    }

    // Each word is found in a packet as a whole port or policy, or as the start of an address or interface.
    void searchShowsTheMatchingPackets_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("port") << u"443"_s << QStringList{u"#571"_s, u"#572"_s};
        QTest::newRow("policy, inherited too") << u"22"_s << QStringList{u"#571"_s, u"#572"_s};
        QTest::newRow("implicit deny") << u"0"_s << QStringList{u"#573"_s};
        QTest::newRow("address start") << u"10.9"_s << QStringList{u"#571"_s, u"#572"_s};
        QTest::newRow("whole octets") << u"63"_s << QStringList{u"#571"_s, u"#572"_s};
        QTest::newRow("not part of one") << u"6"_s << QStringList{};
        QTest::newRow("interface, any case") << u"PORT3"_s << QStringList{u"#573"_s};
        QTest::newRow("every word") << u"port 53"_s << QStringList{u"#573"_s};
        QTest::newRow("none") << u"172.16"_s << QStringList{};
    }
    void searchShowsTheMatchingPackets()
    {
        QFETCH(QString, search);
        QFETCH(QStringList, shown);
        paste(traced());
        QTRY_VERIFY(!reading());
        QTest::keyClick(table(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), search);
        QTRY_COMPARE(shownTraces(), shown);
        QCOMPARE(child<QLabel>(m_view.get(), "matches")->text(), u"%1 of 4"_s.arg(shown.size()));
    }

    void groupedViewHoldsEachSessionsPackets()
    {
        const QByteArray text = traced(2);
        paste(text);
        QTRY_VERIFY(!reading());
        QHash<QByteArray, int> expected;
        QList<QByteArray> order;
        for (const FlowTrace &trace : readByCore(text).traces) {
            if (!expected.contains(trace.sessionId))
                order << trace.sessionId;
            ++expected[trace.sessionId];
        }
        // The packet selected stays selected in its session.
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          table()->visualRect(table()->model()->index(2, 3)).center());
        QTest::mouseClick(child<QPushButton>(m_view.get(), "groupBySession"), Qt::LeftButton);
        auto *tree = child<QTreeView>(m_view.get(), "sessionTree");
        QVERIFY(tree->isVisible());
        QCOMPARE(tree->currentIndex().siblingAtColumn(0).data().toString(),
                 table()->model()->index(2, 0).data().toString());
        const QAbstractItemModel *model = tree->model();
        QCOMPARE(model->rowCount(), order.size());
        for (int group = 0; group < order.size(); ++group) {
            const QModelIndex parent = model->index(group, 0);
            QCOMPARE(model->rowCount(parent), expected[order[group]]);
            QVERIFY(parent.data().toString().contains(QString::fromUtf8(order[group])));
        }
    }

    void escapeCancelsALongRead()
    {
        paste(traced(40000));
        QTRY_VERIFY(table()->model()->rowCount() > 0);
        QVERIFY(reading());
        QTest::keyClick(table(), Qt::Key_Escape);
        QVERIFY(!reading());
        QVERIFY2(summary().startsWith(u"Reading cancelled"_s), qPrintable(summary()));
        const int shown = table()->model()->rowCount();
        // The reading ends by itself: nothing more arrives.
        QTRY_VERIFY(!m_view->findChild<BackgroundJob *>());
        QCOMPARE(table()->model()->rowCount(), shown);
    }
};

QTEST_MAIN(TestFlowOutputView)
#include "tst_flowoutputview.moc"
