#include "readcommand.h"

#include "model/atomicfile.h"
#include "readers/flowreader.h"
#include "readers/flowtext.h"
#include "readers/sniffercapture.h"
#include "text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <atomic>
#include <variant>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int writeFailed = 1;
constexpr int usageError = 2;
constexpr int shownWarnings = 20;

const char usage[] =
    "Usage:\n"
    "  brindlecap read sniffer [FILE|-] [-o OUT|-] [--pcap] [--start ISO-8601] [--utc-offset +HH:MM]\n"
    "  brindlecap read flow [FILE|-] [--json]\n"
    "\n"
    "Both read from FILE, or standard input for - or none (a terminal log or a paste), and write\n"
    "each warning (at most 20) and a one-line summary to standard error.\n"
    "\n"
    "read sniffer reads what `diagnose sniffer packet` printed (verbose 2, 3, 5 or 6) and writes the\n"
    "packets as a capture file that Wireshark opens: pcapng, with the FortiGate's interface names and\n"
    "directions, or classic pcap with --pcap. OUT defaults to FILE with the suffix .pcapng (.pcap);\n"
    "-o - writes to standard output, never to a terminal.\n"
    "\n"
    "  --start       when the capture started, for relative times (default: the log's modification\n"
    "                time less its last relative time; now for standard input)\n"
    "  --utc-offset  the FortiGate's offset from UTC, for times printed as its local time (l);\n"
    "                default: the zone of this computer where the echoed command says l, else UTC\n"
    "\n"
    "read flow reads what `diagnose debug flow` printed and writes one line per traced packet:\n"
    "  [CHASSIS] #ID TIME PROTO SRC -> DST IN -> OUT [SESSION] [POLICY] VERDICT [NAT] [EXTRAS]\n"
    "such as\n"
    "  #571 19:54:07 tcp 192.168.20.2:63611 -> 63.137.229.1:443 port6 -> port1 new session 015a96aa\n"
    "  policy 22 allowed snat 10.9.10.51:63611\n"
    "(on one line; see the manual page for every word).\n"
    "\n"
    "  --json        a JSON array instead, one object per packet with every fact, its stages, its\n"
    "                raw records and the explanations\n"
    "\n"
    "Exit status: 0 when read, 1 when the output could not be written, 2 for a usage error or input\n"
    "without packet bytes (sniffer) or without a trace record (flow).\n";

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

// What both readers take: FILE or -, and options of their own, some with a value.
struct Reader {
    QString name;
    QString synopsis; // after "read NAME "
    QStringList flags;
    QStringList valued;
};

struct Arguments {
    QString input;
    bool haveInput = false;
    QList<std::pair<QString, QString>> options; // in the order given; the value empty for a flag
};

std::variant<Arguments, int> parse(const Reader &reader, const QStringList &arguments)
{
    Arguments parsed;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (reader.valued.contains(argument)) {
            if (i + 1 >= arguments.size())
                return failure(QStringLiteral("%1 needs a value").arg(argument));
            parsed.options.append({argument, arguments.at(++i)});
        } else if (reader.flags.contains(argument)) {
            parsed.options.append({argument, QString()});
        } else if ((argument.startsWith(u'-') && argument != u"-") || parsed.haveInput) {
            return failure(QStringLiteral("unexpected %1; use `read %2 %3`")
                               .arg(Text::quoted(argument), reader.name, reader.synopsis));
        } else {
            parsed.input = argument;
            parsed.haveInput = true;
        }
    }
    if (!parsed.haveInput && ::isatty(STDIN_FILENO))
        return failure(QStringLiteral("read %1 needs a FILE, or the text on standard input").arg(reader.name));
    return parsed;
}

bool fromStdin(const Arguments &arguments)
{
    return !arguments.haveInput || arguments.input == u"-";
}

// 0 when open, else the exit status after the message.
int open(QFile &in, const Arguments &arguments)
{
    if (fromStdin(arguments)) {
        if (!in.open(stdin, QIODevice::ReadOnly))
            return failure(QStringLiteral("standard input could not be read: %1").arg(in.errorString()));
        return 0;
    }
    in.setFileName(arguments.input);
    if (QFileInfo(arguments.input).isDir())
        return failure(QStringLiteral("%1 is a folder, not a log").arg(Text::quoted(arguments.input)));
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("%1 could not be read: %2")
                           .arg(Text::quoted(arguments.input), AtomicFile::reason(in.errorString(), errno)));
    return 0;
}

// The first warnings on standard error, then how many more there were.
class Warnings
{
public:
    void add(qint64 line, const QString &text)
    {
        if (++m_count <= shownWarnings)
            write(stderr, QStringLiteral("brindlecap: line %1: %2\n").arg(line).arg(text));
    }
    ~Warnings()
    {
        if (m_count > shownWarnings)
            write(stderr, QStringLiteral("brindlecap: %1 more warnings\n").arg(m_count - shownWarnings));
    }

private:
    qint64 m_count = 0;
};

// Standard output, written as it comes; the first failure is kept and ends the writing.
class Output
{
public:
    bool put(QByteArrayView bytes)
    {
        if (m_error)
            return false;
        errno = 0;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()))
            return true;
        m_error = errno ? errno : EIO;
        return false;
    }
    bool flush()
    {
        errno = 0;
        if (!m_error && std::fflush(stdout) != 0)
            m_error = errno ? errno : EIO;
        return !m_error;
    }
    int error() const { return m_error; }
    // 0 for a reader that stopped early (`| head`): a normal end of output.
    int failed() const
    {
        if (m_error == EPIPE)
            return 0;
        write(stderr, QStringLiteral("brindlecap: standard output could not be written: %1\n")
                          .arg(QString::fromLocal8Bit(std::strerror(m_error))));
        return writeFailed;
    }

private:
    int m_error = 0;
};

int readSniffer(const QStringList &arguments)
{
    const auto parsed = parse({QStringLiteral("sniffer"),
                               QStringLiteral("[FILE|-] [-o OUT|-] [--pcap] [--start ISO-8601] [--utc-offset +HH:MM]"),
                               {QStringLiteral("--pcap")},
                               {QStringLiteral("-o"), QStringLiteral("--start"), QStringLiteral("--utc-offset")}},
                              arguments);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Arguments &args = std::get<Arguments>(parsed);
    QString output;
    SnifferCapture::Settings settings;
    for (const auto &[option, value] : args.options) {
        if (option == u"-o") {
            output = value;
        } else if (option == u"--pcap") {
            settings.format = CaptureWriter::Format::pcap;
        } else if (option == u"--start") {
            settings.reader.startMicros = instant(value);
            if (!settings.reader.startMicros)
                return failure(QStringLiteral("invalid --start %1; use an ISO 8601 time such as "
                                              "2026-12-07T14:03:00.250000Z")
                                   .arg(Text::quoted(value)));
        } else if (option == u"--utc-offset") {
            settings.reader.utcOffsetSeconds = utcOffset(value);
            if (!settings.reader.utcOffsetSeconds)
                return failure(QStringLiteral("invalid --utc-offset %1; use +HH:MM or -HH:MM, such as +01:00")
                                   .arg(Text::quoted(value)));
        }
    }
    const QString &input = args.input;
    if (fromStdin(args) && output.isEmpty())
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
    if (const int status = open(in, args))
        return status;
    if (!settings.reader.startMicros)
        settings.reader.startMicros = SnifferCapture::defaultStart(fromStdin(args) ? QString() : input);

    std::optional<AtomicFile::Writer> file;
    if (!toStdout)
        file.emplace(output, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                 QFileDevice::ReadOther);
    Output out;
    const CaptureWriter::Sink sink = [&](QByteArrayView bytes) { return file ? file->write(bytes) : out.put(bytes); };
    SnifferCapture::Result result;
    {
        Warnings warnings;
        SnifferCapture::Callbacks callbacks;
        callbacks.warning = [&](const SnifferReader::Warning &w) { warnings.add(w.line, w.text); };
        result = SnifferCapture::convert(in, settings, sink, callbacks);
    }

    const QString shownOutput = toStdout ? QStringLiteral("standard output") : Text::quoted(output);
    switch (result.outcome) {
    case SnifferCapture::Result::Outcome::written:
        break;
    case SnifferCapture::Result::Outcome::writeFailed:
        if (!file)
            return out.failed();
        write(stderr,
              file->error().isEmpty()
                  ? QStringLiteral("brindlecap: %1\n").arg(result.message)
                  : QStringLiteral("brindlecap: %1 could not be written: %2\n").arg(shownOutput, file->error()));
        return writeFailed;
    case SnifferCapture::Result::Outcome::readFailed:
    case SnifferCapture::Result::Outcome::noBytes:
    case SnifferCapture::Result::Outcome::noPackets:
    case SnifferCapture::Result::Outcome::cancelled:
        return failure(result.message);
    }
    if (!file && !out.flush())
        return out.failed();
    if (file && !file->commit()) {
        write(stderr, QStringLiteral("brindlecap: %1 could not be written: %2\n").arg(shownOutput, file->error()));
        return writeFailed;
    }
    write(stderr,
          QStringLiteral("brindlecap: %1; written to %2\n").arg(SnifferCapture::summaryLine(result), shownOutput));
    return 0;
}

int readFlow(const QStringList &arguments)
{
    const auto parsed =
        parse({QStringLiteral("flow"), QStringLiteral("[FILE|-] [--json]"), {QStringLiteral("--json")}, {}}, arguments);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Arguments &args = std::get<Arguments>(parsed);
    const bool json = !args.options.isEmpty();
    QFile in;
    if (const int status = open(in, args))
        return status;

    // Each trace is written as it comes, so memory stays flat however long the log; a failed write stops
    // the reading at the next slice.
    Output out;
    std::atomic_bool stop = false;
    FlowText::Tally tally;
    qint64 written = 0;
    FlowReader::Result result;
    {
        Warnings warnings;
        FlowReader::Callbacks callbacks;
        callbacks.cancel = &stop;
        callbacks.warning = [&](const FlowReader::Warning &w) { warnings.add(w.line, w.text); };
        callbacks.trace = [&](FlowTrace &&trace) {
            tally.add(trace);
            const QByteArray text =
                json ? (written == 0 ? "[" : ",\n") + FlowText::json(trace) : FlowText::line(trace).toUtf8() + '\n';
            ++written;
            if (!out.put(text))
                stop = true;
        };
        result = FlowReader::read(in, callbacks);
    }
    if (out.error())
        return out.failed();
    switch (result.outcome) {
    case FlowReader::Result::Outcome::read:
        break;
    case FlowReader::Result::Outcome::noRecords:
    case FlowReader::Result::Outcome::readFailed:
    case FlowReader::Result::Outcome::cancelled:
        return failure(result.message);
    }
    if (json && !out.put(written == 0 ? "[]\n" : "]\n"))
        return out.failed();
    if (!out.flush())
        return out.failed();
    write(stderr, QStringLiteral("brindlecap: %1\n").arg(tally.summaryLine()));
    return 0;
}

} // namespace

int ReadCommand::run(const QStringList &arguments)
{
    const auto isHelp = [](const QString &argument) { return argument == u"--help" || argument == u"-h"; };
    if (isHelp(arguments.value(0)) ||
        (arguments.size() == 2 && (arguments.at(0) == u"sniffer" || arguments.at(0) == u"flow") &&
         isHelp(arguments.at(1)))) {
        write(stdout, QString::fromLatin1(usage));
        return std::fflush(stdout) == 0 ? 0 : writeFailed;
    }
    if (arguments.value(0) == u"sniffer")
        return readSniffer(arguments);
    if (arguments.value(0) == u"flow")
        return readFlow(arguments);
    return failure(
        arguments.isEmpty()
            ? QStringLiteral("read takes what to read: sniffer or flow")
            : QStringLiteral("unknown reader %1; valid readers: sniffer, flow").arg(Text::quoted(arguments.first())));
}
