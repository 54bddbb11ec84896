#include "pingform.h"

#include "commandlines.h"

QString PingForm::generatedCommand() const
{
    const QString option = QStringLiteral("exec ping-options ");
    QStringList lines;
    CommandLines::appendAsTyped(lines, option + QStringLiteral("source "), source);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("interface "), interface);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("repeat-count "), repeatCount);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("timeout "), timeout);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("data-size "), dataSize);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("tos "), tos);
    CommandLines::appendAsTyped(lines, option + QStringLiteral("pattern "), pattern);
    if (dfBit)
        lines << option + QStringLiteral("df-bit yes");
    if (adaptive)
        lines << option + QStringLiteral("adaptive-ping yes");
    if (validateReply)
        lines << option + QStringLiteral("validate-reply yes");
    if (viewSettings)
        lines << option + QStringLiteral("view-settings");
    // The options only apply to pings issued after them.
    CommandLines::appendAsTyped(lines, QStringLiteral("exec ping "), target);
    return Text::joinLines(lines);
}

QString PingForm::title() const
{
    return CommandLines::destinationTitle(QStringLiteral("Ping to "), target);
}

const QList<FormField<PingForm>> &PingForm::fields()
{
    static const QList<FormField<PingForm>> table = {
        Fields::text("target", &PingForm::target, Advice::Expect::host),
        Fields::text("source", &PingForm::source, Advice::Expect::address),
        Fields::text("interface", &PingForm::interface, Advice::Expect::interfaceName),
        Fields::text("repeatCount", &PingForm::repeatCount, Advice::Expect::count),
        Fields::text("timeout", &PingForm::timeout, Advice::Expect::whole),
        Fields::text("dataSize", &PingForm::dataSize, Advice::Expect::whole),
        Fields::text("tos", &PingForm::tos, Advice::Expect::byte),
        Fields::text("pattern", &PingForm::pattern, Advice::Expect::hex),
        Fields::flag("dfBit", &PingForm::dfBit),
        Fields::flag("adaptive", &PingForm::adaptive),
        Fields::flag("validateReply", &PingForm::validateReply),
        Fields::flag("viewSettings", &PingForm::viewSettings),
    };
    return table;
}
