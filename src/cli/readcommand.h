#pragma once

#include <QStringList>

// `brindlecap read ...`: turns what the appliance printed into files. Unlike the generator it streams
// (a log can be far larger than memory should hold), so it writes to the standard streams itself.
namespace ReadCommand {

// arguments follow "read"; returns the exit status.
int run(const QStringList &arguments);

} // namespace ReadCommand
