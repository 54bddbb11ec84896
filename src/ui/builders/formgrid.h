#pragma once

#include "fieldref.h"
#include "model/enumtable.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHash>

#include <functional>

class MultiLineEdit;
class QCheckBox;
class QGridLayout;
class QLabel;
class SingleLineEdit;

// A group box holding a grid of right-aligned labels and their controls. Each control writes its
// value straight into the form field it is bound to and then calls the form's change handler; the
// control is named after the field.
class FormGrid : public QGroupBox
{
    Q_OBJECT

public:
    // An empty title makes a frameless grid: rows that belong to the box around them.
    FormGrid(const QString &title, std::function<void()> changed, QWidget *parent = nullptr);

    // A width above 0 makes the field that wide, at the leading edge beside its label; otherwise it
    // fills the row.
    SingleLineEdit *addText(FieldRef<QString> field, const QString &label, const QString &placeholder, int width = 0);

    // A multi-line field spanning the grid, growing from minimumLines to maximumLines. It has no
    // visible label, so it takes accessibleName.
    MultiLineEdit *addMultiLineText(FieldRef<QString> field, const QString &accessibleName, const QString &placeholder,
                                    int minimumLines, int maximumLines);

    // A checkbox spanning the grid.
    QCheckBox *addCheck(FieldRef<bool> field, const QString &label);
    // Checkboxes side by side in one labelled row; texts[i] labels fields[i].
    QWidget *addCheckRow(const QString &label, const QList<FieldRef<bool>> &fields, const QStringList &texts);

    // A pop-up picker listing the enumeration's raw values in case order. A width of 0 leaves the
    // picker as wide as its longest item.
    template <typename E> QComboBox *addPicker(FieldRef<E> field, const QString &label, int width = 160)
    {
        return addPicker(field, label, Enum::rawValues<E>(), width);
    }
    // The same, showing texts (one per case, in case order) instead of the raw values.
    template <typename E>
    QComboBox *addPicker(FieldRef<E> field, const QString &label, const QStringList &texts, int width)
    {
        QComboBox *combo = createPicker(field, texts, width);
        addRow(label, combo, Qt::AlignLeft);
        return combo;
    }
    // A picker after the row's control, in a third column (a direction beside its value). It has no
    // visible label of its own, so it takes accessibleName.
    template <typename E>
    QComboBox *addTrailingPicker(QWidget *rowControl, FieldRef<E> field, const QString &accessibleName, int width)
    {
        QComboBox *combo = createPicker(field, Enum::rawValues<E>(), width);
        combo->setAccessibleName(accessibleName);
        addTrailing(rowControl, combo);
        return combo;
    }

    // Any other control; its label's accessible name is given to the control too.
    void addRow(const QString &label, QWidget *control, Qt::Alignment alignment = {});
    // A widget after the row's control, in a third column; it shows and hides with the row.
    void addTrailing(QWidget *rowControl, QWidget *trailing);
    // A row without a label, spanning every column.
    void addWide(QWidget *widget, Qt::Alignment alignment = {});
    void setRowVisible(QWidget *control, bool visible);
    void setRowSpacing(int spacing);
    QLabel *labelFor(QWidget *control) const { return m_labels.value(control); }
    // The widest label's width, shown or not.
    int widestLabel() const;
    // The label column's least width: the grids of one form share one, so that their fields line up.
    void setLabelColumnWidth(int width);

private:
    template <typename E> QComboBox *createPicker(FieldRef<E> field, const QStringList &texts, int width)
    {
        const QList<E> cases = Enum::allCases<E>();
        E *value = field.value;
        return createComboBox(field.name, texts, int(cases.indexOf(*value)), width,
                              [value, cases](int index) { *value = cases.value(index); });
    }
    QComboBox *createComboBox(const QString &name, const QStringList &items, int current, int width,
                              std::function<void(int)> assign);

    QGridLayout *m_grid;
    std::function<void()> m_changed;
    QHash<QWidget *, QLabel *> m_labels;
    QHash<QWidget *, QWidget *> m_trailing;
    int m_rows = 0;
};
