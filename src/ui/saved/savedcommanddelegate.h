#pragma once

#include <QStyledItemDelegate>

// Draws a row of the saved-command list: the title in bold on one line and, under it, the caption
// line (category icon, category title, "·", date). Every row has the same height, so the list lays out
// thousands of rows without measuring them.
class SavedCommandDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
