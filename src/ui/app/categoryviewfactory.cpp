#include "categoryviewfactory.h"

#include "builders/sessionview.h"
#include "builders/snifferview.h"
#include "common/emptystateview.h"
#include "model/commandstore.h"

namespace CategoryViewFactory {

QWidget *create(DebugCategory category, CommandStore &store, QWidget *parent)
{
    switch (category) {
    case DebugCategory::session:
        return new SessionView(store, parent);
    case DebugCategory::sniffer:
        return new SnifferView(store, store.storage(), parent);
    default:
        break;
    }
    return new EmptyStateView(Category::icon(category), Category::title(category),
                              QStringLiteral("This category's form is not available yet."), parent);
}

} // namespace CategoryViewFactory
