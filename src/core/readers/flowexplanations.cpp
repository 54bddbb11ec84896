#include "flowexplanations.h"

// Placeholder until the explanations land.
QList<FlowExplanations::Note> FlowExplanations::forTrace(const FlowTrace &)
{
    return {};
}
