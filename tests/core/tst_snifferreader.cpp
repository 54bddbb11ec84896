#include "readers/snifferreader.h"

#include <QTest>

using Lines = QList<qint64>;

namespace {
// One packet as the sniffer prints it at verbose 6 on "any", with tabs and the blank line after it.
const QByteArray header = "2015-06-23 17:00:12.284010 port1 out 10.0.0.1 -> 10.0.0.2: icmp: echo request";
const QByteArrayList hexLines = {
    "0x0000\t 0000 0000 0001 000c 29cb 0575 0800 4500\t........)..u..E.",
    "0x0010\t 001c 0001 0000 4001 66d6 0a00 0001 0a00\t......@.f.......",
    "0x0020\t 0002 0800 f7ff 0000 0000               \t..........",
};
const QByteArray bytes = QByteArray::fromHex("00000000000100 0c29cb0575080045 00001c000100004001 66d60a0000010a00"
                                             "00020800f7ff00000000");

QByteArray printed(const QByteArrayList &dump = hexLines, const QByteArray &lineEnd = "\n")
{
    return header + lineEnd + dump.join(lineEnd) + lineEnd + lineEnd;
}

// Tabs expanded to 8-column stops, as a terminal copy or a web page gives them.
QByteArray expanded(const QByteArray &text)
{
    QByteArray out;
    qsizetype column = 0;
    for (const char c : text) {
        if (c == '\t') {
            do
                out += ' ';
            while (++column % 8);
        } else {
            out += c;
            column = c == '\n' ? 0 : column + 1;
        }
    }
    return out;
}

QByteArrayList withLine(QByteArrayList lines, qsizetype at, const QByteArray &line)
{
    lines.insert(at, line);
    return lines;
}
} // namespace

class TestSnifferReader : public QObject
{
    Q_OBJECT

private slots:
    void damagedText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("packets");
        // The first packet's bytes: those printed, less a cut of this many from this offset.
        QTest::addColumn<int>("cutAt");
        QTest::addColumn<int>("cutLength");
        QTest::addColumn<Lines>("warnings");

        const QByteArray pasted = expanded(printed());
        QTest::newRow("raw with CRLF") << printed(hexLines, "\r\n") << 1 << 0 << 0 << Lines{};
        QTest::newRow("lone CR") << printed(hexLines, "\r") << 1 << 0 << 0 << Lines{};
        QTest::newRow("tabs expanded") << pasted << 1 << 0 << 0 << Lines{};
        QTest::newRow("spaces collapsed")
            << pasted.simplified().replace(" 0x", "\n0x").replace("request ", "request\n") << 1 << 0 << 0 << Lines{};
        QTest::newRow("indented and quoted")
            << QByteArray("    > " + pasted).replace("\n", "\n    > ") << 1 << 0 << 0 << Lines{};
        QTest::newRow("prompt, echo, banner and counters")
            << "FGT (root) # diag snif pack any 'icmp' 6 0 a\r\r\nUsing Original Sniffing Mode\ninterfaces=[any]\n" +
                   printed() + "\n1 packets received by filter\n0 packets dropped by kernel\n\nFGT (root) # "
            << 1 << 0 << 0 << Lines{};
        QTest::newRow("escape sequences and backspaces")
            << "\x1b]0;FGT\x07" + header.left(10) + "X\bY\b" + header.mid(10) + "\x1b[K\n" + hexLines.join('\n') + '\n'
            << 1 << 0 << 0 << Lines{};
        QTest::newRow("slot prefix and a second decode line")
            << "[FPC06] " + header + "\n        CAPWAP  Keep Alive\n" + hexLines.join('\n') << 1 << 0 << 0 << Lines{};
        QTest::newRow("no-break space after the offset")
            << QByteArray(pasted).replace("0x0010 ", "0x0010\xc2\xa0") << 1 << 0 << 0 << Lines{};
        QTest::newRow("text column glued on")
            << QByteArray(pasted).replace("4500        .", "4500.") << 1 << 0 << 0 << Lines{};
        QTest::newRow("text column missing")
            << printed({hexLines[0].left(47), hexLines[1].left(47), hexLines[2].left(36)}) << 1 << 0 << 0 << Lines{};
        QTest::newRow("debug line inside the dump")
            << printed(withLine(hexLines, 1, "PPP send: LCP Echo_Request id(13)")) << 1 << 0 << 0 << Lines{3};
        QTest::newRow("the next capture's command after the dump")
            << printed() + "FGT # diag snif pack port1 none 5 0 a\n"
            << 1 << 0 << 0 << Lines{};
        QTest::newRow("noise after the dump is no warning")
            << printed(hexLines + QByteArrayList{"FGT # "}) << 1 << 0 << 0 << Lines{};
        QTest::newRow("text column edited") << QByteArray(printed()).replace("@", "A") << 1 << 0 << 0 << Lines{3};
        QTest::newRow("a hex line lost") << printed({hexLines[0], hexLines[2]}) << 1 << 16 << 16 << Lines{3};
        QTest::newRow("a hex line pasted twice")
            << printed(withLine(hexLines, 2, hexLines[1])) << 1 << 0 << 0 << Lines{4};
        QTest::newRow("cut short") << printed().left(printed().lastIndexOf("0000 0000")) << 1 << 38 << 4 << Lines{4};
        QTest::newRow("header without bytes, then a packet") << header + '\n' + printed() << 1 << 0 << 0 << Lines{1};
        QTest::newRow("dump without a header") << printed() + hexLines.join('\n') << 2 << 0 << 0 << Lines{6};
        QTest::newRow("verbose 4: headers only") << header + '\n' + header + '\n' << 0 << 0 << 0 << Lines{};
        QTest::newRow("not a sniffer log")
            << QByteArray("0 packets dropped by kernel\n12.5 MB\n") << 0 << 0 << 0 << Lines{};
    }

    void damagedText()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, packets);
        QFETCH(int, cutAt);
        QFETCH(int, cutLength);
        QFETCH(Lines, warnings);
        QList<SnifferPacket> found;
        Lines warned;
        SnifferReader reader(
            {}, [&](SnifferPacket &&p) { found << p; }, [&](const SnifferReader::Warning &w) { warned << w.line; });
        reader.feed(text);
        reader.finish();
        QCOMPARE(warned, warnings);
        QCOMPARE(found.size(), packets);
        if (packets == 0)
            return;
        QCOMPARE(found[0].bytes.toHex(), QByteArray(bytes).remove(cutAt, cutLength).toHex());
        QCOMPARE(found[0].interfaceName, text.contains("port1") ? QByteArray("port1") : QByteArray("any"));
        QCOMPARE(found[0].timeMicros, 1435078812284010);
        // The length on the wire comes from the IP header, where it was printed whole.
        if (cutAt == 0 || cutAt >= 18)
            QCOMPARE(found[0].originalLength, 42);
        QVERIFY(found[0].header.startsWith("10.0.0.1 -> 10.0.0.2: icmp: echo request"));
        QCOMPARE(found[0].reception, SnifferPacket::Reception::unicast);
    }
};

QTEST_GUILESS_MAIN(TestSnifferReader)
#include "tst_snifferreader.moc"
