#include "categorydelegate.h"

#include "common/style.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr int iconSize = 20;
constexpr int padding = 6;
constexpr int lineGap = 2;

QFont subtitleFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}
QFont sectionFont(const QFont &base)
{
    QFont font = subtitleFont(base);
    font.setBold(true);
    return font;
}
} // namespace

void CategoryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (index.data(SectionRole).toBool()) {
        painter->save();
        painter->setFont(sectionFont(opt.font));
        painter->setPen(Style::secondary(opt.palette, QPalette::Normal, QPalette::Text, QPalette::Base));
        painter->drawText(opt.rect.adjusted(padding, 0, -padding, -lineGap), Qt::AlignLeft | Qt::AlignBottom, opt.text);
        painter->restore();
        return;
    }
    const QString title = opt.text;
    const QIcon icon = opt.icon;
    opt.text.clear();
    opt.icon = QIcon();
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor textColour = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor secondary = selected ? textColour : Style::secondary(opt.palette, group, QPalette::Text, QPalette::Base);

    const QRect area = opt.rect.adjusted(padding, padding, -padding, -padding);
    const QRect iconRect(area.left(), area.top() + (area.height() - iconSize) / 2, iconSize, iconSize);
    icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);

    const int textLeft = iconRect.right() + 1 + 8;
    const QFontMetrics titleMetrics(opt.font);
    const QFont small = subtitleFont(opt.font);
    const QFontMetrics smallMetrics(small);
    const int textHeight = titleMetrics.height() + lineGap + smallMetrics.height();
    const int top = area.top() + (area.height() - textHeight) / 2;
    const int width = area.right() - textLeft;

    painter->save();
    painter->setPen(textColour);
    painter->setFont(opt.font);
    painter->drawText(QRect(textLeft, top, width, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(title, Qt::ElideRight, width));
    painter->setPen(secondary);
    painter->setFont(small);
    const QString subtitle = index.data(SubtitleRole).toString();
    painter->drawText(QRect(textLeft, top + titleMetrics.height() + lineGap, width, smallMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, smallMetrics.elidedText(subtitle, Qt::ElideRight, width));
    painter->restore();
}

QSize CategoryDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // A heading stands apart from the rows above it.
    if (index.data(SectionRole).toBool())
        return {0, QFontMetrics(sectionFont(option.font)).height() + 3 * padding};
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    const int height = QFontMetrics(option.font).height() + lineGap + QFontMetrics(subtitleFont(option.font)).height();
    return {base.width(), std::max(height, iconSize) + 2 * padding};
}
