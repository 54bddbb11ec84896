#include "readcommand.h"

#include "model/atomicfile.h"
#include "readers/sniffercapture.h"
#include "text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int writeFailed = 1;
constexpr int usageError = 2;
constexpr int shownWarnings = 20;

const char usage[] = "Usage:\n"
                     "  brindlecap read sniffer [FILE|-] [-o OUT|-] [--pcap] [--start ISO-8601] [--utc-offset +HH:MM]\n"
                     "\n"
                     "Reads what `diagnose sniffer packet` printed (a terminal log or a paste; verbose 2, 3, 5 or 6)\n"
                     "from FILE, or standard input for - or none, and writes the packets as a capture file that\n"
                     "Wireshark opens: pcapng, with the FortiGate's interface names and directions, or classic pcap\n"
                     "with --pcap. OUT defaults to FILE with the suffix .pcapng (.pcap); -o - writes to standard\n"
                     "output, never to a terminal. A one-line summary and each warning (at most 20) go to standard\n"
                     "error.\n"
                     "\n"
                     "  --start       when the capture started, for relative times (default: the log's modification\n"
                     "                time less its last relative time; now for standard input)\n"
                     "  --utc-offset  the FortiGate's offset from UTC, for times printed as its local time (l);\n"
                     "                default: the zone of this computer where the echoed command says l, else UTC\n"
                     "\n"
                     "Exit status: 0 when packets were written, 1 when the output could not be written, 2 for a\n"
                     "usage error or input without packet bytes.\n";

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int failure(const QString &message)
{
    write(stderr, QStringLiteral("brindlecap: %1\n").arg(message));
    return usageError;
}

// "2015-06-23T17:00:12.184010Z", "2015-06-23 19:00:12+02:00", or local without a zone.
std::optional<qint64> instant(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4}-\d\d-\d\d)[T ](\d\d:\d\d(?::\d\d)?)(?:\.(\d{1,6}))?(Z|[+-]\d\d:?\d\d)?$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
    QString clock = match.captured(2);
    if (clock.size() == 5)
        clock += QStringLiteral(":00");
    const QTime time = QTime::fromString(clock, Qt::ISODate);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime moment(date, time);
    const QString zone = match.captured(4);
    if (zone == u"Z")
        moment = QDateTime(date, time, Qt::UTC);
    else if (!zone.isEmpty())
        moment = QDateTime(
            date, time,
            QTimeZone((zone.at(0) == u'-' ? -1 : 1) * (zone.mid(1, 2).toInt() * 3600 + zone.right(2).toInt() * 60)));
    if (!moment.isValid())
        return std::nullopt;
    return moment.toMSecsSinceEpoch() * 1000 + match.captured(3).leftJustified(6, u'0').toLongLong();
}

std::optional<int> utcOffset(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([+-])(\d\d):?(\d\d)$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int seconds = match.captured(2).toInt() * 3600 + match.captured(3).toInt() * 60;
    if (seconds > 14 * 3600 || match.captured(3).toInt() >= 60)
        return std::nullopt;
    return match.captured(1) == u"-" ? -seconds : seconds;
}

} // namespace

int ReadCommand::run(const QStringList &arguments)
{
    if (arguments.value(0) == u"--help" || arguments.value(0) == u"-h" ||
        (arguments.size() == 2 && arguments.at(0) == u"sniffer" &&
         (arguments.at(1) == u"--help" || arguments.at(1) == u"-h"))) {
        write(stdout, QString::fromLatin1(usage));
        return std::fflush(stdout) == 0 ? 0 : writeFailed;
    }
    if (arguments.value(0) != u"sniffer")
        return failure(
            arguments.isEmpty()
                ? QStringLiteral("read takes what to read: sniffer")
                : QStringLiteral("unknown reader %1; valid readers: sniffer").arg(Text::quoted(arguments.first())));
    QString input;
    QString output;
    bool haveInput = false;
    SnifferCapture::Settings settings;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool takesValue = argument == u"-o" || argument == u"--start" || argument == u"--utc-offset";
        if (takesValue && i + 1 >= arguments.size())
            return failure(QStringLiteral("%1 needs a value").arg(argument));
        if (argument == u"-o") {
            output = arguments.at(++i);
        } else if (argument == u"--pcap") {
            settings.format = CaptureWriter::Format::pcap;
        } else if (argument == u"--start") {
            settings.reader.startMicros = instant(arguments.at(++i));
            if (!settings.reader.startMicros)
                return failure(QStringLiteral("invalid --start %1; use an ISO 8601 time such as "
                                              "2026-12-07T14:03:00.250000Z")
                                   .arg(Text::quoted(arguments.at(i))));
        } else if (argument == u"--utc-offset") {
            settings.reader.utcOffsetSeconds = utcOffset(arguments.at(++i));
            if (!settings.reader.utcOffsetSeconds)
                return failure(QStringLiteral("invalid --utc-offset %1; use +HH:MM or -HH:MM, such as +01:00")
                                   .arg(Text::quoted(arguments.at(i))));
        } else if ((argument.startsWith(u'-') && argument != u"-") || haveInput) {
            return failure(QStringLiteral("unexpected %1; ").arg(Text::quoted(argument)) +
                           QStringLiteral("use `read sniffer [FILE|-] [-o OUT|-] [--pcap] [--start ISO-8601] "
                                          "[--utc-offset +HH:MM]`"));
        } else {
            input = argument;
            haveInput = true;
        }
    }
    const bool fromStdin = !haveInput || input == u"-";
    if (!haveInput && ::isatty(STDIN_FILENO))
        return failure(QStringLiteral("read sniffer needs a FILE, or the text on standard input"));
    if (fromStdin && output.isEmpty())
        return failure(QStringLiteral("-o OUT is needed when the text comes from standard input"));
    const QString suffix =
        settings.format == CaptureWriter::Format::pcap ? QStringLiteral(".pcap") : QStringLiteral(".pcapng");
    if (output.isEmpty()) {
        const QFileInfo info(input);
        output = info.completeBaseName() + suffix;
        if (info.path() != u".")
            output.prepend(info.path() + u'/');
        if (QFileInfo(output).absoluteFilePath() == info.absoluteFilePath())
            return failure(
                QStringLiteral("the capture would replace its own input %1; name it with -o").arg(Text::quoted(input)));
    }
    const bool toStdout = output == u"-";
    if (toStdout && ::isatty(STDOUT_FILENO))
        return failure(QStringLiteral("a capture is binary and standard output is a terminal; redirect it or "
                                      "name a file with -o"));

    QFile in;
    if (fromStdin) {
        if (!in.open(stdin, QIODevice::ReadOnly))
            return failure(QStringLiteral("standard input could not be read: %1").arg(in.errorString()));
    } else {
        in.setFileName(input);
        if (QFileInfo(input).isDir())
            return failure(QStringLiteral("%1 is a folder, not a log").arg(Text::quoted(input)));
        errno = 0;
        if (!in.open(QIODevice::ReadOnly))
            return failure(QStringLiteral("%1 could not be read: %2")
                               .arg(Text::quoted(input), AtomicFile::reason(in.errorString(), errno)));
    }
    if (!settings.reader.startMicros)
        settings.reader.startMicros = SnifferCapture::defaultStart(fromStdin ? QString() : input);

    std::optional<AtomicFile::Writer> file;
    if (!toStdout)
        file.emplace(output, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                 QFileDevice::ReadOther);
    int stdoutError = 0;
    const CaptureWriter::Sink sink = [&](QByteArrayView bytes) {
        if (file)
            return file->write(bytes);
        errno = 0;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()))
            return true;
        stdoutError = errno;
        return false;
    };
    qint64 warnings = 0;
    SnifferCapture::Callbacks callbacks;
    callbacks.warning = [&](const SnifferReader::Warning &warning) {
        if (++warnings <= shownWarnings)
            write(stderr, QStringLiteral("brindlecap: line %1: %2\n").arg(warning.line).arg(warning.text));
    };
    const SnifferCapture::Result result = SnifferCapture::convert(in, settings, sink, callbacks);
    if (warnings > shownWarnings)
        write(stderr, QStringLiteral("brindlecap: %1 more warnings\n").arg(warnings - shownWarnings));

    const QString shownOutput = toStdout ? QStringLiteral("standard output") : Text::quoted(output);
    switch (result.outcome) {
    case SnifferCapture::Result::Outcome::written:
        break;
    case SnifferCapture::Result::Outcome::writeFailed: {
        // A reader that stopped early (`| head`) ends the output normally.
        if (!file && stdoutError == EPIPE)
            return 0;
        const QString why = file ? file->error() : QString::fromLocal8Bit(std::strerror(stdoutError));
        write(stderr, why.isEmpty()
                          ? QStringLiteral("brindlecap: %1\n").arg(result.message)
                          : QStringLiteral("brindlecap: %1 could not be written: %2\n").arg(shownOutput, why));
        return writeFailed;
    }
    case SnifferCapture::Result::Outcome::readFailed:
    case SnifferCapture::Result::Outcome::noBytes:
    case SnifferCapture::Result::Outcome::noPackets:
    case SnifferCapture::Result::Outcome::cancelled:
        return failure(result.message);
    }
    if (file ? !file->commit() : std::fflush(stdout) != 0) {
        if (!file && errno == EPIPE)
            return 0;
        write(stderr, QStringLiteral("brindlecap: %1 could not be written: %2\n")
                          .arg(shownOutput, file ? file->error() : QString::fromLocal8Bit(std::strerror(errno))));
        return writeFailed;
    }
    write(stderr,
          QStringLiteral("brindlecap: %1; written to %2\n").arg(SnifferCapture::summaryLine(result), shownOutput));
    return 0;
}
