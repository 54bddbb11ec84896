#pragma once

#include <QString>

// Pieces of tcpdump-style filter text shared by the Sniffer's simple filter and the BPF builder.
namespace BpfTerms {

// "port 80", or "(port 80 or port 443)" for a comma-separated list, each piece trimmed and empty
// pieces dropped; empty when no piece is left. portWords is "port", "src port" or "dst port".
QString portTerm(const QString &portList, const QString &portWords);

} // namespace BpfTerms
