#include "bpfbuilderform.h"

#include "bpfterms.h"
#include "text.h"

#include <QStringList>

namespace {
// "host", "src host" or "dst host" for keyword "host"; likewise "net" and "port".
QString directionWords(BPFBuilderForm::HostDir dir, const char *keyword)
{
    return Enum::text(Enum::payload(dir)) + QLatin1String(keyword);
}

// The value's term, or nothing while the value is blank.
QString termIfSet(const QString &words, const QString &value)
{
    return Text::isNonBlank(value) ? words + u' ' + Text::trimmed(value) : QString();
}

QString tcpFlagSnippet(const BPFBuilderForm &f)
{
    QStringList flags;
    const std::pair<bool, const char *> all[] = {
        {f.flagSyn, "tcp-syn"}, {f.flagAck, "tcp-ack"},  {f.flagFin, "tcp-fin"},
        {f.flagRst, "tcp-rst"}, {f.flagPsh, "tcp-push"}, {f.flagUrg, "tcp-urg"},
    };
    for (const auto &[on, name] : all) {
        if (on)
            flags << QLatin1String(name);
    }
    if (flags.isEmpty())
        return {};
    QString mask = flags.join(u'|');
    if (flags.size() > 1)
        mask = u'(' + mask + u')';
    const QString test = QStringLiteral("tcp[tcpflags] & ") + mask;
    if (f.flagMode == BPFBuilderForm::FlagMode::exact)
        return test + QStringLiteral(" == ") + mask;
    return test + QStringLiteral(" != 0");
}
} // namespace

QString BPFBuilderForm::rawSnippet() const
{
    switch (type) {
    case SnippetType::host:
        return termIfSet(directionWords(hostDir, "host"), hostIP);
    case SnippetType::network:
        return termIfSet(directionWords(networkDir, "net"), networkCIDR);
    case SnippetType::port:
        return BpfTerms::portTerm(portList, directionWords(portDir, "port"));
    case SnippetType::ipProtocol:
        return Enum::rawValue(bpfProto);
    case SnippetType::etherHost:
        return termIfSet(Enum::text(Enum::payload(macDir)), mac);
    case SnippetType::vlan:
        // A blank ID matches any VLAN tag.
        return Text::isNonBlank(vlanID) ? QStringLiteral("vlan ") + Text::trimmed(vlanID) : QStringLiteral("vlan");
    case SnippetType::tcpFlag:
        return tcpFlagSnippet(*this);
    case SnippetType::icmpType:
        return snippet(icmp);
    case SnippetType::etherBroadcast:
        return QStringLiteral("ether broadcast");
    case SnippetType::etherMulticast:
        return QStringLiteral("ether multicast");
    case SnippetType::ipVersion:
        return snippet(ipVer);
    case SnippetType::etherProto:
        return termIfSet(QStringLiteral("ether proto"), etherProtoNum);
    case SnippetType::ipProto:
        return termIfSet(QStringLiteral("ip proto"), ipProtoNum);
    }
    return {};
}

QString BPFBuilderForm::decoratedSnippet() const
{
    const QString raw = rawSnippet();
    // Negation brings its own parentheses; a second pair would only be noise.
    if (negate)
        return QStringLiteral("not (") + raw + u')';
    if (wrapInParens)
        return u'(' + raw + u')';
    return raw;
}

QString BPFBuilderForm::append(const QString &filter, const QString &piece, bool wrap) const
{
    const QString addition = wrap ? u'(' + piece + u')' : piece;
    const QString existing = Text::trimmed(filter);
    if (existing.isEmpty())
        return addition;
    return existing + u' ' + word(combinator) + u' ' + addition;
}

QString BPFBuilderForm::addToFilter(const QString &filter) const
{
    if (rawSnippet().isEmpty())
        return filter;
    return append(filter, decoratedSnippet(), false);
}

QString BPFBuilderForm::addPreset(const QString &filter, Preset preset) const
{
    return append(filter, expression(preset), true);
}

QString BPFBuilderForm::title(Preset preset)
{
    return Enum::rawValue(preset);
}

QString BPFBuilderForm::expression(Preset preset)
{
    return Enum::text(Enum::payload(preset));
}

QString BPFBuilderForm::snippet(ICMPType kind)
{
    return Enum::text(Enum::payload(kind));
}

QString BPFBuilderForm::snippet(IPVer version)
{
    return Enum::text(Enum::payload(version));
}

QString BPFBuilderForm::word(Combinator combinator)
{
    return Enum::text(Enum::payload(combinator));
}

const QList<FormField<BPFBuilderForm>> &BPFBuilderForm::fields()
{
    using F = BPFBuilderForm;
    static const QList<FormField<F>> table = {
        Fields::enumeration("type", &F::type),
        Fields::enumeration("combinator", &F::combinator),
        Fields::flag("negate", &F::negate),
        Fields::flag("wrapInParens", &F::wrapInParens),
        Fields::text("hostIP", &F::hostIP, Advice::Expect::filterHost),
        Fields::enumeration("hostDir", &F::hostDir),
        Fields::text("networkCIDR", &F::networkCIDR, Advice::Expect::subnet),
        Fields::enumeration("networkDir", &F::networkDir),
        Fields::text("portList", &F::portList, Advice::Expect::portList),
        Fields::enumeration("portDir", &F::portDir),
        Fields::enumeration("bpfProto", &F::bpfProto),
        Fields::text("mac", &F::mac, Advice::Expect::mac),
        Fields::enumeration("macDir", &F::macDir),
        Fields::text("vlanID", &F::vlanID, Advice::Expect::vlan),
        Fields::flag("flagSyn", &F::flagSyn),
        Fields::flag("flagAck", &F::flagAck),
        Fields::flag("flagFin", &F::flagFin),
        Fields::flag("flagRst", &F::flagRst),
        Fields::flag("flagPsh", &F::flagPsh),
        Fields::flag("flagUrg", &F::flagUrg),
        Fields::enumeration("flagMode", &F::flagMode),
        Fields::enumeration("icmp", &F::icmp),
        Fields::enumeration("ipVer", &F::ipVer),
        Fields::text("etherProtoNum", &F::etherProtoNum, Advice::Expect::etherType),
        Fields::text("ipProtoNum", &F::ipProtoNum, Advice::Expect::byte),
    };
    return table;
}
