#include "snifferreading.h"

#include "common/backgroundwork.h"
#include "model/atomicfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>
#include <utility>

namespace SnifferReading {
namespace {
constexpr qsizetype copySize = 1 << 20;

// Converts input to path in settings' format, committed when packets were written: the reason it
// could not be read or written, else empty.
QString convert(const Input &input, const SnifferCapture::Settings &settings, const QString &path,
                const BackgroundWork::Progress &progress, SnifferCapture::Callbacks callbacks,
                SnifferCapture::Result *result)
{
    QString error;
    const std::unique_ptr<QIODevice> device = ReaderInput::open(input, &error);
    if (!device) {
        result->outcome = SnifferCapture::Result::Outcome::readFailed;
        return error;
    }
    AtomicFile::Writer writer(path);
    callbacks.cancel = &progress.cancelled();
    *result = SnifferCapture::convert(
        *device, settings, [&writer](QByteArrayView data) { return writer.write(data); }, callbacks);
    switch (result->outcome) {
    case SnifferCapture::Result::Outcome::written:
        if (progress.cancelled() || writer.commit())
            return {};
        result->outcome = SnifferCapture::Result::Outcome::writeFailed;
        return writer.error();
    case SnifferCapture::Result::Outcome::writeFailed:
        // A pcap file that would need a second link type fails in the converter, not in the writer.
        return writer.error().isEmpty() ? result->message : writer.error();
    case SnifferCapture::Result::Outcome::readFailed:
        return AtomicFile::reason(device->errorString(), 0);
    default:
        return {};
    }
}
} // namespace

Outcome read(const Input &input, SnifferCapture::Settings settings, const QString &capturePath,
             const BackgroundWork::Progress &progress, const std::function<void(Batch &&)> &batch)
{
    Outcome outcome;
    if (!settings.reader.startMicros)
        settings.reader.startMicros = SnifferCapture::defaultStart(input.path);
    outcome.startMicros = *settings.reader.startMicros;

    const double total = double(std::max<qint64>(ReaderInput::size(input), 1));
    Batch pending;
    PacketTableModel::Packer packer;
    QElapsedTimer sinceSent;
    const auto send = [&](bool now) {
        if (!now && sinceSent.isValid() && sinceSent.elapsed() < 50)
            return;
        progress.report(double(pending.bytesRead) / total);
        pending.packets = packer.take();
        const qint64 bytesRead = pending.bytesRead;
        batch(std::exchange(pending, {}));
        pending.bytesRead = bytesRead;
        sinceSent.start();
    };
    SnifferCapture::Callbacks callbacks;
    callbacks.packet = [&](const SnifferPacket &packet, qint64 blockOffset) {
        packer.add(packet, blockOffset);
        send(false);
    };
    callbacks.warning = [&](const SnifferReader::Warning &warning) { pending.warnings.append(warning); };
    callbacks.progress = [&](qint64 bytesRead) {
        pending.bytesRead = bytesRead;
        send(false);
    };
    outcome.error = convert(input, settings, capturePath, progress, callbacks, &outcome.result);
    send(true);
    return outcome;
}

QString save(const QString &capturePath, const Input &input, const SnifferCapture::Settings &settings,
             const QString &path, const BackgroundWork::Progress &progress)
{
    if (settings.format == CaptureWriter::Format::pcap) {
        SnifferCapture::Result result;
        SnifferCapture::Callbacks callbacks;
        const double total = double(std::max<qint64>(ReaderInput::size(input), 1));
        callbacks.progress = [&](qint64 bytesRead) { progress.report(double(bytesRead) / total); };
        const QString error = convert(input, settings, path, progress, callbacks, &result);
        // The log may have changed since it was read.
        return error.isEmpty() && result.outcome != SnifferCapture::Result::Outcome::written ? result.message : error;
    }
    QFile capture(capturePath);
    errno = 0;
    if (!capture.open(QIODevice::ReadOnly))
        return AtomicFile::reason(capture.errorString(), errno);
    AtomicFile::Writer writer(path);
    const double total = double(std::max<qint64>(capture.size(), 1));
    while (!capture.atEnd()) {
        errno = 0;
        const QByteArray piece = capture.read(copySize);
        if (piece.isEmpty() && capture.error() != QFileDevice::NoError)
            return AtomicFile::reason(capture.errorString(), errno);
        if (!writer.write(piece))
            return writer.error();
        // A cancelled copy leaves the file it would have replaced as it was.
        if (!progress.report(double(capture.pos()) / total))
            return {};
    }
    return writer.commit() ? QString() : writer.error();
}

} // namespace SnifferReading
