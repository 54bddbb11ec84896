#include "savedcommanddelegate.h"

#include "savedcommandcaption.h"
#include "savedcommandlistmodel.h"

#include "common/style.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 6;
constexpr int lineGap = 3;

QFont titleFont(const QFont &base)
{
    QFont font = base;
    font.setBold(true);
    return font;
}

QFont captionFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * SavedCommandCaption::fontScale);
    return font;
}
} // namespace

void SavedCommandDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.icon = QIcon();
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor textColour = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor secondary =
        selected ? textColour : Style::secondary(opt.palette, group, QPalette::Text, QPalette::Base);

    const QRect area = opt.rect.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    const QFont title = titleFont(opt.font);
    const QFont caption = captionFont(opt.font);
    const QFontMetrics titleMetrics(title);
    const QFontMetrics captionMetrics(caption);

    painter->save();
    painter->setFont(title);
    painter->setPen(textColour);
    const QRect titleRect(area.left(), area.top(), area.width(), titleMetrics.height());
    painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, area.width()));

    const int captionTop = titleRect.bottom() + 1 + lineGap;
    const int iconSize = captionMetrics.height();
    const auto category = DebugCategory(index.data(SavedCommandListModel::CategoryRole).toInt());
    QPalette iconPalette = opt.palette;
    if (selected)
        iconPalette.setColor(QPalette::Highlight, textColour);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(QPoint(area.left(), captionTop),
                        SavedCommandCaption::icon(category, iconSize, iconPalette, ratio));

    const int textLeft = area.left() + iconSize + SavedCommandCaption::spacing;
    const QRect captionRect(textLeft, captionTop, area.right() - textLeft, captionMetrics.height());
    painter->setFont(caption);
    painter->setPen(secondary);
    painter->drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter,
                      captionMetrics.elidedText(index.data(SavedCommandListModel::CaptionRole).toString(),
                                                Qt::ElideRight, captionRect.width()));
    painter->restore();
}

QSize SavedCommandDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int height = QFontMetrics(titleFont(option.font)).height() + lineGap +
                       QFontMetrics(captionFont(option.font)).height() + 2 * verticalPadding;
    return {200, height};
}
