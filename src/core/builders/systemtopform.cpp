#include "systemtopform.h"

namespace {

QString topLine(const SystemTopForm &form)
{
    QStringList words = {Enum::rawValue(form.variant)};
    const QString lineLimit = Text::trimmed(form.maxLines);
    if (Enum::payload(form.variant).usesDelay) {
        const QString refresh = Text::trimmed(form.delay);
        // The appliance reads the first number as the delay, so a line limit needs one before it: the
        // typed delay or the appliance's default of 5 seconds.
        if (!refresh.isEmpty())
            words << refresh;
        else if (!lineLimit.isEmpty())
            words << QStringLiteral("5");
    }
    if (!lineLimit.isEmpty())
        words << lineLimit;
    return words.join(u' ');
}

} // namespace

QString SystemTopForm::generatedCommand() const
{
    QStringList lines;
    if (addPerfStatus)
        lines << QStringLiteral("get system performance status");
    if (addPerfTop)
        lines << QStringLiteral("get system performance top");
    if (addSysinfoMem)
        lines << QStringLiteral("diagnose hardware sysinfo memory");
    if (addSysinfoCPU)
        lines << QStringLiteral("diagnose hardware sysinfo cpu");
    if (addSysinfoInterrupts)
        lines << QStringLiteral("diagnose hardware sysinfo interrupts");
    if (addSysinfoShm)
        lines << QStringLiteral("diagnose hardware sysinfo shm");
    if (addConserveMode)
        lines << QStringLiteral("diagnose hardware sysinfo conserve");
    // The one-shot figures are captured before the top command takes over the console.
    if (!lines.isEmpty())
        lines << QString();
    lines << topLine(*this);
    return Text::joinLines(lines);
}

QString SystemTopForm::title() const
{
    return QStringLiteral("System Performance");
}

const QList<FormField<SystemTopForm>> &SystemTopForm::fields()
{
    static const QList<FormField<SystemTopForm>> table = {
        Fields::enumeration("variant", &SystemTopForm::variant),
        Fields::text("delay", &SystemTopForm::delay, Advice::Expect::whole),
        Fields::text("maxLines", &SystemTopForm::maxLines, Advice::Expect::whole),
        Fields::flag("addPerfStatus", &SystemTopForm::addPerfStatus),
        Fields::flag("addPerfTop", &SystemTopForm::addPerfTop),
        Fields::flag("addSysinfoMem", &SystemTopForm::addSysinfoMem),
        Fields::flag("addSysinfoCPU", &SystemTopForm::addSysinfoCPU),
        Fields::flag("addSysinfoInterrupts", &SystemTopForm::addSysinfoInterrupts),
        Fields::flag("addSysinfoShm", &SystemTopForm::addSysinfoShm),
        Fields::flag("addConserveMode", &SystemTopForm::addConserveMode),
    };
    return table;
}
