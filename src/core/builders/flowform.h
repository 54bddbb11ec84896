#pragma once

#include "formfield.h"

#include <QString>

struct FlowForm {
    enum class FlowProto { any, tcp, udp, icmp, gre, esp };

    QString addr;
    QString saddr;
    QString daddr;
    QString port;
    QString sport;
    QString dport;
    FlowProto proto = FlowProto::any;
    QString vdom;
    QString traceCount = QStringLiteral("1000");
    bool resetFirst = true;
    bool showFunctionName = true;
    bool showIprope = false;
    bool timestamps = true;
    bool includeStopBlock = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<FlowForm>> &fields();
};

template <> struct EnumTraits<FlowForm::FlowProto> {
    using P = FlowForm::FlowProto;
    using Case = EnumCase<P, int>; // payload: IP protocol number, 0 for none
    static constexpr std::array cases = {
        Case{P::any, "any", "Any", 0},        Case{P::tcp, "tcp", "TCP (6)", 6},   Case{P::udp, "udp", "UDP (17)", 17},
        Case{P::icmp, "icmp", "ICMP (1)", 1}, Case{P::gre, "gre", "GRE (47)", 47}, Case{P::esp, "esp", "ESP (50)", 50},
    };
};
