#include "commandline.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The command line with any arguments at all, over any stored list of saved commands: it exits 0 or 2
// (3 only for --strict), a usage error writes nothing to standard output and one short line to standard
// error, and nothing typed, pasted or stored reaches the terminal raw: standard error and the lines of
// `saved list` hold no control character but their line feeds.
//
// An input starting with \x01 carries the stored list first, up to the first NUL byte; the arguments
// follow.

namespace {
// Each argument ends at a NUL byte (the last one may also end at the end of the input), so that the
// input "" is no arguments and "\0" is one empty argument. Decoded as main does under a UTF-8 locale.
QStringList arguments(const uint8_t *data, size_t size)
{
    QStringList result;
    const auto *text = reinterpret_cast<const char *>(data);
    size_t start = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != 0)
            continue;
        result << QString::fromUtf8(text + start, qsizetype(i - start));
        start = i + 1;
    }
    if (start < size)
        result << QString::fromUtf8(text + start, qsizetype(size - start));
    return result;
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QString listFile;

bool noControls(const QByteArray &text)
{
    return std::none_of(text.cbegin(), text.cend(), [](char c) { return (uchar(c) < 0x20 && c != '\n') || c == 0x7f; });
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Never the user's own settings: a folder of this run's, where the stored list is put.
    static QTemporaryDir settingsDir(QDir::tempPath() + QStringLiteral("/brindlecap-fuzz-XXXXXX"));
    check(settingsDir.isValid());
    qputenv("BRINDLECAP_SETTINGS", settingsDir.filePath(QStringLiteral("settings.conf")).toLocal8Bit());
    listFile = settingsDir.filePath(QStringLiteral("saved-commands.json"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QByteArray stored;
    QByteArray list;
    if (size > 0 && data[0] == 1) {
        const auto *end = static_cast<const uint8_t *>(std::memchr(data, 0, size));
        const size_t listSize = end ? size_t(end - data) : size;
        list = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(listSize - 1));
        data += std::min(listSize + 1, size);
        size -= std::min(listSize + 1, size);
    }
    if (list != stored) {
        QFile file(listFile);
        check(list.isEmpty()
                  ? (!file.exists() || file.remove())
                  : file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(list) == list.size());
        stored = list;
    }
    const QStringList args = arguments(data, size);
    const CommandLine::Result result = CommandLine::run(args);

    check(noControls(result.err));
    if (args.size() >= 2 && args.at(0) == QLatin1String("saved") && args.at(1) == QLatin1String("list") &&
        !args.contains(QStringLiteral("--json")))
        check(noControls(result.out));
    const bool advised = args.contains(QStringLiteral("--check")) || args.contains(QStringLiteral("--strict"));
    check(result.exitCode == 0 || result.exitCode == 2 ||
          (result.exitCode == 3 && args.contains(QStringLiteral("--strict"))));
    if (result.exitCode != 2) {
        check(advised || result.err.isEmpty());
        check(result.exitCode == 0 || (result.out.isEmpty() && !result.err.isEmpty()));
        for (const QByteArray &line : result.err.split('\n')) {
            // Advice names a field and says something fixed: nothing typed reaches the terminal.
            check(line.isEmpty() || (line.startsWith("brindlecap: advice: ") && line.size() <= 200));
        }
        return 0;
    }
    check(result.out.isEmpty());
    check(!result.err.isEmpty());
    // Without arguments the usage text goes to standard error, several lines long.
    if (args.isEmpty())
        return 0;
    check(result.err.endsWith('\n'));
    // An ambiguous `saved show` lists the candidates, each on a line of its own and cut short.
    for (const QByteArray &line : result.err.split('\n'))
        check(line.size() <= 1024);
    check(result.err.count('\n') == 1 || result.err.contains(" saved commands:\n"));
    return 0;
}
