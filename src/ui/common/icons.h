#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Symbol names (as the categories and forms name them) to icons that show on every desktop: the
// freedesktop theme icon where one is standard, else the bundled SVG in the palette's text colour.
namespace Icons {

QIcon symbol(const QString &name);
// The bundled symbol drawn in a colour of its own (a status mark), size device-independent pixels
// square; always the bundled drawing, so the colour holds on every desktop.
QPixmap tinted(const QString &name, const QColor &colour, int size, qreal devicePixelRatio = 1.0);
QIcon application();

} // namespace Icons
