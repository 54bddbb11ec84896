#pragma once

#include "fieldref.h"

#include <QString>

class CheckColumn;
class FormGrid;

// The rows the Ping and Traceroute forms have in common, declared once so the two stay alike.
namespace ProbeRows {

// The one "Destination:" row of the "Target" box.
void addDestination(FormGrid *grid, FieldRef<QString> target);
// The "Source IP:" and "Egress Interface:" rows that open the options box.
void addSourceAndEgress(FormGrid *grid, FieldRef<QString> source, FieldRef<QString> egress);
// A row whose placeholder names the appliance's own default ("default 5"); the form never fills it
// in, so a blank field sends nothing and the appliance applies its default.
void addDefaulted(FormGrid *grid, FieldRef<QString> field, const QString &label, int applianceDefault);
void addViewSettings(CheckColumn *checks, FieldRef<bool> viewSettings);

} // namespace ProbeRows
