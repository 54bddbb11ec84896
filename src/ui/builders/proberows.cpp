#include "proberows.h"

#include "checkcolumn.h"
#include "formgrid.h"

namespace ProbeRows {

void addDestination(FormGrid *grid, FieldRef<QString> target)
{
    grid->addText(target, QStringLiteral("Destination:"), QStringLiteral("host or IP, e.g. 8.8.8.8"));
}

void addSourceAndEgress(FormGrid *grid, FieldRef<QString> source, FieldRef<QString> egress)
{
    grid->addText(source, QStringLiteral("Source IP:"), QStringLiteral("optional source IP"));
    grid->addText(egress, QStringLiteral("Egress Interface:"), QStringLiteral("e.g. port1, wan1"));
}

void addDefaulted(FormGrid *grid, FieldRef<QString> field, const QString &label, int applianceDefault)
{
    grid->addText(field, label, QStringLiteral("default %1").arg(applianceDefault));
}

void addViewSettings(CheckColumn *checks, FieldRef<bool> viewSettings)
{
    checks->addCheck(viewSettings, QStringLiteral("Show effective settings (`view-settings`)"));
}

} // namespace ProbeRows
