#pragma once

#include "formfield.h"
#include "model/enumtable.h"

#include <QString>

// The snippet builder under the Sniffer's custom filter. It holds only its own parameters: the filter
// text it extends stays the Sniffer's, so append() takes that text and returns the new one.
struct BPFBuilderForm {
    enum class SnippetType {
        host,
        network,
        port,
        ipProtocol,
        etherHost,
        vlan,
        tcpFlag,
        icmpType,
        etherBroadcast,
        etherMulticast,
        ipVersion,
        etherProto,
        ipProto
    };
    enum class Combinator { and_, or_ };
    enum class HostDir { any, src, dst };
    enum class MacDir { any, src, dst };
    enum class BPFProto { tcp, udp, icmp, icmp6, arp, ip, ip6, esp, gre };
    enum class FlagMode { anyOf, exact };
    enum class ICMPType { echoRequest, echoReply, unreach, redirect, timeExceeded, sourceQuench };
    enum class IPVer { v4, v6 };
    // The one-click buttons, in button order.
    enum class Preset { tcpSyn, tcpRst, newTcp, icmpPing, arp, vlanAny, ipv6, broadcast, multicast };

    SnippetType type = SnippetType::host;
    Combinator combinator = Combinator::and_;
    bool negate = false;
    bool wrapInParens = true;
    QString hostIP;
    HostDir hostDir = HostDir::any;
    QString networkCIDR;
    HostDir networkDir = HostDir::any;
    QString portList;
    HostDir portDir = HostDir::any;
    BPFProto bpfProto = BPFProto::tcp;
    QString mac;
    MacDir macDir = MacDir::any;
    QString vlanID;
    bool flagSyn = true;
    bool flagAck = false;
    bool flagFin = false;
    bool flagRst = false;
    bool flagPsh = false;
    bool flagUrg = false;
    FlagMode flagMode = FlagMode::anyOf;
    ICMPType icmp = ICMPType::echoRequest;
    IPVer ipVer = IPVer::v4;
    QString etherProtoNum;
    QString ipProtoNum;

    // The snippet of the current type, undecorated; empty when its parameters give none.
    QString rawSnippet() const;
    // rawSnippet after the negate and parenthesis options.
    QString decoratedSnippet() const;
    // What the builder generates, under the name every form's output has, for code that handles any form.
    QString generatedCommand() const { return decoratedSnippet(); }
    // The filter with piece joined to it by the combinator (piece in parentheses when wrap is set). The
    // filter comes back trimmed; line breaks inside it stay.
    QString append(const QString &filter, const QString &piece, bool wrap) const;

    // "Add to Filter": the filter with decoratedSnippet appended, or unchanged while rawSnippet is empty.
    QString addToFilter(const QString &filter) const;
    // A preset button: its expression, always in parentheses, whatever negate and wrapInParens say.
    QString addPreset(const QString &filter, Preset preset) const;

    // Button title and expression of a preset.
    static QString title(Preset preset);
    static QString expression(Preset preset);
    // The emitted text of a picker value ("icmp[icmptype] == icmp-echo", "ip6").
    static QString snippet(ICMPType kind);
    static QString snippet(IPVer version);
    // The joining word of a combinator ("and", "or").
    static QString word(Combinator combinator);

    // The builder's own parameters, named for the controls bound to them.
    static const QList<FormField<BPFBuilderForm>> &fields();
};

template <> struct EnumTraits<BPFBuilderForm::SnippetType> {
    using T = BPFBuilderForm::SnippetType;
    using Case = EnumCase<T>;
    static constexpr std::array cases = {
        Case{T::host, "host", "Host (IP)"},
        Case{T::network, "network", "Network (CIDR)"},
        Case{T::port, "port", "Port(s)"},
        Case{T::ipProtocol, "ipProtocol", "Protocol (tcp/udp/\u2026)"},
        Case{T::etherHost, "etherHost", "Ethernet host (MAC)"},
        Case{T::vlan, "vlan", "VLAN"},
        Case{T::tcpFlag, "tcpFlag", "TCP flag"},
        Case{T::icmpType, "icmpType", "ICMP type"},
        Case{T::etherBroadcast, "etherBroadcast", "Ether broadcast"},
        Case{T::etherMulticast, "etherMulticast", "Ether multicast"},
        Case{T::ipVersion, "ipVersion", "IP version"},
        Case{T::etherProto, "etherProto", "Ether protocol #"},
        Case{T::ipProto, "ipProto", "IP protocol #"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::Combinator> {
    using C = BPFBuilderForm::Combinator;
    using Case = EnumCase<C, std::string_view>; // payload: the joining word
    static constexpr std::array cases = {
        Case{C::and_, "and", "AND", "and"},
        Case{C::or_, "or_", "OR", "or"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::HostDir> {
    using D = BPFBuilderForm::HostDir;
    using Case = EnumCase<D, std::string_view>; // payload: what goes before "host", "net" or "port"
    static constexpr std::array cases = {
        Case{D::any, "any", "Either", ""},
        Case{D::src, "src", "Source", "src "},
        Case{D::dst, "dst", "Destination", "dst "},
    };
};

template <> struct EnumTraits<BPFBuilderForm::MacDir> {
    using D = BPFBuilderForm::MacDir;
    using Case = EnumCase<D, std::string_view>; // payload: the leading words of the snippet
    static constexpr std::array cases = {
        Case{D::any, "any", "Either", "ether host"},
        Case{D::src, "src", "Source", "ether src"},
        Case{D::dst, "dst", "Destination", "ether dst"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::BPFProto> {
    using P = BPFBuilderForm::BPFProto;
    using Case = EnumCase<P>; // the raw value is also the snippet
    static constexpr std::array cases = {
        Case{P::tcp, "tcp", "tcp"},       Case{P::udp, "udp", "udp"}, Case{P::icmp, "icmp", "icmp"},
        Case{P::icmp6, "icmp6", "icmp6"}, Case{P::arp, "arp", "arp"}, Case{P::ip, "ip", "ip"},
        Case{P::ip6, "ip6", "ip6"},       Case{P::esp, "esp", "esp"}, Case{P::gre, "gre", "gre"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::FlagMode> {
    using M = BPFBuilderForm::FlagMode;
    using Case = EnumCase<M>;
    static constexpr std::array cases = {
        Case{M::anyOf, "anyOf", "Any of selected"},
        Case{M::exact, "exact", "Exact match"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::ICMPType> {
    using I = BPFBuilderForm::ICMPType;
    using Case = EnumCase<I, std::string_view>; // payload: the snippet
    static constexpr std::array cases = {
        Case{I::echoRequest, "echoRequest", "echo request (ping)", "icmp[icmptype] == icmp-echo"},
        Case{I::echoReply, "echoReply", "echo reply", "icmp[icmptype] == icmp-echoreply"},
        Case{I::unreach, "unreach", "destination unreachable", "icmp[icmptype] == icmp-unreach"},
        Case{I::redirect, "redirect", "redirect", "icmp[icmptype] == icmp-redirect"},
        Case{I::timeExceeded, "timeExceeded", "time exceeded", "icmp[icmptype] == icmp-timxceed"},
        Case{I::sourceQuench, "sourceQuench", "source quench", "icmp[icmptype] == icmp-sourcequench"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::IPVer> {
    using V = BPFBuilderForm::IPVer;
    using Case = EnumCase<V, std::string_view>; // payload: the snippet
    static constexpr std::array cases = {
        Case{V::v4, "v4", "IPv4", "ip"},
        Case{V::v6, "v6", "IPv6", "ip6"},
    };
};

template <> struct EnumTraits<BPFBuilderForm::Preset> {
    using P = BPFBuilderForm::Preset;
    using Case = EnumCase<P, std::string_view>; // raw value: the button title; payload: the expression
    static constexpr std::array cases = {
        Case{P::tcpSyn, "tcpSyn", "TCP SYN", "tcp[tcpflags] & tcp-syn != 0"},
        Case{P::tcpRst, "tcpRst", "TCP RST", "tcp[tcpflags] & tcp-rst != 0"},
        Case{P::newTcp, "newTcp", "New TCP", "tcp[tcpflags] & (tcp-syn|tcp-ack) == tcp-syn"},
        Case{P::icmpPing, "icmpPing", "ICMP ping", "icmp[icmptype] == icmp-echo"},
        Case{P::arp, "arp", "ARP", "arp"},
        Case{P::vlanAny, "vlanAny", "VLAN any", "vlan"},
        Case{P::ipv6, "ipv6", "IPv6", "ip6"},
        Case{P::broadcast, "broadcast", "Broadcast", "ether broadcast"},
        Case{P::multicast, "multicast", "Multicast", "ether multicast"},
    };
};
