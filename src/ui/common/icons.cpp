#include "icons.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
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

QString symbolPath(const QString &symbol)
{
    return QStringLiteral(":/icons/%1.svg").arg(symbol);
}

QByteArray bundledSvg(const QString &path, const QColor &colour)
{
    QFile file(path);
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

// Renders a bundled SVG only at the sizes it is shown at, once each: rendering every size of every icon
// up front was a large part of the start-up. Also spares the start loading Qt's SVG icon plugin.
class SymbolEngine : public QIconEngine
{
public:
    explicit SymbolEngine(const QString &path)
        : m_path(path)
    {
    }
    QIconEngine *clone() const override { return new SymbolEngine(m_path); }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, shown);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        const bool disabled = mode == QIcon::Disabled;
        const quint64 key = quint64(side) << 1 | quint64(disabled);
        auto it = m_rendered.find(key);
        if (it == m_rendered.end()) {
            const QPalette::ColorGroup group = disabled ? QPalette::Disabled : QPalette::Active;
            QSvgRenderer renderer(bundledSvg(m_path, QApplication::palette().color(group, QPalette::WindowText)));
            it = m_rendered.insert(key, render(renderer, side));
        }
        return *it;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

private:
    QString m_path;
    QHash<quint64, QPixmap> m_rendered;
};

} // namespace

namespace Icons {

QIcon symbol(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it != cache.end())
        return *it;
    QIcon icon = QFile::exists(symbolPath(name)) ? QIcon(new SymbolEngine(symbolPath(name))) : QIcon();
    const QString theme = themeName(name);
    if (!theme.isEmpty() && QIcon::hasThemeIcon(theme))
        icon = QIcon::fromTheme(theme);
    cache.insert(name, icon);
    return icon;
}

QPixmap tinted(const QString &name, const QColor &colour, int size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(bundledSvg(symbolPath(name), colour));
    QPixmap pixmap = render(renderer, qRound(size * devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon application()
{
    static const QIcon icon(new SymbolEngine(QStringLiteral(":/brindlecap-builder.svg")));
    return icon;
}

} // namespace Icons
