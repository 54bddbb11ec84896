#pragma once

#include "checkcolumn.h"

class FormGrid;
class QFrame;
class QLabel;
class SingleLineEdit;

// A checkbox column that also holds the other items a mixed group box needs: dividers, captions,
// labelled text fields and small grids, all left-aligned in one column.
class FormColumn : public CheckColumn
{
    Q_OBJECT

public:
    FormColumn(const QString &title, std::function<void()> changed, int spacing = 4, QWidget *parent = nullptr);

    // A horizontal rule with padding points of space above and below it.
    QFrame *addDivider(int padding = 0);
    // Any other block, full width.
    void addBlock(QWidget *widget) { addWidget(widget); }
    // A line of text in the body font scaled by scale; back-quoted words are shown as inline code.
    QLabel *addCaption(const QString &text, double scale = 1.0);
    // A grid of right-aligned labels and controls (12 points between columns, 8 between rows), without
    // a frame of its own.
    FormGrid *addGrid();
    // A single labelled text field of the given width.
    SingleLineEdit *addText(FieldRef<QString> field, const QString &label, const QString &placeholder, int width);
    // Checkboxes side by side in one row; texts[i] labels fields[i].
    QWidget *addCheckRow(const QList<FieldRef<bool>> &fields, const QStringList &texts);

private:
    std::function<void()> m_changed;
};
