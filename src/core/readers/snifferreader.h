#pragma once

#include "snifferpacket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// Finds the packets in what `diagnose sniffer packet` printed, however it reached us: a terminal log
// with CRLF, prompts and escape sequences, or a paste with its tabs turned into spaces. Streaming:
// feed() any slices of the text, finish() at its end; packets come out in order, and nothing but the
// current packet is held. What cannot be used is a warning with its line number, never dropped
// silently.
class SnifferReader
{
public:
    // How the header lines give the time, found from the text (mixed: a log of several captures).
    enum class TimeForm { unknown, relative, absolute, mixed };
    struct Options {
        // The instant the capture started, for relative times (microseconds since 1970 UTC).
        std::optional<qint64> startMicros;
        // The appliance's offset from UTC for absolute times printed as its local time. Without
        // it, local times ('l' in the echoed command) are taken in this computer's zone, and
        // absolute times of unknown kind as UTC ('a').
        std::optional<int> utcOffsetSeconds;
    };
    struct Warning {
        qint64 line = 0;
        QString text;
    };
    struct Summary {
        qint64 lines = 0;
        qint64 packets = 0;     // with bytes
        qint64 headersOnly = 0; // header lines with no dump after them
        qint64 otherLines = 0;  // prompts, banners, counters, echoed commands, debug text
        qint64 warnings = 0;
        TimeForm timeForm = TimeForm::unknown;
        int verbose = 0;             // from the echoed command, 0 where none was seen
        QByteArray captureInterface; // the interface named in the echoed command
        char timestampLetter = 0;    // 'a', 'l' or another letter from the echoed command, 0 if none
    };

    using PacketSink = std::function<void(SnifferPacket &&)>;
    using WarningSink = std::function<void(const Warning &)>;

    SnifferReader(const Options &options, PacketSink packets, WarningSink warnings);
    ~SnifferReader();

    void feed(QByteArrayView text);
    void finish();
    const Summary &summary() const;

    // The last relative time printed in text (the end of a log), in microseconds, so that the start
    // of a logged capture can be set from the log's modification time.
    static std::optional<qint64> lastRelativeMicros(QByteArrayView text);
    // Whether these are bytes of a sniffer log at all rather than, say, a capture file.
    static bool looksLikeText(QByteArrayView start);

private:
    struct Private;
    Private *d;
};
