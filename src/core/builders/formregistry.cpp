#include "formregistry.h"

#include "sessionform.h"
#include "snifferform.h"

namespace FormRegistry {

QList<DebugCategory> builderCategories()
{
    QList<DebugCategory> result;
    for (DebugCategory c : Enum::allCases<DebugCategory>()) {
        if (create(c))
            result.append(c);
    }
    return result;
}

std::unique_ptr<AnyForm> create(DebugCategory category)
{
    switch (category) {
    case DebugCategory::session:
        return std::make_unique<AnyFormOf<SessionForm>>();
    case DebugCategory::sniffer:
        return std::make_unique<AnyFormOf<SnifferForm>>();
    default:
        return nullptr;
    }
}

} // namespace FormRegistry
