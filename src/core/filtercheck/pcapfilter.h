#pragma once

#include <QString>

// libpcap's own judgement of a capture filter, the same compiler tcpdump uses.
namespace PcapFilter {

struct Result {
    bool valid = false;
    QString message; // libpcap's message when the filter does not compile, else empty
};

// Compiles the expression for an Ethernet link. Blocks while libpcap resolves host, port and protocol
// names (DNS may take seconds), so keep it off the UI thread. Safe to call from any thread: calls are
// serialised, because older libpcap versions keep the parser's state in globals.
Result compile(const QString &expression);

} // namespace PcapFilter
