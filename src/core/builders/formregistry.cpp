#include "formregistry.h"

#include "categoryforms.h"

namespace FormRegistry {

QList<DebugCategory> builderCategories()
{
    QList<DebugCategory> result;
    CategoryForms::forEach([&result](auto entry) { result.append(entry.category); });
    return result;
}

std::unique_ptr<AnyForm> create(DebugCategory category)
{
    std::unique_ptr<AnyForm> form;
    CategoryForms::forEach([&](auto entry) {
        if (entry.category == category)
            form = std::make_unique<AnyFormOf<typename decltype(entry)::Form>>();
    });
    return form;
}

} // namespace FormRegistry
