#include "readers/sniffercapture.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

// What the sniffer printed, however damaged: reading must never crash, and must not depend on how
// the text arrives: the same packets and warnings whether it comes whole or cut at any byte.

namespace {
void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QByteArray read(QByteArrayView text, qsizetype cut)
{
    QByteArray trace;
    SnifferReader::Options options;
    options.startMicros = 1000;
    SnifferReader reader(
        options,
        [&](SnifferPacket &&p) {
            check(!p.bytes.isEmpty() && p.originalLength >= p.bytes.size() && p.firstLine <= p.lastLine);
            trace += p.timeText + '|' + p.interfaceName + '|' + p.header + '|' + p.bytes + '|' +
                     QByteArray::number(p.timeMicros) + '|' + QByteArray::number(p.lastLine) + '\n';
        },
        [&](const SnifferReader::Warning &w) { trace += QByteArray::number(w.line) + w.text.toUtf8() + '\n'; });
    reader.feed(text.first(cut));
    reader.feed(text.sliced(cut));
    reader.finish();
    return trace;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    check(read(text, 0) == read(text, size ? qsizetype(data[0] * 7919u % size) : 0));

    QBuffer input;
    input.setData(text.toByteArray());
    input.open(QIODevice::ReadOnly);
    SnifferCapture::Settings settings;
    settings.format = size % 2 ? CaptureWriter::Format::pcap : CaptureWriter::Format::pcapng;
    qint64 bytes = 0;
    const auto result = SnifferCapture::convert(input, settings, [&](QByteArrayView b) {
        bytes += b.size();
        return true;
    });
    check((result.outcome == SnifferCapture::Result::Outcome::written) == (bytes > 0) ||
          result.outcome == SnifferCapture::Result::Outcome::writeFailed);
    return 0;
}
