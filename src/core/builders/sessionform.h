#pragma once

#include "formfield.h"

#include <QString>

struct SessionForm {
    enum class SessionProto { any, tcp, udp, icmp, gre, esp };

    QString src;
    QString dst;
    QString srcPort;
    QString dstPort;
    SessionProto proto = SessionProto::any;
    QString vdom;
    bool negate = false;
    bool clearFirst = true;
    bool listAtEnd = true;
    bool stats = false;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<SessionForm>> &fields();
};

template <> struct EnumTraits<SessionForm::SessionProto> {
    using P = SessionForm::SessionProto;
    using Case = EnumCase<P, int>; // payload: IP protocol number, 0 for none
    static constexpr std::array cases = {
        Case{P::any, "any", "Any", 0},        Case{P::tcp, "tcp", "TCP (6)", 6},   Case{P::udp, "udp", "UDP (17)", 17},
        Case{P::icmp, "icmp", "ICMP (1)", 1}, Case{P::gre, "gre", "GRE (47)", 47}, Case{P::esp, "esp", "ESP (50)", 50},
    };
};
