#include "icons.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

// Only names whose freedesktop meaning matches the symbol; the rest always use the bundled set.
QString themeName(const QString &symbol)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("doc.on.doc"), QStringLiteral("edit-copy")},
        {QStringLiteral("square.and.arrow.down"), QStringLiteral("document-save")},
        {QStringLiteral("trash"), QStringLiteral("edit-delete")},
        {QStringLiteral("plus"), QStringLiteral("list-add")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("edit-find")},
        {QStringLiteral("terminal"), QStringLiteral("utilities-terminal")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
    };
    return names.value(symbol);
}

QByteArray bundledSvg(const QString &symbol, const QColor &colour)
{
    QFile file(QStringLiteral(":/icons/%1.svg").arg(symbol));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace("currentColor", colour.name().toLatin1());
    return svg;
}

QPixmap render(QSvgRenderer &renderer, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return pixmap;
}

QIcon bundled(const QString &symbol)
{
    const QByteArray svg = bundledSvg(symbol, QApplication::palette().color(QPalette::WindowText));
    if (svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48, 64})
        icon.addPixmap(render(renderer, size));
    return icon;
}

} // namespace

namespace Icons {

QIcon symbol(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it != cache.end())
        return *it;
    QIcon icon = bundled(name);
    const QString theme = themeName(name);
    if (!theme.isEmpty() && QIcon::hasThemeIcon(theme))
        icon = QIcon::fromTheme(theme);
    cache.insert(name, icon);
    return icon;
}

QPixmap tinted(const QString &name, const QColor &colour, int size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(bundledSvg(name, colour));
    QPixmap pixmap = render(renderer, qRound(size * devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon application()
{
    static const QIcon icon(QStringLiteral(":/brindlecap-builder.svg"));
    return icon;
}

} // namespace Icons
