#include "commandline.h"

#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const CommandLine::Result result = CommandLine::run(arguments);
    std::fwrite(result.out.constData(), 1, size_t(result.out.size()), stdout);
    std::fwrite(result.err.constData(), 1, size_t(result.err.size()), stderr);
    return std::fflush(stdout) == 0 ? result.exitCode : 1;
}
