#include "sniffercapture.h"

#include "text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>

namespace SnifferCapture {

namespace {

constexpr qint64 sliceSize = 1 << 20;
constexpr qint64 tailSize = 64 << 10;

} // namespace

QString timeText(qint64 micros)
{
    const qint64 seconds = micros / 1000000 - (micros % 1000000 < 0);
    const qint64 fraction = micros - seconds * 1000000;
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(".%1").arg(fraction, 6, 10, QLatin1Char('0'));
}

Result convert(QIODevice &input, const Settings &settings, const CaptureWriter::Sink &sink, const Callbacks &callbacks)
{
    Result result;
    // Blocks are small; the output gets them a slice at a time.
    QByteArray pending;
    const auto flush = [&] {
        const bool written = pending.isEmpty() || sink(pending);
        pending.clear();
        return written;
    };
    CaptureWriter writer(settings.format, [&](QByteArrayView block) {
        pending.append(block);
        return pending.size() < sliceSize || flush();
    });
    bool writeFailed = false;
    qint64 written = 0;
    SnifferReader reader(
        settings.reader,
        [&](SnifferPacket &&packet) {
            if (writeFailed)
                return;
            if (!writer.add(packet)) {
                writeFailed = true;
                return;
            }
            if (!result.interfaces.contains(packet.interfaceName))
                result.interfaces << packet.interfaceName;
            if (written == 0 || packet.timeMicros < result.firstMicros)
                result.firstMicros = packet.timeMicros;
            if (written == 0 || packet.timeMicros > result.lastMicros)
                result.lastMicros = packet.timeMicros;
            ++written;
            if (callbacks.packet)
                callbacks.packet(packet, writer.lastBlock());
        },
        callbacks.warning);

    QByteArray slice;
    qint64 done = 0;
    for (;;) {
        if (callbacks.cancel && callbacks.cancel->load()) {
            result.outcome = Result::Outcome::cancelled;
            result.summary = reader.summary();
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
        if (writeFailed)
            break;
    }
    if (!writeFailed)
        reader.finish();
    writeFailed = writeFailed || !flush();
    result.summary = reader.summary();
    result.interfaces.removeAll(QByteArray());
    if (writeFailed) {
        result.outcome = Result::Outcome::writeFailed;
        result.message = QStringLiteral("The capture could not be written: %1.")
                             .arg(writer.error().isEmpty() ? QStringLiteral("the output failed") : writer.error());
    } else if (result.summary.packets > 0) {
        result.outcome = Result::Outcome::written;
    } else if (result.summary.headersOnly > 0) {
        result.outcome = Result::Outcome::noBytes;
        result.message = QStringLiteral("The sniffer printed %1 without their bytes (verbose 1 or 4): run the capture "
                                        "again with verbose 6, which the Sniffer form can set.")
                             .arg(Text::counted(result.summary.headersOnly, "packet", "packets"));
    } else {
        result.outcome = Result::Outcome::noPackets;
        result.message = QStringLiteral("No packets were found: the text holds no header line or hex dump printed by "
                                        "diagnose sniffer packet.");
    }
    return result;
}

QString summaryLine(const Result &result)
{
    const SnifferReader::Summary &s = result.summary;
    QString line = Text::counted(s.packets, "packet", "packets");
    if (!result.interfaces.isEmpty()) {
        QStringList names;
        for (const QByteArray &name : result.interfaces)
            names << QString::fromUtf8(name);
        line += QStringLiteral(" on %1 (%2)")
                    .arg(Text::counted(names.size(), "interface", "interfaces"), names.join(QStringLiteral(", ")));
    }
    if (s.packets > 0) {
        const QString first = timeText(result.firstMicros);
        QString last = timeText(result.lastMicros);
        if (last.left(10) == first.left(10))
            last = last.mid(11);
        line += QStringLiteral(" from %1 to %2 UTC").arg(first, last);
    }
    line += QStringLiteral(", ") + Text::counted(s.warnings, "warning", "warnings");
    if (s.headersOnly > 0)
        line += QStringLiteral(", ") + Text::counted(s.headersOnly, "header without bytes", "headers without bytes");
    return line;
}

qint64 defaultStart(const QString &path)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000;
    if (path.isEmpty())
        return now;
    // Only a regular file has an end to look at, and never blocks.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.isSequential())
        return now;
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(0, size - tailSize)))
        return now;
    const std::optional<qint64> last = SnifferReader::lastRelativeMicros(file.read(tailSize));
    if (!last)
        return now;
    return QFileInfo(file).lastModified().toMSecsSinceEpoch() * 1000 - *last;
}

} // namespace SnifferCapture
