#include "sessionform.h"

#include "commandlines.h"

QString SessionForm::generatedCommand() const
{
    const QString filter = QStringLiteral("diagnose sys session filter ");
    QStringList lines;
    if (clearFirst)
        lines << filter + QStringLiteral("clear");
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("vd "), vdom);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("src "), src);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("dst "), dst);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("sport "), srcPort);
    CommandLines::appendAsTyped(lines, filter + QStringLiteral("dport "), dstPort);
    if (proto != SessionProto::any)
        lines << filter + QStringLiteral("proto ") + QString::number(Enum::payload(proto));
    if (negate)
        lines << filter + QStringLiteral("negate");
    if (stats)
        lines << QStringLiteral("diagnose sys session stat");
    if (listAtEnd)
        lines << QStringLiteral("diagnose sys session list");
    return Text::joinLines(lines);
}

QString SessionForm::title() const
{
    return QStringLiteral("Session Diagnostics");
}

const QList<FormField<SessionForm>> &SessionForm::fields()
{
    static const QList<FormField<SessionForm>> table = {
        Fields::text("src", &SessionForm::src, Advice::Expect::addressRange),
        Fields::text("dst", &SessionForm::dst, Advice::Expect::addressRange),
        Fields::text("srcPort", &SessionForm::srcPort, Advice::Expect::portRange),
        Fields::text("dstPort", &SessionForm::dstPort, Advice::Expect::portRange),
        Fields::enumeration("proto", &SessionForm::proto),
        Fields::text("vdom", &SessionForm::vdom, Advice::Expect::whole),
        Fields::flag("negate", &SessionForm::negate),
        Fields::flag("clearFirst", &SessionForm::clearFirst),
        Fields::flag("listAtEnd", &SessionForm::listAtEnd),
        Fields::flag("stats", &SessionForm::stats),
    };
    return table;
}
