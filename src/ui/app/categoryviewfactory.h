#pragma once

#include "common/stores.h"
#include "model/debugcategory.h"
#include "model/outputreader.h"

class QWidget;

namespace CategoryViewFactory {

// A new view of the category with its defaults: the form of a builder category (made from the
// category table), or the saved-command browser.
QWidget *create(DebugCategory category, const Stores &stores, QWidget *parent = nullptr);
// A new view of the reader, with nothing read yet.
QWidget *create(OutputReader reader, QWidget *parent = nullptr);

} // namespace CategoryViewFactory
