#include "flowreader.h"

#include "text.h"
#include "textlines.h"

#include <QHash>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace {

using View = QByteArrayView;

constexpr qsizetype maxLine = 1 << 20;      // longer physical lines are cut
constexpr qsizetype maxRecord = 64 * 1024;  // a record is cut past this
constexpr int maxRecordLines = 16;          // physical lines one wrapped record may span
constexpr qsizetype maxTraceRecords = 2000; // records kept per trace; later ones only give facts
constexpr qsizetype openPerTag = 8;         // a chassis interleaves a few processors' traces
constexpr qsizetype maxPending = 4096;      // traces started and not yet given out
// A chassis processor that stops printing must not hold back every later trace: its trace is complete
// once this many records of others have come since its last one.
constexpr qint64 staleAfter = 512;
constexpr qsizetype maxSessions = 1 << 16; // sessions remembered for inheritance: replies come soon after

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

View trimmedRight(View s)
{
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

View trimmedLeft(View s)
{
    qsizetype pos = 0;
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
    return s.sliced(pos);
}

// Prefix tests on literals without measuring them at run time: they run for every record.
template <qsizetype N> bool starts(View s, const char (&prefix)[N])
{
    return s.size() >= N - 1 && std::memcmp(s.data(), prefix, N - 1) == 0;
}

template <qsizetype N> std::optional<View> prefixed(View s, const char (&prefix)[N])
{
    return starts(s, prefix) ? std::optional(s.sliced(N - 1)) : std::nullopt;
}

template <qsizetype N> bool ends(View s, const char (&suffix)[N])
{
    return s.size() >= N - 1 && std::memcmp(s.data() + s.size() - (N - 1), suffix, N - 1) == 0;
}

bool startsWithNoCase(View s, View prefix)
{
    return s.size() >= prefix.size() && s.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

// The digits at the start of s, at most 18 of them.
std::optional<qint64> numberAt(View s)
{
    qint64 value = 0;
    qsizetype pos = 0;
    while (pos < s.size() && pos < 18 && isDigit(s[pos]))
        value = value * 10 + (s[pos++] - '0');
    if (pos == 0)
        return std::nullopt;
    return value;
}

// The text after the first marker in s, or nothing.
std::optional<View> after(View s, View marker)
{
    const qsizetype at = s.indexOf(marker);
    if (at < 0)
        return std::nullopt;
    return s.sliced(at + marker.size());
}

// Up to the first of the stop characters (or blank).
View token(View s, View stops = ",")
{
    qsizetype pos = 0;
    if (stops.isEmpty()) {
        while (pos < s.size() && !isBlank(s[pos]))
            ++pos;
        return s.first(pos);
    }
    const auto stop = [&](char c) {
        for (const char s : stops) {
            if (c == s)
                return true;
        }
        return false;
    };
    while (pos < s.size() && !isBlank(s[pos]) && !stop(s[pos]))
        ++pos;
    return s.first(pos);
}

// "10.0.0.1:443", "3ff5::100:10001": the port is after the last colon.
FlowEndpoint endpoint(View s)
{
    FlowEndpoint out;
    const qsizetype colon = s.lastIndexOf(':');
    const View digits = s.sliced(colon + 1);
    const auto port = colon > 0 && digits.size() <= 5 ? numberAt(digits) : std::nullopt;
    if (port && std::all_of(digits.begin(), digits.end(), isDigit) && *port <= 65535) {
        out.address = s.first(colon).toByteArray();
        out.port = int(*port);
    } else {
        out.address = s.toByteArray();
    }
    return out;
}

// The fields a record starts with, in the order the appliance prints them.
enum class Key { none, id, pri, traceId, func, line, msg };

Key keyAt(View s)
{
    const auto digitAfter = [&](qsizetype at) { return s.size() > at && isDigit(s[at]); };
    if (starts(s, "id="))
        return digitAfter(3) ? Key::id : Key::none;
    if (starts(s, "trace_id="))
        return digitAfter(9) ? Key::traceId : Key::none;
    if (starts(s, "msg=\""))
        return Key::msg;
    if (starts(s, "func="))
        return Key::func;
    if (starts(s, "pri="))
        return Key::pri;
    if (starts(s, "line="))
        return digitAfter(5) ? Key::line : Key::none;
    return Key::none;
}

// The last field key among the blank-separated words of a record's start.
Key lastKeyIn(View s)
{
    Key last = Key::none;
    for (qsizetype pos = 0; pos < s.size();) {
        if (isBlank(s[pos])) {
            ++pos;
            continue;
        }
        const Key key = keyAt(s.sliced(pos));
        if (key > last)
            last = key;
        while (pos < s.size() && !isBlank(s[pos]))
            ++pos;
    }
    return last;
}

bool timestampAt(View s)
{
    static constexpr char shape[] = "dddd-dd-dd dd:dd:dd ";
    if (s.size() < 20)
        return false;
    for (int i = 0; i < 20; ++i) {
        if (shape[i] == 'd' ? !isDigit(s[i]) : s[i] != shape[i])
            return false;
    }
    return true;
}

// "FGT # ", "FGT1 (Vdom1) # ": the length of a CLI prompt at the start of s, 0 for none.
qsizetype promptLength(View s)
{
    qsizetype pos = 0;
    while (pos < s.size() && pos <= 64 && !isBlank(s[pos]) && s[pos] != '#' && s[pos] != '"')
        ++pos;
    if (pos == 0 || pos > 64 || pos >= s.size())
        return 0;
    if (s.sliced(pos).startsWith(" (")) {
        const qsizetype close = s.indexOf(')', pos);
        if (close < 0 || close - pos > 40)
            return 0;
        pos = close + 1;
    }
    if (!s.sliced(pos).startsWith(" #"))
        return 0;
    pos += 2;
    if (pos < s.size() && !isBlank(s[pos]))
        return 0;
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
    return pos;
}

// What precedes the first field of a record: a chassis tag, a prompt, a console timestamp.
struct Start {
    qsizetype key = -1; // where the first field starts
    Key first = Key::none;
    View tag;
    View time;
    bool prefixed = false;
};

bool startAt(View s, Start &out)
{
    qsizetype pos = 0;
    bool tag = false, time = false, prompt = false;
    for (;;) {
        const View rest = s.sliced(pos);
        if (const Key key = keyAt(rest); key != Key::none) {
            out.key = pos;
            out.first = key;
            out.prefixed = pos > 0;
            return true;
        }
        if (!tag && rest.startsWith('[')) {
            const qsizetype close = rest.indexOf(']');
            if (close < 2 || close > 24)
                return false;
            for (const char c : rest.sliced(1, close - 1)) {
                if (!(isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '-'))
                    return false;
            }
            out.tag = rest.sliced(1, close - 1);
            pos += close + 1;
            tag = true;
        } else if (!time && timestampAt(rest)) {
            out.time = rest.first(19);
            pos += 20;
            time = true;
        } else if (const qsizetype length = prompt ? 0 : promptLength(rest); length > 0) {
            pos += length;
            prompt = true;
        } else {
            return false;
        }
        while (pos < s.size() && isBlank(s[pos]))
            ++pos;
    }
}

// Indentation, mail quoting, Markdown bold or code marks before a record.
qsizetype decorationLength(View s)
{
    qsizetype pos = 0;
    while (pos < s.size() && (isBlank(s[pos]) || s[pos] == '>' || s[pos] == '*' || s[pos] == '`'))
        ++pos;
    return pos;
}

// Author ellipses, prompts and echoed commands: they end a record left open.
bool isNoise(View s)
{
    return s.startsWith("...") || s.startsWith("\xe2\x80\xa6") || s.startsWith('#') || promptLength(s) > 0;
}

// Where `msg="` starts, from its quote: the first quote of a record is nearly always that one.
qsizetype msgAt(View s, qsizetype from)
{
    for (qsizetype quote = s.indexOf('"', from + 4); quote >= 0; quote = s.indexOf('"', quote + 1)) {
        if (std::memcmp(s.data() + quote - 4, "msg=", 4) == 0)
            return quote - 4;
    }
    return -1;
}

bool isReceive(View m)
{
    return starts(m, "vd-") && m.indexOf(" received a packet") > 0;
}

// Whether the line holds a control character, DEL, a byte beyond ASCII or an '&', eight bytes at a time.
bool needsRepair(View line)
{
    constexpr quint64 ones = 0x0101010101010101, highs = 0x8080808080808080;
    const char *data = line.data();
    const qsizetype size = line.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 x;
        std::memcpy(&x, data + i, 8);
        const quint64 below = (x - 0x20 * ones) & ~x;
        const quint64 del = ((x ^ 0x7f * ones) - ones) & ~(x ^ 0x7f * ones);
        const quint64 amp = ((x ^ '&' * ones) - ones) & ~(x ^ '&' * ones);
        if ((x | below | del | amp) & highs)
            return true;
    }
    for (; i < size; ++i) {
        const unsigned char c = uchar(data[i]);
        if (c < 0x20 || c >= 0x7f || c == '&')
            return true;
    }
    return false;
}

void appendUtf8(QByteArray &out, uint code)
{
    if (code == '\n' || code == '\r') {
        out += '\n';
    } else if (code < 0x20 || code == 0x7f || code > 0x10ffff || (code >= 0xd800 && code < 0xe000)) {
        out += ' ';
    } else if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xc0 | code >> 6);
        out += char(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += char(0xe0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3f));
        out += char(0x80 | (code & 0x3f));
    } else {
        out += char(0xf0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3f));
        out += char(0x80 | (code >> 6 & 0x3f));
        out += char(0x80 | (code & 0x3f));
    }
}

// HTML entities put back; "&#10;" becomes a line break, which the caller splits on.
QByteArray withoutEntities(View s)
{
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const qsizetype semicolon = s[i] == '&' ? s.sliced(i, std::min<qsizetype>(12, s.size() - i)).indexOf(';') : -1;
        if (semicolon < 2) {
            out += s[i];
            continue;
        }
        const View name = s.sliced(i + 1, semicolon - 1);
        static constexpr std::pair<const char *, char> named[] = {{"quot", '"'}, {"gt", '>'},    {"lt", '<'},
                                                                  {"amp", '&'},  {"apos", '\''}, {"nbsp", ' '}};
        bool known = false;
        for (const auto &[entity, c] : named) {
            if (name == View(entity)) {
                out += c;
                known = true;
            }
        }
        if (!known && name[0] == '#') {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            const uint code = QByteArray(name.sliced(hex ? 2 : 1).toByteArray()).toUInt(&ok, hex ? 16 : 10);
            if (ok) {
                appendUtf8(out, code);
                known = true;
            }
        }
        if (!known) {
            out += s[i];
            continue;
        }
        i += semicolon;
    }
    return out;
}

// Typographic quotes a web page or a word processor put for '"'.
QByteArray withPlainQuotes(QByteArray s)
{
    static constexpr View quotes[] = {"\xe2\x80\x9c", "\xe2\x80\x9d", "\xe2\x80\x9e", "\xe2\x80\x9f",
                                      "\xe2\x80\xb3", "\xe2\x80\xb6", "\xc2\xab",     "\xc2\xbb",
                                      "\xe3\x80\x9d", "\xe3\x80\x9e", "\xe3\x80\x9f", "\xef\xbc\x82"};
    if (!s.contains('\xe2') && !s.contains('\xc2') && !s.contains('\xe3') && !s.contains('\xef'))
        return s;
    for (const View quote : quotes)
        s.replace(quote, "\"");
    return s;
}

QByteArray repaired(View line)
{
    QByteArray out = TextLines::needsCleaning(line) ? TextLines::cleaned(line) : line.toByteArray();
    if (out.contains('&'))
        out = withoutEntities(out);
    return withPlainQuotes(std::move(out));
}

QString shownId(qint64 traceId)
{
    return traceId < 0 ? QStringLiteral("records without trace_id") : QStringLiteral("trace_id=%1").arg(traceId);
}

struct TraceKey {
    QByteArray tag;
    qint64 id = -1;
    bool operator==(const TraceKey &) const = default;
};

size_t qHash(const TraceKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.tag, key.id);
}

// Small and flat, so that the lookups of a full table stay in cache: the chassis tag is kept by its hash
// here and compared whole in the slot found.
struct SessionKey {
    quint64 id = 0;
    size_t tag = 0;
    bool operator==(const SessionKey &) const = default;
};

size_t qHash(const SessionKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.id, key.tag);
}

std::optional<quint64> sessionNumber(const QByteArray &hex)
{
    bool ok = false;
    const quint64 value = hex.toULongLong(&ok, 16);
    return ok && hex.size() <= 16 ? std::optional(value) : std::nullopt;
}

// What the trace that created a session decided, for its later packets.
struct SessionEntry {
    qint64 index = -1;
    std::optional<qint64> policyId;
    bool localIn = false;
    std::optional<FlowEndpoint> snat;
    std::optional<FlowEndpoint> dnat;
    bool vip = false;
};

struct SessionSlot {
    SessionKey key;
    QByteArray tag;
    SessionEntry entry;
};

// A trace started and not yet given out.
struct Open {
    FlowTrace trace;
    bool open = true;
    qint64 lastRecord = 0; // the reading's record count at its last record
    qint64 skipped = 0;    // records past maxTraceRecords
    qsizetype drop = -2;   // the first drop's record (-1 when it was not kept), -2 for none
    FlowDropReason dropReason = FlowDropReason::none;
    qsizetype allowed = -2;
    qsizetype localRoute = -2;
    qsizetype existing = -2;
    qsizetype ipropeDrop = -2; // the last group check, where it said act-drop
};

} // namespace

struct FlowReader::Private {
    TraceSink traces;
    WarningSink warnings;
    Summary summary;
    TextLines lines{maxLine};
    bool ended = false;

    // The record being put back together.
    struct Pending {
        bool active = false;
        QByteArray text;   // from its first prefix on, its lines joined
        QByteArray indent; // its first line's decoration, taken off its continuations too
        qint64 line = 0;
        qint64 lastLine = 0;
        int lines = 0;
        // Offsets from the record's start: where the msg text starts (-1 before msg="), where to look on
        // for msg=" or the closing quote.
        qsizetype msg = -1;
        qsizetype scan = 0;
        Key lastKey = Key::none;
    } pending;

    std::deque<std::unique_ptr<Open>> queue; // in the order the traces started
    QHash<TraceKey, Open *> byKey;           // the open trace records of a key join
    QHash<QByteArray, QList<Open *>> openByTag;
    qint64 nextIndex = 0;

    // The sessions created last, in a ring: the oldest is forgotten first.
    QHash<SessionKey, qsizetype> sessions;
    std::vector<SessionSlot> sessionSlots;
    qsizetype nextSlot = 0;
    bool sessionsWarned = false;

    SessionSlot *session(const SessionKey &key, const QByteArray &tag)
    {
        const auto found = sessions.constFind(key);
        SessionSlot *slot = found == sessions.cend() ? nullptr : &sessionSlots[size_t(*found)];
        return slot && slot->tag == tag ? slot : nullptr;
    }
    void remember(const SessionKey &key, const QByteArray &tag, SessionEntry &&entry, qint64 line);

    // The few kernel function names, shared rather than allocated for every record.
    std::array<QByteArray, 64> functions;
    QByteArray functionName(View name)
    {
        if (name.isEmpty())
            return {};
        QByteArray &slot =
            functions[size_t(name.size() * 31 + uchar(name[name.size() / 2]) * 7 + uchar(name.back())) % 64];
        if (slot != name)
            slot = name.toByteArray();
        return slot;
    }

    void warn(qint64 line, const QString &text)
    {
        ++summary.warnings;
        if (warnings)
            warnings({line, text});
    }

    void physicalLine(View line);
    void logicalLine(View line, qint64 number);
    void begin(View text, View indent, qint64 number);
    void advance(View text, qsizetype from);
    void keep(View text, qsizetype from);
    void closeTruncated(const QString &why = {});
    void record(View raw, qsizetype msgStart, qsizetype msgEnd, bool truncated, qint64 first, qint64 last,
                const QString &why = {});
    Open *startTrace(const TraceKey &key, qint64 line, View time);
    void apply(Open &open, FlowRecord &record, qsizetype index);
    void closeTrace(Open *open);
    void flush();
    void give(FlowTrace &trace);
};

void FlowReader::Private::physicalLine(View line)
{
    const qint64 number = ++summary.lines;
    if (const qsizetype cut = lines.cutBytes())
        warn(number, QStringLiteral("the line is longer than 1 MiB: its last %1 bytes were skipped").arg(cut));
    if (!needsRepair(line)) {
        logicalLine(line, number);
        return;
    }
    const QByteArray fixed = repaired(line);
    View rest = fixed;
    for (qsizetype at = rest.indexOf('\n'); at >= 0; at = rest.indexOf('\n')) {
        logicalLine(rest.first(at), number);
        rest = rest.sliced(at + 1);
    }
    logicalLine(rest, number);
}

void FlowReader::Private::logicalLine(View line, qint64 number)
{
    const qsizetype decoration = decorationLength(line);
    const View body = line.sliced(decoration);
    if (trimmedRight(body).isEmpty()) {
        closeTruncated();
        return;
    }
    Start start;
    const bool starts = startAt(body, start);
    if (pending.active) {
        // A start wrapped before msg=" goes on with its next field.
        const bool nextField = starts && pending.msg < 0 && !start.prefixed && start.first > pending.lastKey;
        if (!nextField && starts) {
            closeTruncated();
        } else if (!nextField && isNoise(body)) {
            closeTruncated();
            ++summary.otherLines;
            return;
        } else if (pending.lines >= maxRecordLines || pending.text.size() + line.size() > maxRecord) {
            closeTruncated(QStringLiteral("a record runs on over %1 lines or 64 KiB without its closing quote: "
                                          "kept as far as that, marked truncated")
                               .arg(maxRecordLines));
            ++summary.otherLines;
            return;
        } else {
            pending.text += line.startsWith(pending.indent) ? line.sliced(pending.indent.size()) : line;
            ++pending.lines;
            pending.lastLine = number;
            advance(pending.text, 0);
            return;
        }
    }
    if (!starts) {
        ++summary.otherLines;
        return;
    }
    begin(body, line.first(decoration), number);
}

void FlowReader::Private::begin(View text, View indent, qint64 number)
{
    pending.active = true;
    pending.indent = indent.toByteArray();
    pending.line = pending.lastLine = number;
    pending.lines = 1;
    pending.msg = -1;
    pending.scan = 0;
    pending.lastKey = Key::none;
    advance(text, 0);
}

// Reads the record that starts at from, and those joined after it on its line; keeps one left open.
void FlowReader::Private::advance(View text, qsizetype from)
{
    for (;;) {
        const View rest = text.sliced(from);
        if (pending.msg < 0) {
            const qsizetype at = msgAt(rest, pending.scan);
            if (at < 0) {
                pending.scan = std::max<qsizetype>(0, rest.size() - 4);
                pending.lastKey = lastKeyIn(rest);
                keep(text, from);
                return;
            }
            pending.msg = pending.scan = at + 5;
        }
        // The closing quote is one followed by the line's end, by a blank (an annotation or the next
        // record of a joined line), or by Markdown marks.
        bool joined = false;
        for (qsizetype quote = rest.indexOf('"', pending.scan); quote >= 0; quote = rest.indexOf('"', quote + 1)) {
            const View tail = rest.sliced(quote + 1);
            qsizetype marks = 0;
            while (marks < tail.size() && (tail[marks] == '*' || tail[marks] == '`'))
                ++marks;
            if (marks < tail.size() && !isBlank(tail[marks]))
                continue;
            const View next = trimmedLeft(tail.sliced(marks));
            Start start;
            if (!next.isEmpty() && startAt(next, start)) {
                record(rest.first(quote + 1), pending.msg, quote, false, pending.line, pending.lastLine);
                from = next.data() - text.data();
                pending.line = pending.lastLine;
                pending.lines = 1;
                pending.msg = -1;
                pending.scan = 0;
                joined = true;
                break;
            }
            record(rest, pending.msg, quote, false, pending.line, pending.lastLine);
            pending.active = false;
            return;
        }
        if (joined)
            continue;
        pending.scan = rest.size();
        keep(text, from);
        return;
    }
}

void FlowReader::Private::keep(View text, qsizetype from)
{
    if (text.data() == pending.text.constData())
        pending.text.remove(0, from);
    else
        pending.text = text.sliced(from).toByteArray();
}

void FlowReader::Private::closeTruncated(const QString &why)
{
    if (!pending.active)
        return;
    pending.active = false;
    const View text = trimmedRight(pending.text);
    record(text, pending.msg, pending.msg < 0 ? -1 : std::max(pending.msg, text.size()), true, pending.line,
           pending.lastLine, why);
}

void FlowReader::Private::record(View raw, qsizetype msgStart, qsizetype msgEnd, bool truncated, qint64 first,
                                 qint64 last, const QString &why)
{
    Start start;
    startAt(raw, start);
    const qsizetype key = std::max<qsizetype>(start.key, 0);
    const View fields = raw.sliced(key, std::max<qsizetype>(0, (msgStart < 0 ? raw.size() : msgStart - 5) - key));
    // The fields one by one; searched for where a wrapped start glued two together.
    qint64 traceId = -1;
    View function;
    for (qsizetype pos = 0; pos < fields.size();) {
        const View field = token(fields.sliced(pos), "");
        const Key key = keyAt(field);
        if (key == Key::traceId)
            traceId = numberAt(field.sliced(9)).value_or(-1);
        else if (key == Key::func)
            function = field.sliced(5);
        pos += field.size();
        while (pos < fields.size() && isBlank(fields[pos]))
            ++pos;
    }
    if (traceId < 0) {
        if (const auto id = after(fields, "trace_id="))
            traceId = numberAt(*id).value_or(-1);
    }
    if (function.isEmpty()) {
        if (const auto name = after(fields, "func="))
            function = token(*name, "");
    }
    if (traceId < 0 && msgStart < 0) {
        summary.otherLines += last - first + 1;
        return;
    }
    FlowRecord record;
    record.line = first;
    record.lastLine = last;
    record.truncated = truncated;
    if (const qsizetype line = function.contains('=') ? function.indexOf("line=") : -1; line > 0)
        function = function.first(line);
    record.function = functionName(function);
    if (msgStart >= 0)
        record.message = raw.sliced(msgStart, std::min(msgEnd - msgStart, maxRecord)).toByteArray();
    record.raw = raw.first(std::min(raw.size(), maxRecord)).toByteArray();
    ++summary.records;
    if (raw.size() > maxRecord)
        warn(first, QStringLiteral("a record longer than 64 KiB: kept to its first 64 KiB"));
    if (truncated)
        warn(first, !why.isEmpty() ? why
                    : msgStart < 0 ? QStringLiteral("a record that ends before its msg=: kept without a message, "
                                                    "marked truncated")
                                   : QStringLiteral("a record with no closing quote: kept as far as it goes, marked "
                                                    "truncated"));

    const TraceKey traceKey{start.tag.toByteArray(), traceId};
    const bool receive = isReceive(record.message);
    Open *open = receive ? nullptr : byKey.value(traceKey);
    if (!open) {
        open = startTrace(traceKey, first, start.time);
        if (!receive) {
            warn(first, QStringLiteral("%1 with no \"received a packet\" record before them: read as a packet of "
                                       "their own")
                            .arg(shownId(traceId)));
        }
    }
    FlowTrace &trace = open->trace;
    trace.lastLine = last;
    open->lastRecord = summary.records;
    const bool kept = trace.records.size() < maxTraceRecords;
    apply(*open, record, kept ? trace.records.size() : -1);
    if (kept)
        trace.records.append(std::move(record));
    else
        ++open->skipped;
}

Open *FlowReader::Private::startTrace(const TraceKey &key, qint64 line, View time)
{
    if (Open *same = byKey.value(key))
        closeTrace(same);
    if (const auto tag = openByTag.constFind(key.tag); tag != openByTag.cend() && tag->size() >= openPerTag) {
        Open *oldest = tag->front();
        closeTrace(oldest);
    }
    for (flush(); !queue.empty() && summary.records - queue.front()->lastRecord > staleAfter; flush())
        closeTrace(queue.front().get());
    while (qsizetype(queue.size()) >= maxPending) {
        warn(line,
             QStringLiteral("more than %1 traces are open at once: the oldest is taken as complete").arg(maxPending));
        closeTrace(queue.front().get());
        flush();
    }
    auto created = std::make_unique<Open>();
    Open *trace = created.get();
    trace->trace.index = nextIndex++;
    trace->trace.chassis = key.tag;
    trace->trace.traceId = key.id;
    trace->trace.firstLine = line;
    trace->trace.time = time.toByteArray();
    trace->trace.records.reserve(16);
    queue.push_back(std::move(created));
    openByTag[key.tag].append(trace);
    byKey.insert(key, trace);
    return trace;
}

void FlowReader::Private::closeTrace(Open *open)
{
    if (!open->open)
        return;
    open->open = false;
    FlowTrace &t = open->trace;
    const TraceKey key{t.chassis, t.traceId};
    if (byKey.value(key) == open)
        byKey.remove(key);
    auto tag = openByTag.find(t.chassis);
    if (tag != openByTag.end()) {
        tag->removeOne(open);
        if (tag->isEmpty())
            openByTag.erase(tag);
    }
    if (open->skipped > 0)
        warn(t.firstLine, QStringLiteral("%1 has more than %2 records: the %3 after them were read for its facts "
                                         "but not kept")
                              .arg(shownId(t.traceId))
                              .arg(maxTraceRecords)
                              .arg(open->skipped));
    const auto decided = [&](FlowVerdict verdict, qsizetype record) {
        t.verdict = verdict;
        t.verdictRecord = std::max<qsizetype>(record, -1);
    };
    if (open->drop > -2) {
        decided(FlowVerdict::dropped, open->drop);
        t.dropReason = open->dropReason;
    } else if (open->allowed > -2) {
        decided(FlowVerdict::allowed, open->allowed);
    } else if (open->ipropeDrop > -2) {
        decided(FlowVerdict::dropped, open->ipropeDrop);
        t.dropReason = FlowDropReason::iprope;
    } else if (t.local) {
        decided(FlowVerdict::allowed, open->localRoute);
    } else if (t.session == FlowTrace::Session::existing) {
        decided(FlowVerdict::forwarded, open->existing);
    }
}

void FlowReader::Private::flush()
{
    while (!queue.empty() && !queue.front()->open) {
        std::unique_ptr<Open> done = std::move(queue.front());
        queue.pop_front();
        give(done->trace);
    }
}

void FlowReader::Private::give(FlowTrace &t)
{
    const std::optional<quint64> number = sessionNumber(t.sessionId);
    const SessionKey key{number.value_or(0), qHash(t.chassis)};
    if (number && t.session == FlowTrace::Session::existing) {
        if (const SessionSlot *slot = session(key, t.chassis)) {
            const SessionEntry &found = slot->entry;
            bool inherited = false;
            if (!t.policyId && found.policyId) {
                t.policyId = found.policyId;
                t.localInPolicy = found.localIn;
                t.policyInherited = inherited = true;
            }
            // NAT is taken whole or not at all, so that what is shown is one trace's.
            if (!t.snat && !t.dnat && (found.snat || found.dnat)) {
                t.snat = found.snat;
                t.dnat = found.dnat;
                t.vip = found.vip;
                t.natInherited = inherited = true;
            }
            if (inherited)
                t.inheritedFrom = found.index;
        }
    } else if (number && t.session == FlowTrace::Session::created) {
        remember(key, t.chassis, SessionEntry{t.index, t.policyId, t.localInPolicy, t.snat, t.dnat, t.vip},
                 t.firstLine);
    }
    ++summary.traces;
    if (traces)
        traces(std::move(t));
}

void FlowReader::Private::remember(const SessionKey &key, const QByteArray &tag, SessionEntry &&entry, qint64 line)
{
    const auto found = sessions.constFind(key);
    qsizetype index = found == sessions.cend() ? -1 : *found;
    if (index < 0) {
        index = nextSlot;
        nextSlot = (nextSlot + 1) % maxSessions;
        if (index == qsizetype(sessionSlots.size())) {
            sessionSlots.emplace_back();
        } else {
            sessions.remove(sessionSlots[size_t(index)].key);
            if (!sessionsWarned) {
                sessionsWarned = true;
                warn(line, QStringLiteral("more than %1 sessions: the oldest are forgotten, so later packets of "
                                          "theirs inherit no policy or NAT")
                               .arg(maxSessions));
            }
        }
        sessions.insert(key, index);
    }
    // Two chassis tags of one hash share a slot: the later session wins, as it would in the ring anyway.
    sessionSlots[size_t(index)] = SessionSlot{key, tag, std::move(entry)};
}

void FlowReader::Private::apply(Open &open, FlowRecord &record, qsizetype index)
{
    FlowTrace &t = open.trace;
    const View m = record.message;
    const auto drop = [&](FlowDropReason reason) {
        if (open.drop == -2) {
            open.drop = index;
            open.dropReason = reason;
        }
    };
    FlowStage stage = FlowStage::other;
    if (isReceive(m)) {
        stage = FlowStage::receive;
        t.received = true;
        bool newForm = false;
        if (starts(m, "vd-")) {
            View vdom = m.sliced(3);
            vdom = vdom.first(std::max<qsizetype>(vdom.indexOf(" received"), 0));
            if (const qsizetype colon = vdom.lastIndexOf(':'); colon > 0 && numberAt(vdom.sliced(colon + 1))) {
                vdom = vdom.first(colon);
                newForm = true;
            }
            t.vdom = vdom.toByteArray();
        }
        View rest = m;
        std::optional<int> sourcePort, destinationPort;
        if (const auto proto = after(m, "(proto=")) {
            if (const auto number = numberAt(*proto))
                t.protocol = int(std::min<qint64>(*number, 255));
            View tuple = proto->sliced(proto->indexOf(',') + 1);
            const qsizetype close = tuple.indexOf(')');
            if (const qsizetype arrow = tuple.indexOf("->"); close > 0 && arrow > 0 && arrow < close) {
                t.source = endpoint(trimmedLeft(tuple.first(arrow)));
                t.destination = endpoint(tuple.sliced(arrow + 2, close - arrow - 2));
                t.ipv6 = t.source.address.contains(':');
                sourcePort = t.source.port;
                destinationPort = t.destination.port;
            }
            if (close >= 0)
                rest = tuple.sliced(close + 1);
        }
        if (const auto tunnel = after(rest, "tun_id=")) {
            newForm = true;
            const View id = token(*tunnel, "");
            if (id != "0.0.0.0")
                t.tunnelId = id.toByteArray();
        }
        if (const auto from = after(rest, "from ")) {
            View name = trimmedRight(*from);
            if (name.endsWith('.'))
                name.chop(1);
            View detail;
            if (const qsizetype end = name.lastIndexOf(". "); end >= 0) {
                detail = name.sliced(end + 2);
                name = name.first(end);
            }
            t.inInterface = name.toByteArray();
            if (const auto flags = after(detail, "flag [")) {
                const qsizetype close = flags->indexOf(']');
                if (close >= 0)
                    t.tcpFlags = flags->first(close).toByteArray();
            }
            if (t.protocol == 1 || t.protocol == 58) {
                FlowIcmp icmp;
                const auto field = [&](View name) {
                    const auto value = after(detail, name);
                    return value ? numberAt(*value) : std::nullopt;
                };
                if (const auto type = field("type=")) {
                    icmp.type = int(std::min<qint64>(*type, 255));
                    icmp.code = int(std::min<qint64>(field("code=").value_or(-1), 255));
                    icmp.id = int(std::min<qint64>(field("id=").value_or(-1), 65535));
                    icmp.sequence = int(std::min<qint64>(field("seq=").value_or(-1), 65535));
                } else if (destinationPort && (newForm || *destinationPort > 255)) {
                    icmp.type = *destinationPort >> 8;
                    icmp.code = *destinationPort & 0xff;
                    icmp.id = sourcePort.value_or(-1);
                } else if (destinationPort) {
                    icmp.type = *destinationPort;
                }
                if (icmp.type >= 0 || sourcePort || destinationPort) {
                    t.icmp = icmp;
                    t.source.port.reset();
                    t.destination.port.reset();
                }
            }
        }
    } else if (starts(m, "allocate a new session-")) {
        stage = FlowStage::session;
        t.session = FlowTrace::Session::created;
        t.sessionId = token(m.sliced(23)).toByteArray();
    } else if (const auto existing = prefixed(m, "Find an existing session, id-")) {
        stage = FlowStage::session;
        t.session = FlowTrace::Session::existing;
        t.sessionId = token(*existing).toByteArray();
        t.sessionDirection = m.contains("reply direction")      ? QByteArray("reply")
                             : m.contains("original direction") ? QByteArray("original")
                                                                : QByteArray();
        open.existing = index;
    } else if (starts(m, "enter fast path") || starts(m, "state=") || starts(m, "auxiliary ses")) {
        stage = FlowStage::session;
    } else if (starts(m, "outgoing dev changed")) {
        stage = FlowStage::session;
        drop(FlowDropReason::asymmetric);
    } else if (starts(m, "no session matched")) {
        stage = FlowStage::session;
        drop(FlowDropReason::noSession);
    } else if (starts(m, "Session is in BLOCK state")) {
        stage = FlowStage::session;
        drop(FlowDropReason::sessionBlocked);
    } else if (const auto route = prefixed(m, "find a route:")) {
        stage = FlowStage::route;
        if (const auto gateway = after(*route, "gw-"))
            t.gateway = token(*gateway, "").toByteArray();
        if (const auto via = after(*route, " via ")) {
            View name = *via;
            if (const qsizetype error = name.indexOf(" err "); error >= 0)
                name = name.first(error);
            t.outInterface = trimmedRight(name).toByteArray();
            t.local = t.outInterface == "root" || (!t.vdom.isEmpty() && t.outInterface == t.vdom);
            if (t.local)
                open.localRoute = index;
        }
    } else if (const auto rule = prefixed(m, "Match policy routing id=")) {
        stage = FlowStage::route;
        t.policyRoute = numberAt(*rule);
    } else if (starts(m, "reverse path check fail")) {
        stage = FlowStage::route;
        drop(FlowDropReason::reversePath);
    } else if (starts(m, "VIP-")) {
        stage = FlowStage::dnat;
        t.dnat = endpoint(token(m.sliced(4)));
        t.vip = true;
    } else if (const auto dnat = prefixed(m, "find DNAT: IP-")) {
        stage = FlowStage::dnat;
        FlowEndpoint target{token(*dnat, ",(").toByteArray(), std::nullopt};
        if (const auto port = after(*dnat, "port-"); port && numberAt(*port).value_or(0) > 0)
            target.port = int(std::min<qint64>(*numberAt(*port), 65535));
        t.dnat = target;
    } else if (starts(m, "DNAT ") || starts(m, "SNAT ")) {
        const bool destination = m[0] == 'D';
        stage = destination ? FlowStage::dnat : FlowStage::snat;
        if (const auto to = after(m, "->"))
            (destination ? t.dnat : t.snat) = endpoint(token(*to));
    } else if (const auto allowed = prefixed(m, "Allowed by Policy-")) {
        stage = FlowStage::policy;
        t.policyId = numberAt(*allowed);
        t.localInPolicy = false;
        if (open.allowed == -2)
            open.allowed = index;
    } else if (starts(m, "Denied by forward policy check")) {
        stage = FlowStage::policy;
        const auto number = after(m, "(policy ");
        t.policyId = number ? numberAt(*number) : std::nullopt;
        drop(t.policyId == 0 ? FlowDropReason::implicitDeny : FlowDropReason::denyPolicy);
    } else if (starts(m, "iprope_in_check() check failed")) {
        stage = FlowStage::policy;
        t.localInPolicy = true;
        if (const auto number = after(m, "on policy "))
            t.policyId = numberAt(*number);
        drop(FlowDropReason::localIn);
    } else if (starts(m, "Check policy between")) {
        stage = FlowStage::policy;
    } else if (starts(m, "Denied by quota check")) {
        stage = FlowStage::drop;
        drop(FlowDropReason::quota);
    } else if (const auto snat = prefixed(m, "find SNAT: IP-")) {
        stage = FlowStage::snat;
        FlowEndpoint source{token(*snat, ",(").toByteArray(), std::nullopt};
        if (const auto port = after(*snat, "port-"))
            if (const auto number = numberAt(*port))
                source.port = int(std::min<qint64>(*number, 65535));
        t.snat = source;
    } else if (starts(m, "NAT disabled by central SNAT")) {
        stage = FlowStage::snat;
    } else if (startsWithNoCase(m, "enter IPsec ") || startsWithNoCase(m, "output to IPsec tunnel ")) {
        stage = FlowStage::ipsec;
        View name = m.sliced(m.first(std::min<qsizetype>(m.size(), 32)).toByteArray().toLower().indexOf("ipsec ") + 6);
        for (const View word : {View("interface-"), View("interface "), View("tunnel-"), View("tunnel ")}) {
            if (name.startsWith(word)) {
                name = name.sliced(word.size());
                break;
            }
        }
        t.ipsecTunnel = trimmedRight(token(name)).toByteArray();
    } else if (starts(m, "IPsec encrypt") || starts(m, "encrypted, and send to")) {
        stage = FlowStage::ipsec;
        t.encrypted = true;
    } else if (starts(m, "No matching IPsec selector")) {
        stage = FlowStage::ipsec;
        drop(FlowDropReason::ipsecSelector);
    } else if (starts(m, "SA is not ready yet")) {
        stage = FlowStage::ipsec;
        drop(FlowDropReason::saNotReady);
    } else if (starts(m, "send to ips") || starts(m, "send to application layer")) {
        stage = FlowStage::inspection;
        t.inspection = m[8] == 'i' ? QByteArray("ips") : QByteArray("application layer");
    } else if ((starts(m, "send to ") && m.contains(" via intf-")) || starts(m, "Trying to offload IPsec") ||
               startsWithNoCase(m, "IPsec encrypt SA")) {
        stage = FlowStage::ipsec;
    } else if (starts(m, "npu session installation succeeded")) {
        stage = FlowStage::offload;
        t.offloaded = true;
    } else if (starts(m, "npu_state=") || starts(m, "Trying to offloading session")) {
        stage = FlowStage::offload;
    } else if (const auto device = prefixed(m, "send out via dev-")) {
        stage = FlowStage::egress;
        if (t.outInterface.isEmpty())
            t.outInterface = token(*device).toByteArray();
    } else if (starts(m, "replay packet") || starts(m, "anti-replay check fails")) {
        stage = FlowStage::drop;
        if (m.endsWith("drop"))
            drop(FlowDropReason::replay);
    } else if (record.function.contains("iprope") || starts(m, "checked gnum-") || starts(m, "after check:") ||
               starts(m, "gnum-") || starts(m, "in-[") || starts(m, "after iprope")) {
        stage = record.function.contains("dnat") ? FlowStage::dnat : FlowStage::policy;
        if (stage == FlowStage::policy && starts(m, "after check:"))
            open.ipropeDrop = m.contains("act-drop") ? index : -2;
    }
    // Whatever the catalogue does not name, a drop still reads as one.
    if (open.drop == -2 && (ends(trimmedRight(m), ", drop") || ends(m, "Drop the packet.") || starts(m, "Denied by"))) {
        drop(FlowDropReason::other);
        if (stage == FlowStage::other)
            stage = FlowStage::drop;
    }
    record.stage = stage;
}

FlowReader::FlowReader(TraceSink traces, WarningSink warnings)
    : d(new Private)
{
    d->traces = std::move(traces);
    d->warnings = std::move(warnings);
}

FlowReader::~FlowReader()
{
    delete d;
}

void FlowReader::feed(QByteArrayView text)
{
    d->lines.feed(text, [this](View line) { d->physicalLine(line); });
}

void FlowReader::finish()
{
    if (d->ended)
        return;
    d->ended = true;
    d->lines.finish([this](View line) { d->physicalLine(line); });
    d->closeTruncated();
    for (const auto &open : d->queue)
        d->closeTrace(open.get());
    d->flush();
}

const FlowReader::Summary &FlowReader::summary() const
{
    return d->summary;
}

FlowReader::Result FlowReader::read(QIODevice &input, const Callbacks &callbacks)
{
    constexpr qint64 sliceSize = 1 << 20;
    Result result;
    FlowReader reader(callbacks.trace, callbacks.warning);
    QByteArray slice;
    qint64 done = 0;
    for (;;) {
        if (callbacks.cancel && callbacks.cancel->load()) {
            result.outcome = Result::Outcome::cancelled;
            result.summary = reader.summary();
            result.message = QStringLiteral("The reading was cancelled.");
            return result;
        }
        slice.resize(sliceSize);
        const qint64 got = input.read(slice.data(), sliceSize);
        if (got < 0) {
            result.outcome = Result::Outcome::readFailed;
            result.summary = reader.summary();
            result.message = QStringLiteral("The text could not be read: %1.").arg(input.errorString());
            return result;
        }
        if (got == 0 && (input.atEnd() || !input.isSequential() || !input.waitForReadyRead(-1)))
            break;
        done += got;
        reader.feed(QByteArrayView(slice.constData(), got));
        if (callbacks.progress)
            callbacks.progress(done);
    }
    reader.finish();
    result.summary = reader.summary();
    if (result.summary.records > 0) {
        result.outcome = Result::Outcome::read;
    } else {
        result.outcome = Result::Outcome::noRecords;
        result.message = QStringLiteral("No debug-flow trace record was found: paste what `diagnose debug flow "
                                        "trace start` printed, the lines with trace_id= and msg=.");
    }
    return result;
}
