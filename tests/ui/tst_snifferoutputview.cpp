// The Sniffer Output reader through its widgets: pasted, opened or dropped text becomes rows while it is
// read, each with its own bytes, the warnings lead to their packets, a search narrows the rows, a long
// read stops at Escape, and a capture is saved whole or not at all. The core reader is the oracle.

#include "app/categoryviewfactory.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "model/navigationstate.h"
#include "readers/hexdump.h"
#include "readers/readerforms.h"
#include "readers/snifferoutputview.h"

#include "faildevice.h"
#include "snifferprinter.h"
#include "storedlist.h"
#include "teststores.h"
#include "uitest.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>

namespace {
// Packets at verbose 6, each with bytes of its own, and a debug line inside the third one's dump.
QByteArray sniffed(int count)
{
    QByteArray text = "FGT # diagnose sniffer packet any 'icmp' 6 0 a\r\r\n";
    for (int i = 0; i < count; ++i) {
        text += u"2015-06-23 %1:%2:%3.284010 port%4 out 10.0.0.1 -> 10.0.0.2: icmp: echo request\r\n"_s
                    .arg(i / 3600 % 24, 2, 10, QLatin1Char('0'))
                    .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 2 + 1)
                    .toLatin1();
        text += "0x0000\t 0000 0000 0001 000c 29cb 0575 0800 4500\t........)..u..E.\r\n";
        if (i == 2)
            text += "PPP send: LCP Echo_Request id(13)\r\n";
        text += "0x0010\t 001c 0001 0000 4001 66d6 0a00 0001 0a00\t......@.f.......\r\n";
        text += u"0x0020\t 0002 0800 f7ff 0000 00%1               \t..........\r\n\r\n"_s
                    .arg(i % 32, 2, 16, QLatin1Char('0'))
                    .toLatin1();
    }
    return text;
}

// Writes wait until the test opens the gate: a read that lasts exactly as long as the test needs.
class GateDevice : public QIODevice
{
public:
    GateDevice(QIODevice &target, QSemaphore &gate)
        : m_target(target)
        , m_gate(gate)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        m_gate.acquire();
        m_gate.release();
        return m_target.write(data, size);
    }

private:
    QIODevice &m_target;
    QSemaphore &m_gate;
};
} // namespace

class TestSnifferOutputView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSemaphore m_gate;   // outlives the reading it holds up
    TestStores m_stores; // for the main window's forms
    NavigationState m_nav;
    QAction m_help, m_quit;
    std::unique_ptr<QWidget> m_view;

    SnifferOutputView *view() const { return static_cast<SnifferOutputView *>(m_view.get()); }
    QTableView *table() const { return child<QTableView>(m_view.get(), "packetTable"); }
    QString summary() const { return child<QLabel>(m_view.get(), "summary")->text(); }
    bool reading() const { return child<QProgressBar>(m_view.get(), "readProgress")->isVisible(); }
    void paste(const QByteArray &text)
    {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        QTest::keyClick(table(), Qt::Key_V, Qt::ControlModifier);
    }
    void clickRow(int row)
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          table()->visualRect(table()->model()->index(row, 4)).center());
    }

private slots:
    void init()
    {
        m_view.reset(CategoryViewFactory::create(OutputReader::sniffer));
        QVERIFY(showActive(m_view.get(), {1000, 800}));
    }
    void cleanup()
    {
        m_gate.release();
        AtomicFile::setFaultsForTesting(std::nullopt);
        TextFileDialog::setChooserForTesting({});
        m_view.reset();
    }

    void textShowsItsPacketsBytesAndWarnings_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("paste key") << u"paste"_s;
        QTest::newRow("Open Log") << u"open"_s;
        QTest::newRow("drop") << u"drop"_s;
    }
    void textShowsItsPacketsBytesAndWarnings()
    {
        QFETCH(QString, by);
        const QByteArray text = sniffed(5);
        QList<SnifferPacket> packets;
        QList<SnifferReader::Warning> warned;
        QBuffer input;
        input.setData(text);
        input.open(QIODevice::ReadOnly);
        const SnifferCapture::Result expected = SnifferCapture::convert(
            input, {}, [](QByteArrayView) { return true; },
            {[&](const SnifferPacket &p, qint64) { packets << p; }, [&](const auto &w) { warned << w; }, {}, nullptr});
        const QString path = m_dir.filePath(u"port1.log"_s);
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
        QCOMPARE(summary(), SnifferCapture::summaryLine(expected));
        QCOMPARE(table()->model()->rowCount(), packets.size());
        // Read back from the capture at each row's own block.
        for (int row : {4, 0}) {
            clickRow(row);
            QCOMPARE(child<QPlainTextEdit>(m_view.get(), "packetBytes")->toPlainText(),
                     HexDump::text(packets[row].bytes));
        }
        // The warning leads to the packet whose dump it interrupted.
        auto *warnings = child<QListWidget>(m_view.get(), "warnings");
        QCOMPARE(warned.size(), 1);
        QCOMPARE(warnings->count(), 1);
        QCOMPARE(warnings->item(0)->text(), u"Line %1: %2"_s.arg(warned[0].line).arg(warned[0].text));
        warnings->setCurrentRow(0);
        QTest::keyClick(warnings, Qt::Key_Return);
        QCOMPARE(table()->currentIndex().row(), 2);
        // Only the rows that show the text, in any case, and all of them again without it.
        QTest::keyClicks(child<QLineEdit>(m_view.get(), "search"), u"PORT2"_s);
        QTRY_COMPARE(table()->model()->rowCount(), 2);
        child<QLineEdit>(m_view.get(), "search")->clear();
        QTRY_COMPARE(table()->model()->rowCount(), packets.size());
    }

    void escapeCancelsALongRead()
    {
        m_gate.acquire(m_gate.available()); // shut: the other tests' cleanups open it
        AtomicFile::setFaultsForTesting(AtomicFile::Faults{[this](QIODevice &file) -> std::unique_ptr<QIODevice> {
            return std::make_unique<GateDevice>(file, m_gate);
        }});
        paste(sniffed(20000));
        // The first rows show while the reading waits at the gate, and the window takes keys meanwhile.
        QTRY_VERIFY(table()->model()->rowCount() > 0);
        QVERIFY(reading());
        QTest::keyClick(table(), Qt::Key_Escape);
        QVERIFY(!reading());
        QVERIFY2(summary().startsWith(u"Reading cancelled"_s), qPrintable(summary()));
        const int shown = table()->model()->rowCount();
        // The reading ends by itself once it can: nothing more arrives, and it leaves no file behind.
        m_gate.release();
        QTRY_VERIFY(!m_view->findChild<BackgroundJob *>());
        QCOMPARE(table()->model()->rowCount(), shown);
        QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/captures"_s).isEmpty());
        QVERIFY(!child<QPushButton>(m_view.get(), "saveCapture")->isEnabled());
    }

    void captureIsWrittenWholeOrNotAtAll_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fullDisk"); // while reading, or saving
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("pcapng") << u"out.pcapng"_s << QString() << QByteArray::fromHex("0a0d0d0a");
        QTest::newRow("pcap") << u"out.pcap"_s << QString() << QByteArray::fromHex("d4c3b2a1");
        QTest::newRow("full disk while saving") << u"out.pcapng"_s << u"saving"_s << QByteArray("precious");
        QTest::newRow("full disk while reading") << u"out.pcapng"_s << u"reading"_s << QByteArray("precious");
    }
    void captureIsWrittenWholeOrNotAtAll()
    {
        QFETCH(QString, name);
        QFETCH(QString, fullDisk);
        QFETCH(QByteArray, start);
        const auto full = [] {
            AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                [](QIODevice &file) -> std::unique_ptr<QIODevice> { return std::make_unique<FailDevice>(file, 0); }});
        };
        if (fullDisk == u"reading")
            full();
        paste(sniffed(3));
        QTRY_VERIFY(!reading());
        const QString path = m_dir.filePath(name);
        QVERIFY(writeFile(path, "precious"));
        TextFileDialog::setChooserForTesting([&](const QString &) { return path; });
        if (fullDisk == u"saving")
            full();
        QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
        if (fullDisk.isEmpty()) {
            QTRY_VERIFY(fileContents(path).startsWith(start));
            QVERIFY(name.endsWith(u".pcap") || fileContents(path) == fileContents(view()->capturePath()));
            return;
        }
        QMessageBox *alert = nullptr;
        QTRY_VERIFY((alert = m_view->findChild<QMessageBox *>()));
        QVERIFY2(alert->informativeText().endsWith(u"No space left on device"_s), qPrintable(alert->informativeText()));
        QCOMPARE(alert->informativeText().startsWith(path), fullDisk == u"saving");
        QCOMPARE(fileContents(path), start);
    }

    // The options the printed times depend on read the log again: the appliance's offset for local times, the
    // start of relative ones.
    void timeOptionsReadTheLogAgain()
    {
        const auto firstTime = [&] { return table()->model()->index(0, 1).data().toString(); };
        paste(QByteArray(sniffed(1)).replace("6 0 a", "6 0 l"));
        QTRY_VERIFY(!reading());
        auto *offset = child<QComboBox>(m_view.get(), "utcOffset");
        auto *start = child<QDateTimeEdit>(m_view.get(), "relativeStart");
        QVERIFY(offset->isEnabled() && !start->isEnabled());
        offset->setCurrentIndex(offset->findData(2 * 3600));
        QTRY_COMPARE(firstTime(), u"2015-06-22 22:00:00.284010"_s);
        paste(QByteArray(sniffed(1)).replace("2015-06-23 00:00:00", "0"));
        QTRY_VERIFY(!reading() && start->isEnabled() && !offset->isEnabled());
        start->setDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc()));
        QTest::keyClick(start, Qt::Key_Return);
        QTRY_COMPARE(firstTime(), u"2026-12-07 10:00:00.284010"_s);
    }

    // Wireshark, found on the PATH when the view is made, gets the finished capture.
    void openInWiresharkGetsTheCapture()
    {
        const QByteArray path = qgetenv("PATH");
        const QString opened = m_dir.filePath(u"opened"_s), wireshark = m_dir.filePath(u"wireshark"_s);
        QVERIFY(writeFile(wireshark, "#!/bin/sh\nexec cp \"$1\" '" + opened.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(wireshark, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + path);
        m_view.reset(CategoryViewFactory::create(OutputReader::sniffer));
        qputenv("PATH", path);
        QVERIFY(showActive(m_view.get(), {1000, 800}));
        auto *open = child<QPushButton>(m_view.get(), "openInWireshark");
        QVERIFY(!open->isEnabled());
        paste(sniffed(2));
        QTRY_VERIFY(open->isEnabled());
        QTest::mouseClick(open, Qt::LeftButton);
        QTRY_COMPARE(fileContents(opened), fileContents(view()->capturePath()));
    }

    // From the selected packet to its form in the window, filled, by the button and by the key: the
    // Generated Command panel shows what the core's forms make of the packet the core reads. A packet that
    // is not IP gives none.
    void packetOpensItsFilledForms()
    {
        const QByteArray mac = QByteArray::fromHex("000c29cb0575"), arp = QByteArray::fromHex("0001080006040001") + mac;
        QByteArray log =
            sniffed(2) + SnifferPrinter::packet({arp + QByteArray::fromHex("0a000001 000000000000 0a000002"),
                                                 QByteArray(6, char(0xff)), mac, 0x0806, "arp", "port1", "in"},
                                                {6, SnifferPrinter::Time::utc});
        QList<SnifferPacket> packets;
        QBuffer input(&log);
        input.open(QIODevice::ReadOnly);
        SnifferCapture::convert(input, {}, [](QByteArrayView) { return true; },
                                {[&](auto &p, qint64) { packets << p; }, {}, {}, nullptr});
        const std::optional<ReaderForms> expected = ReaderForms::of(packets.value(1));
        QVERIFY(packets.size() == 3 && expected && !ReaderForms::of(packets[2]));
        auto *window = new MainWindow(m_stores.stores(), m_nav, &m_help, &m_quit);
        m_view.reset(window);
        QVERIFY(showActive(window, {1100, 900}));
        for (const bool flow : {true, false}) {
            m_nav.setSelectedReader(OutputReader::sniffer);
            if (flow) {
                paste(log);
                QTRY_VERIFY(!reading());
            }
            auto *action = child<QAction>(table(), flow ? "debugFlowForPacket" : "snifferForPacket");
            for (int row : {2, 1}) {
                clickRow(row);
                QCOMPARE(action->isEnabled(), row == 1);
            }
            if (flow)
                QTest::mouseClick(child(window, "debugFlowForPacketButton"), Qt::LeftButton);
            else
                QTest::keyClick(table(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(child<QPlainTextEdit>(window->content()->detail(), "commandText")->toPlainText(),
                     flow ? expected->flow.generatedCommand() : expected->sniffer.generatedCommand());
        }
    }
};

QTEST_MAIN(TestSnifferOutputView)
#include "tst_snifferoutputview.moc"
