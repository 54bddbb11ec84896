#pragma once

#include <QIcon>
#include <QString>

// Symbol names (as the categories and forms name them) to icons that show on every desktop: the
// freedesktop theme icon where one is standard, else the bundled SVG in the palette's text colour.
namespace Icons {

QIcon symbol(const QString &name);
QIcon application();

} // namespace Icons
