#pragma once

#include <QString>

// libpcap's own judgement of a capture filter, the same compiler tcpdump uses.
namespace PcapFilter {

struct Result {
    bool valid = false;
    QString message; // libpcap's message when the filter does not compile, else empty
};

// Compiles the expression for an Ethernet link, host, network and Ethernet names standing for addresses
// (the appliance resolves them, never this computer), so that no name reaches DNS. Port and protocol
// names are still read from the system's tables. Safe to call from any thread: calls are serialised,
// because older libpcap versions keep the parser's state in globals.
Result compile(const QString &expression);

} // namespace PcapFilter
