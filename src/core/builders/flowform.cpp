#include "flowform.h"

#include "commandlines.h"
#include "debugblocks.h"

QString FlowForm::generatedCommand() const
{
    const QString filter = QStringLiteral("diagnose debug flow filter ");
    QStringList lines;
    if (resetFirst)
        lines << DebugBlocks::disableAndReset();
    lines << filter + QStringLiteral("clear");
    // The VDOM line leads the filters although its row sits below the protocol picker.
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("vd "), vdom);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("addr "), addr);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("saddr "), saddr);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("daddr "), daddr);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("port "), port);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("sport "), sport);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("dport "), dport);
    if (proto != FlowProto::any)
        lines << filter + QStringLiteral("proto ") + QString::number(Enum::payload(proto));
    if (showFunctionName)
        lines << QStringLiteral("diagnose debug flow show function-name enable");
    if (showIprope)
        lines << QStringLiteral("diagnose debug flow show iprope enable");
    if (timestamps)
        lines << DebugBlocks::timestampsLine();
    lines << QStringLiteral("diagnose debug flow trace start ") +
                 CommandLines::asTypedOr(traceCount, QStringLiteral("1000"));
    lines << DebugBlocks::enableLine();
    if (includeStopBlock)
        lines << DebugBlocks::stopBlock();
    return Text::joinLines(lines);
}

QString FlowForm::title() const
{
    return QStringLiteral("Debug Flow Capture");
}

const QList<FormField<FlowForm>> &FlowForm::fields()
{
    static const QList<FormField<FlowForm>> table = {
        Fields::text("addr", &FlowForm::addr, Advice::Expect::addressRange),
        Fields::text("saddr", &FlowForm::saddr, Advice::Expect::addressRange),
        Fields::text("daddr", &FlowForm::daddr, Advice::Expect::addressRange),
        Fields::text("port", &FlowForm::port, Advice::Expect::portRange),
        Fields::text("sport", &FlowForm::sport, Advice::Expect::portRange),
        Fields::text("dport", &FlowForm::dport, Advice::Expect::portRange),
        Fields::enumeration("proto", &FlowForm::proto),
        Fields::text("vdom", &FlowForm::vdom, Advice::Expect::whole),
        Fields::text("traceCount", &FlowForm::traceCount, Advice::Expect::whole),
        Fields::flag("resetFirst", &FlowForm::resetFirst),
        Fields::flag("showFunctionName", &FlowForm::showFunctionName),
        Fields::flag("showIprope", &FlowForm::showIprope),
        Fields::flag("timestamps", &FlowForm::timestamps),
        Fields::flag("includeStopBlock", &FlowForm::includeStopBlock),
    };
    return table;
}
