#pragma once

#include <QStyledItemDelegate>

// Draws a sidebar row: the category's icon beside its title and, under it, the subtitle in a smaller
// secondary font; or a section's heading, small, bold and secondary.
class CategoryDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int SubtitleRole = Qt::UserRole + 1;
    static constexpr int SectionRole = Qt::UserRole + 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
