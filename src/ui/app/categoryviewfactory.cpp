#include "categoryviewfactory.h"

#include "builders/sessionview.h"
#include "common/emptystateview.h"
#include "saved/savedcommandsview.h"

namespace CategoryViewFactory {

QWidget *create(DebugCategory category, CommandStore &store, QWidget *parent)
{
    switch (category) {
    case DebugCategory::session:
        return new SessionView(store, parent);
    case DebugCategory::saved:
        return new SavedCommandsView(store, parent);
    default:
        break;
    }
    return new EmptyStateView(Category::icon(category), Category::title(category),
                              QStringLiteral("This category's form is not available yet."), parent);
}

} // namespace CategoryViewFactory
