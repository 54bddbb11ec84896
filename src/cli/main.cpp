#include "commandline.h"
#include "readcommand.h"

#include <QString>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
#ifdef SIGPIPE
    // A reader that stops early (`| head`) is a normal end of output, not a death by signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    if (arguments.value(0) == QLatin1String("read"))
        return ReadCommand::run(arguments.mid(1));

    const CommandLine::Result result = CommandLine::run(arguments);
    errno = 0;
    const bool written =
        std::fwrite(result.out.constData(), 1, size_t(result.out.size()), stdout) == size_t(result.out.size()) &&
        std::fflush(stdout) == 0;
    const int writeError = errno;
    std::fwrite(result.err.constData(), 1, size_t(result.err.size()), stderr);
    if (written || writeError == EPIPE)
        return result.exitCode;
    std::fprintf(stderr, "brindlecap: could not write to standard output: %s\n",
                 writeError ? std::strerror(writeError) : "the system gave no reason");
    return 1;
}
