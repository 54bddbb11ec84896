#pragma once

#include <QString>

// Host, network and Ethernet names in a capture filter are resolved by the FortiGate when the capture
// starts, never by this computer: libpcap would send each one to DNS (or read /etc/hosts, /etc/networks,
// /etc/ethers) while it compiles, on every keystroke, and call a name only the appliance knows an error.
namespace FilterNames {

// The expression with every name that libpcap would look up replaced by a documentation address of the
// kind its place calls for (an IPv4 or IPv6 host, an IPv4 network, an Ethernet address), so that libpcap
// judges the syntax alone. Found as libpcap's own scanner and grammar find them: after host, net,
// gateway, src, dst and the protocol qualifiers, and a bare name after and/or that inherits the
// qualifiers before it. Port and protocol names stay (libpcap reads those from fixed tables); anything
// else is left as written.
QString withoutLookups(const QString &expression);

} // namespace FilterNames
