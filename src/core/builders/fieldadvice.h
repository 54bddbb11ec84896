#pragma once

#include <QString>

// Plain-words advice on a field's text: a sign that the appliance may read it differently from what
// the user meant, or refuse it. Advice never changes a value and never blocks anything: the text is
// always pasted as typed. Where a FortiOS range is not certain, there is no advice on it: a false
// warning costs more trust than a missing one.
namespace Advice {

// What a text field is meant to hold.
enum class Expect {
    anything,        // only invisible characters are pointed out
    address,         // one IPv4 or IPv6 address; an IPv6 zone is allowed (fe80::1%port1)
    ipv4,            // one IPv4 address (a command word that says so: dst-addr4)
    filterHost,      // a capture filter's host: an address as libpcap takes one (no zone), or a host name
    mac,             // an Ethernet address: 00:11:22:33:44:55, 00-11-22-33-44-55 or 0011.2233.4455
    etherType,       // an EtherType number, decimal or 0x hexadecimal
    debugLevel,      // a FortiOS debug level: -1 for all, or 0 to 255
    addressRange,    // an address, or two for a range, apart by a space or "-"
    host,            // an address or a host name
    subnet,          // a capture filter's net: an address or its first octets, with an optional /length
    addressOrPrefix, // an address, or an address with a /length
    port,            // 1 to 65535
    portRange,       // a port, or two for a range, apart by a space or "-"
    portList,        // ports apart by commas; service names are taken as they are
    byte,            // 0 to 255: ToS, IP protocol numbers
    ttl,             // 1 to 255
    vlan,            // 0 to 4095
    whole,           // a whole number from 0: indexes, sizes, times
    count,           // a whole number from 1
    hex,             // hexadecimal digits
    name,            // one word: a space would split the command's arguments
    interfaceName,   // one word of at most 15 characters
    captureFilter,   // pasted inside single quotes on one line
};

// The advice on value, or an empty string. asTyped: the value reaches the command with its
// surrounding white space; otherwise only what lies between is pasted.
QString about(Expect expect, const QString &value, bool asTyped);

// The capture filter's own advice, also shown beside its libpcap verdict.
QString lineBreakInFilter();
QString singleQuoteInFilter();

} // namespace Advice
