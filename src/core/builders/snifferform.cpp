#include "snifferform.h"

#include "bpfterms.h"

QString SnifferForm::filterExpression() const
{
    // The custom expression replaces the simple fields entirely; they keep their values for later.
    if (useCustomFilter)
        return Text::trimmed(customFilter);

    QStringList terms;
    if (proto != SnifferProto::any)
        terms << Enum::text(Enum::payload(proto));
    if (Text::isNonBlank(host))
        terms << Enum::text(Enum::payload(hostMode).host) + u' ' + Text::trimmed(host);
    if (Text::isNonBlank(network))
        terms << Enum::text(Enum::payload(networkMode).network) + u' ' + Text::trimmed(network);
    const QString ports = BpfTerms::portTerm(portList, Enum::text(Enum::payload(portMode).port));
    if (!ports.isEmpty())
        terms << ports;
    return terms.join(QStringLiteral(" and "));
}

QString SnifferForm::generatedCommand() const
{
    QStringList words{QStringLiteral("diagnose sniffer packet")};
    words << (Text::isNonBlank(interface) ? Text::trimmed(interface) : QStringLiteral("any"));

    // Nothing inside the expression is escaped: the filter goes to the appliance as the user wrote it.
    const QString filter = filterExpression();
    words << (filter.isEmpty() ? QStringLiteral("'none'") : u'\'' + filter + u'\'');
    words << Enum::rawValue(verbose);

    const QString letter = Enum::text(Enum::payload(timestamp));
    if (letter.isEmpty()) {
        if (Text::isNonBlank(count))
            words << Text::trimmed(count);
    } else {
        // An absolute timestamp needs a count before it; 0 means unlimited.
        words << (Text::isNonBlank(count) ? Text::trimmed(count) : QStringLiteral("0")) << letter;
    }
    return words.join(u' ');
}

QString SnifferForm::title() const
{
    // Deliberately the raw value: an interface of only spaces is shown as typed.
    return QStringLiteral("Sniffer on ") + (interface.isEmpty() ? QStringLiteral("any") : interface);
}

QString SnifferForm::label(VerboseLevel level)
{
    return Enum::text(Enum::payload(level));
}

const QList<FormField<SnifferForm>> &SnifferForm::fields()
{
    static const QList<FormField<SnifferForm>> table = {
        Fields::text("interface", &SnifferForm::interface, Advice::Expect::interfaceName),
        Fields::text("host", &SnifferForm::host, Advice::Expect::filterHost),
        Fields::enumeration("hostMode", &SnifferForm::hostMode),
        Fields::text("network", &SnifferForm::network, Advice::Expect::subnet),
        Fields::enumeration("networkMode", &SnifferForm::networkMode),
        Fields::text("portList", &SnifferForm::portList, Advice::Expect::portList),
        Fields::enumeration("portMode", &SnifferForm::portMode),
        Fields::enumeration("proto", &SnifferForm::proto),
        Fields::multiLineText("customFilter", &SnifferForm::customFilter, Advice::Expect::captureFilter),
        Fields::flag("useCustomFilter", &SnifferForm::useCustomFilter),
        Fields::enumeration("verbose", &SnifferForm::verbose),
        Fields::text("count", &SnifferForm::count, Advice::Expect::whole),
        Fields::enumeration("timestamp", &SnifferForm::timestamp),
    };
    return table;
}
