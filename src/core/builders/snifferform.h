#pragma once

#include "formfield.h"

#include <QString>
#include <QStringView>

#include <optional>

struct SnifferForm {
    // One direction for the host, network and port terms; the case picks the leading words.
    enum class HostMode { any, src, dst };
    enum class SnifferProto { any, tcp, udp, icmp, icmp6, arp, ip, ip6, esp, gre };
    // The value is the digit emitted; the appliance's level 0 is deliberately not offered.
    enum class VerboseLevel { v1 = 1, v2, v3, v4, v5, v6 };
    enum class TimestampFormat { relative, absoluteUTC, absoluteLocal };

    // Shown in the offload reminder and put on the clipboard by its button; the indentation is part of
    // the text the user pastes.
    static constexpr QStringView offloadDisableSnippet = u"config firewall policy\n"
                                                         u"    edit <policy-id>\n"
                                                         u"        set auto-asic-offload disable\n"
                                                         u"    next\n"
                                                         u"end";

    QString interface = QStringLiteral("any");
    QString host;
    HostMode hostMode = HostMode::any;
    QString network;
    HostMode networkMode = HostMode::any;
    QString portList;
    HostMode portMode = HostMode::any;
    SnifferProto proto = SnifferProto::any;
    QString customFilter;
    bool useCustomFilter = false;
    VerboseLevel verbose = VerboseLevel::v4;
    QString count;
    TimestampFormat timestamp = TimestampFormat::absoluteLocal;

    // The filter without its quotes; empty when there is none.
    QString filterExpression() const;
    QString generatedCommand() const;
    QString title() const;

    // The picker label of a level ("4 — headers + interface names").
    static QString label(VerboseLevel level);

    static const QList<FormField<SnifferForm>> &fields();
};

struct SnifferHostWords {
    std::string_view host;
    std::string_view network;
    std::string_view port;
};

template <> struct EnumTraits<SnifferForm::HostMode> {
    using M = SnifferForm::HostMode;
    using Case = EnumCase<M, SnifferHostWords>;
    static constexpr std::array cases = {
        Case{M::any, "any", "Either direction", {"host", "net", "port"}},
        Case{M::src, "src", "Source", {"src host", "src net", "src port"}},
        Case{M::dst, "dst", "Destination", {"dst host", "dst net", "dst port"}},
    };
};

template <> struct EnumTraits<SnifferForm::SnifferProto> {
    using P = SnifferForm::SnifferProto;
    using Case = EnumCase<P, std::string_view>; // payload: the term emitted, empty for none
    static constexpr std::array cases = {
        Case{P::any, "any", "Any", ""},
        Case{P::tcp, "tcp", "tcp", "tcp"},
        Case{P::udp, "udp", "udp", "udp"},
        Case{P::icmp, "icmp", "icmp", "icmp"},
        Case{P::icmp6, "icmp6", "icmp6", "icmp6"},
        Case{P::arp, "arp", "arp", "arp"},
        Case{P::ip, "ip", "ip", "ip"},
        Case{P::ip6, "ip6", "ip6", "ip6"},
        Case{P::esp, "esp", "esp", "esp"},
        Case{P::gre, "gre", "gre", "gre"},
    };
};

// The raw value is the integer as text; the payload is the picker label.
template <> struct EnumTraits<SnifferForm::VerboseLevel> {
    using V = SnifferForm::VerboseLevel;
    using Case = EnumCase<V, std::string_view>;
    static constexpr std::array cases = {
        Case{V::v1, "v1", "1", "1 \u2014 headers only"},
        Case{V::v2, "v2", "2", "2 \u2014 headers + IP data"},
        Case{V::v3, "v3", "3", "3 \u2014 headers + Ethernet data"},
        Case{V::v4, "v4", "4", "4 \u2014 headers + interface names"},
        Case{V::v5, "v5", "5", "5 \u2014 IP data + interface names"},
        Case{V::v6, "v6", "6", "6 \u2014 Ethernet data + interface names"},
    };
};

template <> struct EnumTraits<SnifferForm::TimestampFormat> {
    using T = SnifferForm::TimestampFormat;
    using Case = EnumCase<T, std::string_view>; // payload: the letter emitted, empty for none
    static constexpr std::array cases = {
        Case{T::relative, "relative", "Relative (default)", ""},
        Case{T::absoluteUTC, "absoluteUTC", "Absolute UTC (a)", "a"},
        Case{T::absoluteLocal, "absoluteLocal", "Absolute Local (l)", "l"},
    };
};
