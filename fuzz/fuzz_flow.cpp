#include "readers/flowreader.h"
#include "readers/flowtext.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// What debug flow printed, however damaged: reading must never crash, and must not depend on how the
// text arrives: the same traces, facts and warnings whether it comes whole, cut at any byte, or (when
// short) one byte at a time, as a terminal or a pipe may hand it over.

namespace {
void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QByteArray n(qint64 value)
{
    return QByteArray::number(value);
}

QByteArray endpoint(const FlowEndpoint &e)
{
    return e.address + '/' + (e.port ? n(*e.port) : QByteArray("-"));
}

// Every fact, so that a difference in any of them shows, whatever FlowText::json prints of them.
QByteArray facts(const FlowTrace &t)
{
    QByteArray s = n(t.index) + '|' + t.chassis + '|' + n(t.traceId) + '|' + n(t.firstLine) + '-' + n(t.lastLine) +
                   '|' + t.time + '|' + n(t.received) + t.vdom + '|' + n(t.protocol) + n(t.ipv6) + '|' +
                   endpoint(t.source) + '>' + endpoint(t.destination) + '|';
    if (t.icmp)
        s += n(t.icmp->type) + ',' + n(t.icmp->code) + ',' + n(t.icmp->id) + ',' + n(t.icmp->sequence);
    s += '|' + t.inInterface + '|' + t.tunnelId + '|' + t.tcpFlags + '|' + n(int(t.session)) + t.sessionId + '|' +
         t.sessionDirection + '|' + (t.dnat ? endpoint(*t.dnat) : QByteArray()) + n(t.vip) + '|' + t.gateway + '|' +
         t.outInterface + n(t.local) + '|' + (t.policyRoute ? n(*t.policyRoute) : QByteArray()) + '|' +
         (t.policyId ? n(*t.policyId) : QByteArray()) + n(t.localInPolicy) + n(t.policyInherited) + '|' +
         (t.snat ? endpoint(*t.snat) : QByteArray()) + n(t.natInherited) + n(t.inheritedFrom) + '|' + t.ipsecTunnel +
         n(t.encrypted) + '|' + t.inspection + n(t.offloaded) + '|' + n(int(t.verdict)) + ',' + n(int(t.dropReason)) +
         ',' + n(t.verdictRecord) + '\n';
    for (const FlowRecord &r : t.records)
        s += n(r.line) + '-' + n(r.lastLine) + '|' + r.raw + '|' + r.function + '|' + r.message + '|' +
             n(int(r.stage)) + n(r.truncated) + '\n';
    return s + FlowText::json(t) + '\n';
}

QByteArray read(QByteArrayView text, qsizetype cut, bool byteByByte)
{
    QByteArray out;
    qint64 traces = 0, warnings = 0;
    FlowReader reader(
        [&](FlowTrace &&t) {
            // One trace per packet, each once, in the order they started.
            check(t.index == traces++);
            check(t.firstLine >= 1 && t.firstLine <= t.lastLine);
            check(t.verdictRecord >= -1 && t.verdictRecord < t.records.size());
            check((t.verdict == FlowVerdict::dropped) == (t.dropReason != FlowDropReason::none));
            for (const FlowRecord &r : t.records)
                check(r.line >= t.firstLine && r.line <= r.lastLine && r.lastLine <= t.lastLine);
            out += facts(t);
        },
        [&](const FlowReader::Warning &w) {
            ++warnings;
            out += n(w.line) + ' ' + w.text.toUtf8() + '\n';
        });
    if (byteByByte) {
        for (qsizetype at = 0; at < text.size(); ++at)
            reader.feed(text.sliced(at, 1));
    } else {
        reader.feed(text.first(cut));
        reader.feed(text.sliced(cut));
    }
    reader.finish();
    const FlowReader::Summary &summary = reader.summary();
    check(summary.traces == traces && summary.warnings == warnings);
    return out + n(summary.lines) + ' ' + n(summary.records) + ' ' + n(summary.otherLines) + '\n';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray whole = read(text, 0, false);
    check(whole == read(text, size ? qsizetype(data[0] * 7919u % size) : 0, false));
    if (size <= 2048)
        check(whole == read(text, 0, true));
    return 0;
}
