#pragma once

#include "builders/flowform.h"
#include "builders/snifferform.h"

#include <optional>

struct FlowTrace;
struct SnifferPacket;

// The next command for a packet a reader found: the Debug Flow and Sniffer forms filled with its
// addresses, ports and protocol in the forms' own fields, every other field at its default. Addresses
// are written as the FortiGate prints them (IPv6 compressed, lower case), whatever the input held.
struct ReaderForms {
    FlowForm flow;
    SnifferForm sniffer;

    // Nothing for a trace without its "received a packet" record or with no valid addresses in it.
    static std::optional<ReaderForms> of(const FlowTrace &trace);
    // From the packet's bytes (an Ethernet frame with any VLAN tags, or raw IP); nothing for a packet
    // that is not IPv4 or IPv6 (ARP, ...) or that stops before its addresses or ports.
    static std::optional<ReaderForms> of(const SnifferPacket &packet);
};
