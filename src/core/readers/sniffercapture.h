#pragma once

#include "capturewriter.h"
#include "snifferreader.h"

#include <QByteArrayList>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

class QIODevice;

// The whole way from a sniffer log to a capture file, for the window and the terminal alike: reads
// the input in slices (never all of it at once), hands each packet to the writer and to the caller,
// and sums up what it found.
namespace SnifferCapture {

struct Settings {
    SnifferReader::Options reader;
    CaptureWriter::Format format = CaptureWriter::Format::pcapng;
};

struct Callbacks {
    // Each packet as written, with where its block starts in the output.
    std::function<void(const SnifferPacket &packet, qint64 blockOffset)> packet;
    std::function<void(const SnifferReader::Warning &warning)> warning;
    // The input bytes read so far, after each slice.
    std::function<void(qint64 bytesRead)> progress;
    // Checked between slices: set it to stop.
    const std::atomic_bool *cancel = nullptr;
};

struct Result {
    enum class Outcome { written, noPackets, noBytes, readFailed, writeFailed, cancelled };
    Outcome outcome = Outcome::noPackets;
    SnifferReader::Summary summary;
    QByteArrayList interfaces; // in order of first appearance
    qint64 firstMicros = 0;
    qint64 lastMicros = 0;
    // Why nothing usable was written, in one sentence; empty when written.
    QString message;
};

Result convert(QIODevice &input, const Settings &settings, const CaptureWriter::Sink &sink,
               const Callbacks &callbacks = {});

// "12 packets on 2 interfaces (port1, port2) from 2015-06-23 17:00:12.184010 to 17:00:13.000000 UTC,
// 1 warning": the result in one line.
QString summaryLine(const Result &result);

// The start of a capture with relative times, where the user gave none: the log's modification time
// less the last relative time in it (the log was last written when the capture ended); now for a paste
// or standard input (an empty path), or a log with no relative times.
qint64 defaultStart(const QString &path);

// A time as this program shows it: UTC, to the microsecond.
QString timeText(qint64 micros);

} // namespace SnifferCapture
