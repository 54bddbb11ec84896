#include "haform.h"

#include "debugblocks.h"

QString HAForm::generatedCommand() const
{
    QStringList lines;
    if (showStatus)
        lines << QStringLiteral("get system ha status") << QStringLiteral("diagnose sys ha status");
    if (showChecksum)
        lines << QStringLiteral("diagnose sys ha checksum cluster");
    if (showNonSync)
        lines << QStringLiteral("diagnose sys ha checksum show global")
              << QStringLiteral("diagnose sys ha checksum show root");
    if (showDump) {
        lines << QStringLiteral("diagnose sys ha dump-by all-vcluster")
              << QStringLiteral("diagnose sys ha dump-by group") << QStringLiteral("diagnose sys ha dump-by vcluster");
    }
    if (resetUptime)
        lines << QStringLiteral("diagnose sys ha reset-uptime");
    if (syncAll)
        lines << QStringLiteral("execute ha synchronize all");
    // The admin name is an optional second argument: without a unit index there is nothing to manage.
    const QString index = Text::trimmed(manageIndex);
    if (!index.isEmpty()) {
        const QString admin = Text::trimmed(manageAdmin);
        lines << QStringLiteral("execute ha manage ") + index + (admin.isEmpty() ? QString() : u' ' + admin);
    }
    if (debugHatalk || debugHasync) {
        lines << QString() << QStringLiteral("# Live HA debug:");
        if (timestamps)
            lines << DebugBlocks::timestampsLine();
        if (debugHatalk)
            lines << QStringLiteral("diagnose debug application hatalk -1");
        if (debugHasync)
            lines << QStringLiteral("diagnose debug application hasync -1");
        lines << DebugBlocks::enableLine();
        if (includeStopBlock)
            lines << DebugBlocks::stopBlock();
    }
    return Text::joinLines(lines);
}

QString HAForm::title() const
{
    return QStringLiteral("HA Troubleshooting");
}

const QList<FormField<HAForm>> &HAForm::fields()
{
    static const QList<FormField<HAForm>> table = {
        Fields::flag("showStatus", &HAForm::showStatus),
        Fields::flag("showChecksum", &HAForm::showChecksum),
        Fields::flag("showNonSync", &HAForm::showNonSync),
        Fields::flag("showDump", &HAForm::showDump),
        Fields::text("manageIndex", &HAForm::manageIndex, Advice::Expect::whole),
        Fields::text("manageAdmin", &HAForm::manageAdmin, Advice::Expect::name),
        Fields::flag("syncAll", &HAForm::syncAll),
        Fields::flag("resetUptime", &HAForm::resetUptime),
        Fields::flag("debugHatalk", &HAForm::debugHatalk),
        Fields::flag("debugHasync", &HAForm::debugHasync),
        Fields::flag("timestamps", &HAForm::timestamps),
        Fields::flag("includeStopBlock", &HAForm::includeStopBlock),
    };
    return table;
}
