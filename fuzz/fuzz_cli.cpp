#include "commandline.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The command line with any arguments at all: it exits 0 or 2 (3 only for --strict), a usage error
// writes nothing to standard output and one short line to standard error, and standard error holds
// nothing else but advice lines, only when asked for, whatever was typed or pasted.

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
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // `help TOPIC` opens the settings to name the saved-commands file: never the user's own.
    static QTemporaryDir settingsDir(QDir::tempPath() + QStringLiteral("/brindlecap-fuzz-XXXXXX"));
    check(settingsDir.isValid());
    qputenv("BRINDLECAP_SETTINGS", settingsDir.filePath(QStringLiteral("settings.conf")).toLocal8Bit());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList args = arguments(data, size);
    const CommandLine::Result result = CommandLine::run(args);

    const bool advised = args.contains(QStringLiteral("--check")) || args.contains(QStringLiteral("--strict"));
    check(result.exitCode == 0 || result.exitCode == 2 ||
          (result.exitCode == 3 && args.contains(QStringLiteral("--strict"))));
    if (result.exitCode != 2) {
        check(advised || result.err.isEmpty());
        check(result.exitCode == 0 || (result.out.isEmpty() && !result.err.isEmpty()));
        for (const QByteArray &line : result.err.split('\n')) {
            // Advice names a field and says something fixed: nothing typed reaches the terminal.
            check(line.isEmpty() || (line.startsWith("brindlecap: advice: ") && line.size() <= 200 &&
                                     std::none_of(line.cbegin(), line.cend(), [](char c) { return uchar(c) < 0x20; })));
        }
        return 0;
    }
    check(result.out.isEmpty());
    check(!result.err.isEmpty());
    // Without arguments the usage text goes to standard error, several lines long.
    if (args.isEmpty())
        return 0;
    check(result.err.endsWith('\n'));
    check(result.err.count('\n') == 1);
    check(!result.err.contains('\r'));
    check(result.err.size() <= 1024);
    return 0;
}
