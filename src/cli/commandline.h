#pragma once

#include <QByteArray>
#include <QStringList>

// The brindlecap command line: the same rules as the desktop application, printed for terminals
// and scripts. Output is exact: callers write `out` and `err` byte for byte.
class CommandLine
{
public:
    struct Result {
        int exitCode = 0;
        QByteArray out;
        QByteArray err;
    };

    // arguments excludes the program name.
    static Result run(const QStringList &arguments);
};
