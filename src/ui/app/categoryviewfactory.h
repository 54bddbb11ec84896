#pragma once

#include "model/debugcategory.h"

class CommandStore;
class QWidget;

namespace CategoryViewFactory {

// A new view of the category with its defaults: the form of a builder category, the saved-command
// browser, or a placeholder naming a category whose view is not built yet.
QWidget *create(DebugCategory category, CommandStore &store, QWidget *parent = nullptr);

} // namespace CategoryViewFactory
