#pragma once

#include "packettablemodel.h"
#include "readerinput.h"
#include "readers/sniffercapture.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace BackgroundWork {
class Progress;
}

// What the sniffer-output view does off the UI thread: read the kept input into a capture file,
// handing the packets on as they come, and write the capture the user saves. Every file goes
// through the atomic writer; every failure comes back with the system's reason.
namespace SnifferReading {

using Input = ReaderInput::Source;

// What a reading found since the last batch.
struct Batch {
    PacketTableModel::Batch packets;
    QList<SnifferReader::Warning> warnings;
    qint64 bytesRead = 0;
};

struct Outcome {
    SnifferCapture::Result result;
    // Why the input could not be read or the capture not written; empty otherwise.
    QString error;
    // The start taken for relative times.
    qint64 startMicros = 0;
};

// Reads input into a capture at capturePath, which is committed only when packets were written. The
// start of relative times is settings' when given, else SnifferCapture::defaultStart. Batches
// go to batch at least every 50 ms while it reads, the first at once.
Outcome read(const Input &input, SnifferCapture::Settings settings, const QString &capturePath,
             const BackgroundWork::Progress &progress, const std::function<void(Batch &&)> &batch);

// The capture read, as the user saves it: a copy of capturePath for pcapng; the input read again for
// pcap, which holds a single link type. Returns why it failed, empty on success; path is replaced
// only by a complete file.
QString save(const QString &capturePath, const Input &input, const SnifferCapture::Settings &settings,
             const QString &path, const BackgroundWork::Progress &progress);

} // namespace SnifferReading
