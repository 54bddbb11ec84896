#pragma once

#include "enumtable.h"

#include <QString>

// The readers of what the FortiGate printed, in the sidebar's "Read Output" section in this order. Kept
// apart from DebugCategory: a reader is no category of saved commands, and the stored ones must still
// name only the categories they were saved with.
enum class OutputReader { sniffer, flow };

struct OutputReaderInfo {
    std::string_view subtitle;
    std::string_view icon; // symbol name, mapped to an icon by the UI
};

template <> struct EnumTraits<OutputReader> {
    using Case = EnumCase<OutputReader, OutputReaderInfo>;
    static constexpr std::array cases = {
        Case{OutputReader::sniffer, "sniffer", "Sniffer Output", {"To a capture for Wireshark", "terminal"}},
        Case{OutputReader::flow, "flow", "Debug Flow Output", {"Verdicts from a flow trace", "arrow.left.arrow.right"}},
    };
};
