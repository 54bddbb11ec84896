#include "tracerouteform.h"

#include "commandlines.h"

QString TracerouteForm::generatedCommand() const
{
    const QString option = QStringLiteral("exec traceroute-options ");
    QStringList lines;
    CommandLines::appendAsTyped(lines, option + QStringLiteral("source "), source);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("device "), device);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("queries "), queries);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("min-ttl "), minTTL);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("max-ttl "), maxTTL);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("wait "), waitTime);
    if (viewSettings)
        lines << option + QStringLiteral("view-settings");
    // The options only apply to traceroutes issued after them.
    CommandLines::appendAsTyped(lines, QStringLiteral("exec traceroute "), target);
    return Text::joinLines(lines);
}

QString TracerouteForm::title() const
{
    return CommandLines::destinationTitle(QStringLiteral("Traceroute to "), target);
}

const QList<FormField<TracerouteForm>> &TracerouteForm::fields()
{
    static const QList<FormField<TracerouteForm>> table = {
        Fields::text("target", &TracerouteForm::target, Advice::Expect::host),
        Fields::text("source", &TracerouteForm::source, Advice::Expect::address),
        Fields::text("device", &TracerouteForm::device, Advice::Expect::interfaceName),
        Fields::text("queries", &TracerouteForm::queries, Advice::Expect::count),
        Fields::text("minTTL", &TracerouteForm::minTTL, Advice::Expect::ttl),
        Fields::text("maxTTL", &TracerouteForm::maxTTL, Advice::Expect::ttl),
        Fields::text("waitTime", &TracerouteForm::waitTime, Advice::Expect::whole),
        Fields::flag("viewSettings", &TracerouteForm::viewSettings),
    };
    return table;
}
