#include "snifferreader.h"

#include "text.h"
#include "textlines.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr qint64 microsPerSecond = 1000000;
// Header lines without bytes are only known to be worth a warning once a packet with bytes is seen;
// so many are remembered until then, the rest counted.
constexpr qsizetype pendingLimit = 1000;
// Lines that are not hex after a dump: noise after it, unless the dump goes on after them.
constexpr qsizetype suspectLimit = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

char shown(unsigned char byte)
{
    return byte > 0x20 && byte < 0x7f ? char(byte) : '.';
}

QString excerpt(QByteArrayView line)
{
    return Text::quoted(QString::fromUtf8(line.first(std::min<qsizetype>(line.size(), 200))));
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[size_t(month - 1)];
}

// Reads digits at pos; false unless there is at least one and at most maxDigits.
bool number(QByteArrayView s, qsizetype &pos, qint64 &value, int minDigits, int maxDigits)
{
    const qsizetype start = pos;
    value = 0;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < maxDigits)
        value = value * 10 + (s[pos++] - '0');
    return pos - start >= minDigits && (pos >= s.size() || !isDigit(s[pos]));
}

// The fraction after the point, to the microsecond (more digits are cut, fewer filled with zeros).
bool fraction(QByteArrayView s, qsizetype &pos, qint64 &micros)
{
    if (pos >= s.size() || s[pos] != '.')
        return false;
    ++pos;
    const qsizetype start = pos;
    micros = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        if (pos - start < 6)
            micros = micros * 10 + (s[pos] - '0');
        ++pos;
    }
    for (qsizetype digits = pos - start; digits < 6; ++digits)
        micros *= 10;
    return pos > start;
}

struct Stamp {
    SnifferReader::TimeForm form = SnifferReader::TimeForm::unknown;
    qint64 micros = 0; // relative: since the start; absolute: as if the printed time were UTC
    bool valid = true;
    qsizetype length = 0;
};

// A time at the start of s, in either printed form, followed by a space.
Stamp stampAt(QByteArrayView s)
{
    Stamp stamp;
    qsizetype pos = 0;
    qint64 first = 0;
    if (!number(s, pos, first, 1, 12))
        return stamp;
    if (pos < s.size() && s[pos] == '-' && pos == 4) {
        qint64 month = 0, day = 0, hour = 0, minute = 0, second = 0, micros = 0;
        ++pos;
        if (!number(s, pos, month, 2, 2) || pos >= s.size() || s[pos++] != '-' || !number(s, pos, day, 2, 2) ||
            pos >= s.size() || s[pos++] != ' ' || !number(s, pos, hour, 2, 2) || pos >= s.size() || s[pos++] != ':' ||
            !number(s, pos, minute, 2, 2) || pos >= s.size() || s[pos++] != ':' || !number(s, pos, second, 2, 2) ||
            !fraction(s, pos, micros))
            return stamp;
        stamp.form = SnifferReader::TimeForm::absolute;
        stamp.valid = month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(int(first), int(month)) &&
                      hour < 24 && minute < 60 && second < 61;
        if (stamp.valid)
            stamp.micros = ((daysFromCivil(first, unsigned(month), unsigned(day)) * 24 + hour) * 60 + minute) * 60 *
                               microsPerSecond +
                           second * microsPerSecond + micros;
    } else {
        // Always six digits: fewer are more likely a number in other text ("12.5 MB").
        qint64 micros = 0;
        const qsizetype point = pos;
        if (!fraction(s, pos, micros) || pos - point != 7)
            return stamp;
        stamp.form = SnifferReader::TimeForm::relative;
        stamp.micros = first * microsPerSecond + micros;
    }
    if (pos >= s.size() || s[pos] != ' ')
        return Stamp();
    stamp.length = pos + 1;
    return stamp;
}

// What comes before the text on a line that is not the device's: indentation, mail or markdown
// quoting, a chassis slot ("[FIM01] "), a terminal logger's time in brackets.
QByteArrayView withoutPrefix(QByteArrayView line)
{
    for (;;) {
        qsizetype pos = 0;
        while (pos < line.size() && (isBlank(line[pos]) || line[pos] == '>'))
            ++pos;
        line = line.sliced(pos);
        if (line.isEmpty() || line[0] != '[')
            return line;
        const qsizetype close = line.indexOf(']');
        if (close < 2 || close > 40)
            return line;
        line = line.sliced(close + 1);
    }
}

struct HexLine {
    qint64 offset = 0;
    std::array<unsigned char, 16> bytes = {};
    int count = 0;
    bool textMatches = true; // the text column, where there is one, shows these bytes
    bool hasText = false;
};

// Groups of four hex digits (two for an odd last byte); false at the first token that is none.
bool groups(QByteArrayView area, HexLine &hex, qsizetype *consumed = nullptr)
{
    qsizetype pos = 0;
    for (;;) {
        while (pos < area.size() && isBlank(area[pos]))
            ++pos;
        if (pos >= area.size() || hex.count >= 16)
            break;
        qsizetype end = pos;
        while (end < area.size() && !isBlank(area[end]))
            ++end;
        const qsizetype length = end - pos;
        if ((length != 4 && length != 2) || (length == 4 && hex.count > 14))
            break;
        std::array<int, 4> v = {};
        for (qsizetype i = 0; i < length; ++i) {
            v[size_t(i)] = hexValue(area[pos + i]);
            if (v[size_t(i)] < 0)
                return consumed ? (*consumed = pos, true) : false;
        }
        hex.bytes[size_t(hex.count++)] = uchar(v[0] << 4 | v[1]);
        if (length == 4)
            hex.bytes[size_t(hex.count++)] = uchar(v[2] << 4 | v[3]);
        pos = end;
        if (length == 2)
            break;
    }
    if (consumed)
        *consumed = pos;
    return true;
}

bool textShows(QByteArrayView text, const HexLine &hex, int from = 0)
{
    if (text.size() != hex.count - from)
        return false;
    for (int i = from; i < hex.count; ++i) {
        if (text[i - from] != shown(hex.bytes[size_t(i)]))
            return false;
    }
    return true;
}

// "0x0010<TAB> 4500 0054 ...<TAB>E..T": as printed, after tabs became spaces, with the text column
// glued on or missing.
std::optional<HexLine> hexLine(QByteArrayView line)
{
    if (line.size() < 7 || line[0] != '0' || (line[1] != 'x' && line[1] != 'X'))
        return std::nullopt;
    HexLine hex;
    qsizetype pos = 2;
    while (pos < line.size() && hexValue(line[pos]) >= 0 && pos < 10)
        hex.offset = hex.offset * 16 + hexValue(line[pos++]);
    if (pos < 6 || (pos < line.size() && !isBlank(line[pos]) && line[pos] != ':'))
        return std::nullopt;
    if (pos < line.size() && line[pos] == ':')
        ++pos;
    QByteArrayView rest = line.sliced(pos);
    QByteArrayView text;
    // As emitted: the hex area and the text column are the fields between tabs.
    const qsizetype tab = rest.indexOf('\t');
    const qsizetype secondTab = tab < 0 ? -1 : rest.indexOf('\t', tab + 1);
    if (secondTab > tab && rest.indexOf('\t', secondTab + 1) < 0) {
        qsizetype used = 0;
        const QByteArrayView area = rest.sliced(tab + 1, secondTab - tab - 1);
        if (!groups(area, hex, &used) || hex.count == 0 || area.sliced(used).trimmed().size() != 0)
            return std::nullopt;
        text = rest.sliced(secondTab + 1).trimmed();
        hex.hasText = !text.isEmpty();
        hex.textMatches = text.isEmpty() || textShows(text, hex);
        return hex;
    }
    qsizetype used = 0;
    if (!groups(rest, hex, &used) || hex.count == 0)
        return std::nullopt;
    text = rest.sliced(used).trimmed();
    if (text.isEmpty()) {
        // A short line's text column can itself look like a group ("6162 ab" is "ab" shown): take the
        // reading in which the column shows the bytes.
        const QByteArrayView all = rest.trimmed();
        const qsizetype lastSpace = std::max(all.lastIndexOf(' '), all.lastIndexOf('\t'));
        if (lastSpace > 0) {
            HexLine shorter;
            shorter.offset = hex.offset;
            const QByteArrayView last = all.sliced(lastSpace + 1);
            if (groups(all.first(lastSpace), shorter) && shorter.count > 0 && textShows(last, shorter)) {
                shorter.hasText = true;
                return shorter;
            }
        }
        return hex;
    }
    if (text.indexOf(' ') >= 0 || text.indexOf('\t') >= 0)
        return std::nullopt;
    // The text column glued to the last group: its last bytes-many characters are the column.
    if (!textShows(text, hex) && hex.count < 16) {
        for (const int digits : {4, 2}) {
            if (text.size() <= digits || text.size() - digits != hex.count + digits / 2)
                continue;
            HexLine glued = hex;
            if (!groups(text.first(digits), glued) || glued.count != hex.count + digits / 2)
                continue;
            if (textShows(text.sliced(digits), glued)) {
                glued.hasText = true;
                return glued;
            }
        }
    }
    hex.hasText = true;
    hex.textMatches = textShows(text, hex);
    return hex;
}

// "diagnose sniffer packet any 'port 443' 6 0 a", abbreviated as FortiOS allows.
const QRegularExpression &echoPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(\bdiag\w*\s+sni\w*\s+pac\w*\s+(\S+)\s+(?:'[^']*'|"[^"]*"|\S+)\s+(\d)\b(?:\s+\d+(?:\s+([A-Za-z])\b)?)?)"));
    return pattern;
}

// An IP packet's length covers every printed byte, but for the padding of a short Ethernet frame (to 46
// bytes after its header), which the sniffer prints too.
bool coversPrinted(qsizetype length, QByteArrayView b)
{
    return length >= b.size() || b.size() <= 46;
}

bool isIpv4(QByteArrayView b)
{
    if (b.size() < 20 || (uchar(b[0]) >> 4) != 4)
        return false;
    const int headerLength = (uchar(b[0]) & 0xf) * 4;
    const int length = uchar(b[2]) << 8 | uchar(b[3]);
    return headerLength >= 20 && length >= headerLength && coversPrinted(length, b);
}

bool isIpv6(QByteArrayView b)
{
    return b.size() >= 40 && (uchar(b[0]) >> 4) == 6 && coversPrinted(40 + (uchar(b[4]) << 8 | uchar(b[5])), b);
}

bool isArp(QByteArrayView b)
{
    return b.size() >= 28 && b[0] == 0 && b[1] == 1 && b[2] == 8 && b[3] == 0 && b[4] == 6 && b[5] == 4;
}

// A link header whose type field names what follows it. An 802.3 length (spanning tree and other LLC
// frames) is not enough: the start of an IP header can look like one.
bool isEthernet(QByteArrayView b)
{
    if (b.size() < 14)
        return false;
    const int type = uchar(b[12]) << 8 | uchar(b[13]);
    switch (type) {
    case 0x0800:
        return b.size() > 14 && (uchar(b[14]) >> 4) == 4;
    case 0x86dd:
        return b.size() > 14 && (uchar(b[14]) >> 4) == 6;
    case 0x0806:
        return b.size() > 15 && b[14] == 0 && b[15] == 1;
    // VLAN tags, PPPoE, the FortiGate's HA heartbeats and session sync, LLDP, 802.1X, MPLS, Wake-on-LAN
    case 0x8100:
    case 0x88a8:
    case 0x9100:
    case 0x8863:
    case 0x8864:
    case 0x8890:
    case 0x8891:
    case 0x8893:
    case 0x88cc:
    case 0x888e:
    case 0x8847:
    case 0x8848:
    case 0x0842:
    case 0x88f7:
        return true;
    default:
        return false;
    }
}

// The length on the wire from the IP header, where the dump was cut short of it.
qint64 wireLength(QByteArrayView b, qsizetype ipAt)
{
    const QByteArrayView ip = b.sliced(std::min(ipAt, b.size()));
    if (isIpv4(ip))
        return ipAt + (uchar(ip[2]) << 8 | uchar(ip[3]));
    if (ip.size() >= 6 && (uchar(ip[0]) >> 4) == 6)
        return ipAt + 40 + (uchar(ip[4]) << 8 | uchar(ip[5]));
    return 0;
}

} // namespace

struct SnifferReader::Private {
    Options options;
    PacketSink packets;
    WarningSink warnings;
    Summary summary;

    TextLines lines;
    bool ended = false;

    // The packet being read.
    bool open = false;
    bool hasHeader = false;
    SnifferPacket packet;
    qint64 expectedOffset = 0;
    qint64 shortLine = 0; // a hex line of fewer than 16 bytes, fine only as the last
    bool textWarned = false;
    QList<qint64> suspects; // non-hex lines after hex lines of this packet
    qint64 previousMicros = 0;

    bool lastHexComplete = true; // sixteen bytes, or the text column after them

    QList<qint64> pendingHeadersOnly;
    qint64 pendingDropped = 0;
    QHash<qint64, int> zoneOffsets; // local hour -> offset, for times in this computer's zone

    void warn(qint64 line, const QString &text)
    {
        ++summary.warnings;
        if (warnings)
            warnings({line, text});
    }

    void line(QByteArrayView raw);
    void header(QByteArrayView line, const Stamp &stamp);
    void hex(QByteArrayView line, const HexLine &hex);
    void close();
    void emitPacket();
    qint64 absoluteMicros(qint64 printedAsUtc);
    bool decideLink(); // true when it made up a link header
};

SnifferReader::SnifferReader(const Options &options, PacketSink packets, WarningSink warnings)
    : d(new Private)
{
    d->options = options;
    d->packets = std::move(packets);
    d->warnings = std::move(warnings);
}

SnifferReader::~SnifferReader()
{
    delete d;
}

const SnifferReader::Summary &SnifferReader::summary() const
{
    return d->summary;
}

void SnifferReader::feed(QByteArrayView text)
{
    d->lines.feed(text, [this](QByteArrayView line) { d->line(line); });
}

void SnifferReader::finish()
{
    if (d->ended)
        return;
    d->ended = true;
    bool last = false;
    d->lines.finish([&](QByteArrayView line) {
        last = true;
        d->lastHexComplete = true;
        d->line(line);
    });
    if (last && !d->lastHexComplete)
        d->warn(d->summary.lines, QStringLiteral("the text ends inside this hex line: the packet's bytes end there"));
    d->close();
}

void SnifferReader::Private::line(QByteArrayView raw)
{
    const qint64 number = ++summary.lines;
    QByteArray holder;
    if (TextLines::needsCleaning(raw)) {
        holder = TextLines::cleaned(raw);
        raw = holder;
    }
    const bool indented = !raw.isEmpty() && isBlank(raw[0]);
    const QByteArrayView line = withoutPrefix(raw);
    if (line.trimmed().isEmpty())
        return;
    if (const std::optional<HexLine> parsed = hexLine(line)) {
        hex(line, *parsed);
        return;
    }
    if (const Stamp stamp = stampAt(line); stamp.form != TimeForm::unknown && stamp.length < line.size()) {
        header(line, stamp);
        packet.firstLine = number;
        return;
    }
    if (line.contains("sni") || line.contains("interfaces=[")) {
        const QRegularExpressionMatch echo = echoPattern().match(QString::fromUtf8(line));
        // A new capture: the packet before it is read as its own capture printed it.
        if (echo.hasMatch() || line.contains("interfaces=["))
            close();
        if (echo.hasMatch()) {
            summary.captureInterface = echo.captured(1).toUtf8();
            summary.verbose = echo.captured(2).toInt();
            summary.timestampLetter = echo.captured(3).isEmpty() ? 'r' : echo.captured(3).at(0).toLatin1();
        } else if (const qsizetype at = line.indexOf("interfaces=["); at >= 0) {
            const qsizetype end = line.indexOf(']', at);
            if (end > at)
                summary.captureInterface = line.sliced(at + 12, end - at - 12).toByteArray();
        }
    }
    // Before the first hex line, an indented line is the decoder's own (a second decode line).
    if (open && hasHeader && packet.bytes.isEmpty() && indented && packet.header.count('\n') < 8) {
        packet.header += '\n' + line.trimmed().toByteArray();
        return;
    }
    if (open && !packet.bytes.isEmpty() && suspects.size() < suspectLimit)
        suspects << number;
    else
        ++summary.otherLines;
}

void SnifferReader::Private::header(QByteArrayView line, const Stamp &stamp)
{
    close();
    open = true;
    hasHeader = true;
    packet = SnifferPacket();
    packet.timeText = line.first(stamp.length - 1).toByteArray();
    if (summary.timeForm == TimeForm::unknown)
        summary.timeForm = stamp.form;
    else if (summary.timeForm != stamp.form)
        summary.timeForm = TimeForm::mixed;
    if (!stamp.valid)
        warn(summary.lines, QStringLiteral("%1 is not a valid time: the packet keeps the previous one's")
                                .arg(excerpt(packet.timeText)));
    packet.timeMicros = !stamp.valid                       ? previousMicros
                        : stamp.form == TimeForm::relative ? options.startMicros.value_or(0) + stamp.micros
                                                           : absoluteMicros(stamp.micros);
    QByteArrayView rest = line.sliced(stamp.length);
    // "<interface> <in|out|--> <summary>" at verbose 4 to 6.
    const qsizetype space = rest.indexOf(' ');
    if (space > 0) {
        const QByteArrayView after = rest.sliced(space + 1);
        for (const auto &[word, direction] : {std::pair{QByteArrayView("in"), SnifferPacket::Direction::in},
                                              std::pair{QByteArrayView("out"), SnifferPacket::Direction::out},
                                              std::pair{QByteArrayView("--"), SnifferPacket::Direction::unknown}}) {
            if (after.startsWith(word) && (after.size() == word.size() || after[word.size()] == ' ')) {
                packet.interfaceName = rest.first(space).toByteArray();
                packet.direction = direction;
                rest = after.sliced(std::min(after.size(), word.size() + 1));
                break;
            }
        }
    }
    if (packet.interfaceName.isEmpty())
        packet.interfaceName = summary.captureInterface;
    while (!rest.isEmpty() && isBlank(rest.back()))
        rest.chop(1);
    packet.header = rest.toByteArray();
}

qint64 SnifferReader::Private::absoluteMicros(qint64 printedAsUtc)
{
    // 'a' in the echoed command is UTC whatever the user says of the appliance's zone.
    const bool local = summary.timestampLetter == 'l' || (options.utcOffsetSeconds && summary.timestampLetter != 'a');
    if (!local)
        return printedAsUtc;
    if (options.utcOffsetSeconds)
        return printedAsUtc - qint64(*options.utcOffsetSeconds) * microsPerSecond;
    const qint64 hour = printedAsUtc / (3600 * microsPerSecond) - (printedAsUtc % (3600 * microsPerSecond) < 0);
    auto found = zoneOffsets.constFind(hour);
    if (found == zoneOffsets.cend()) {
        const QDateTime asUtc = QDateTime::fromSecsSinceEpoch(hour * 3600, Qt::UTC);
        const QDateTime local = QDateTime(asUtc.date(), asUtc.time(), QTimeZone::systemTimeZone());
        found = zoneOffsets.insert(hour, local.isValid() ? local.offsetFromUtc() : 0);
    }
    return printedAsUtc - qint64(*found) * microsPerSecond;
}

void SnifferReader::Private::hex(QByteArrayView line, const HexLine &parsed)
{
    const qint64 number = summary.lines;
    if (parsed.offset == 0 && open && !packet.bytes.isEmpty())
        close();
    if (!open) {
        if (parsed.offset != 0) {
            warn(number, QStringLiteral("a hex line with no packet to belong to: skipped"));
            return;
        }
        open = true;
        hasHeader = false;
        packet = SnifferPacket();
        packet.firstLine = number;
        packet.timeMicros = previousMicros;
        packet.interfaceName = summary.captureInterface;
        packet.note = QStringLiteral("No header line was printed before this dump; its time is the previous packet's.");
        warn(number, QStringLiteral("a dump with no header line before it: kept with the previous packet's time"));
    }
    if (parsed.offset != 0 && parsed.offset < expectedOffset) {
        warn(number, QStringLiteral("the hex line at offset 0x%1 repeats an earlier one: skipped")
                         .arg(parsed.offset, 4, 16, QLatin1Char('0')));
        return;
    }
    for (const qint64 suspect : std::as_const(suspects))
        warn(suspect, QStringLiteral("a line inside the dump that is not hex: skipped"));
    summary.otherLines += suspects.size();
    suspects.clear();
    if (shortLine)
        warn(shortLine,
             QStringLiteral("a hex line of fewer than 16 bytes inside the dump: the bytes are kept as printed"));
    shortLine = 0;
    if (parsed.offset != expectedOffset)
        warn(number, QStringLiteral("offset 0x%1 where 0x%2 was expected: %3 bytes are missing, not made up")
                         .arg(parsed.offset, 4, 16, QLatin1Char('0'))
                         .arg(expectedOffset, 4, 16, QLatin1Char('0'))
                         .arg(parsed.offset - expectedOffset));
    if (!parsed.textMatches && !textWarned) {
        textWarned = true;
        warn(number, QStringLiteral("the text column does not show these hex bytes: the hex is taken"));
    }
    packet.bytes.append(reinterpret_cast<const char *>(parsed.bytes.data()), parsed.count);
    packet.lastLine = number;
    expectedOffset = parsed.offset + 16;
    if (parsed.count < 16)
        shortLine = number;
    lastHexComplete = parsed.count == 16 || parsed.hasText;
    Q_UNUSED(line)
}

void SnifferReader::Private::close()
{
    if (!open)
        return;
    open = false;
    summary.otherLines += suspects.size();
    suspects.clear();
    shortLine = 0;
    expectedOffset = 0;
    textWarned = false;
    if (packet.bytes.isEmpty()) {
        ++summary.headersOnly;
        if (summary.packets > 0)
            warn(packet.firstLine, QStringLiteral("a packet header with no bytes after it: not in the capture"));
        else if (pendingHeadersOnly.size() < pendingLimit)
            pendingHeadersOnly << packet.firstLine;
        else
            ++pendingDropped;
        return;
    }
    emitPacket();
}

bool SnifferReader::Private::decideLink()
{
    const QByteArrayView b = packet.bytes;
    const bool networkLayer = summary.verbose == 2 || summary.verbose == 5;
    if (!networkLayer && isEthernet(b)) {
        packet.link = SnifferPacket::Link::ethernet;
    } else if (isIpv4(b) || isIpv6(b)) {
        packet.link = SnifferPacket::Link::rawIp;
    } else if (isArp(b)) {
        // No capture link type carries a bare ARP header: give it the Ethernet header it came in.
        const bool reply = b[6] == 0 && b[7] == 2;
        QByteArray frame = reply ? b.sliced(18, 6).toByteArray() : QByteArray(6, char(0xff));
        frame += b.sliced(8, 6).toByteArray();
        frame += QByteArray("\x08\x06", 2);
        packet.bytes.prepend(frame);
        packet.link = SnifferPacket::Link::ethernet;
        packet.note =
            QStringLiteral("The Ethernet header is made up: the sniffer printed this ARP packet without one.");
        return true;
    } else if (networkLayer) {
        packet.link = SnifferPacket::Link::rawIp;
        warn(packet.firstLine, QStringLiteral("bytes that are neither IP nor ARP where the sniffer prints from the IP "
                                              "header: kept as raw IP"));
    } else {
        packet.link = SnifferPacket::Link::ethernet;
    }
    return false;
}

void SnifferReader::Private::emitPacket()
{
    if (!pendingHeadersOnly.isEmpty() || pendingDropped) {
        for (const qint64 line : std::as_const(pendingHeadersOnly))
            warn(line, QStringLiteral("a packet header with no bytes after it: not in the capture"));
        summary.warnings += pendingDropped;
        pendingHeadersOnly.clear();
        pendingDropped = 0;
    }
    const bool madeUp = decideLink();
    const QByteArrayView b = packet.bytes;
    packet.originalLength =
        std::max<qint64>(b.size(), packet.link == SnifferPacket::Link::rawIp                ? wireLength(b, 0)
                                   : b.size() >= 14 && (b[12] == 8 || uchar(b[12]) == 0x86) ? wireLength(b, 14)
                                                                                            : 0);
    // The header the sniffer makes up on "any" tells, by its destination, how the packet came; where the
    // verbose level prints no direction (3), it is the only hint.
    if (packet.link == SnifferPacket::Link::ethernet && b.size() >= 6 && !madeUp) {
        using Direction = SnifferPacket::Direction;
        const auto is = [&](const char(&address)[7]) { return std::memcmp(b.data(), address, 6) == 0; };
        const bool unknown = packet.direction == Direction::unknown;
        if (is("\xff\xff\xff\xff\xff\xff")) {
            packet.reception = SnifferPacket::Reception::broadcast;
            if (unknown && summary.captureInterface == "any")
                packet.direction = Direction::in;
        } else if (is("\x00\x00\x00\x00\x00\x01") || is("\x01\x00\x00\x00\x00\x00")) {
            packet.reception = b[0] ? SnifferPacket::Reception::multicast : SnifferPacket::Reception::unicast;
            if (unknown)
                packet.direction = Direction::in;
        } else if (is("\x00\x00\x00\x00\x00\x00") && unknown) {
            packet.direction = Direction::out;
        }
    }
    previousMicros = packet.timeMicros;
    ++summary.packets;
    if (packets)
        packets(std::move(packet));
    packet = SnifferPacket();
}

std::optional<qint64> SnifferReader::lastRelativeMicros(QByteArrayView text)
{
    while (!text.isEmpty()) {
        qsizetype end = text.size();
        while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r'))
            --end;
        qsizetype start = end;
        while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
            --start;
        const QByteArrayView line = withoutPrefix(text.sliced(start, end - start));
        const Stamp stamp = stampAt(line);
        if (stamp.form == TimeForm::relative && stamp.length < line.size())
            return stamp.micros;
        if (stamp.form == TimeForm::absolute)
            return std::nullopt;
        text = text.first(start);
    }
    return std::nullopt;
}

bool SnifferReader::looksLikeText(QByteArrayView start)
{
    return !start.first(std::min<qsizetype>(start.size(), 4096)).contains('\0');
}
