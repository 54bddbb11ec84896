#pragma once

#include "model/enumtable.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHash>

#include <functional>

class QGridLayout;
class QLabel;
class SingleLineEdit;

// A group box holding a grid of right-aligned labels and their controls. Each control writes its
// value straight into the form field it is bound to and then calls the form's change handler.
class FormGrid : public QGroupBox
{
    Q_OBJECT

public:
    FormGrid(const QString &title, std::function<void()> changed, QWidget *parent = nullptr);

    // A width above 0 makes the field that wide, at the leading edge beside its label; otherwise it
    // fills the row.
    SingleLineEdit *addText(const QString &name, const QString &label, const QString &placeholder, QString &field,
                            int width = 0);

    // A pop-up picker listing the enumeration's raw values in case order. A width of 0 leaves the
    // picker as wide as its longest item.
    template <typename E> QComboBox *addPicker(const QString &name, const QString &label, E &field, int width = 160)
    {
        return addPicker(name, label, field, Enum::rawValues<E>(), width);
    }
    // The same, showing texts (one per case, in case order) instead of the raw values.
    template <typename E>
    QComboBox *addPicker(const QString &name, const QString &label, E &field, const QStringList &texts, int width)
    {
        QComboBox *combo = createPicker(name, field, texts, width);
        addRow(label, combo, Qt::AlignLeft);
        return combo;
    }
    // A picker after the row's control, in a third column (a direction beside its value). It has no
    // visible label of its own, so it takes accessibleName.
    template <typename E>
    QComboBox *addTrailingPicker(QWidget *rowControl, const QString &name, const QString &accessibleName, E &field,
                                 int width)
    {
        QComboBox *combo = createPicker(name, field, Enum::rawValues<E>(), width);
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

private:
    template <typename E> QComboBox *createPicker(const QString &name, E &field, const QStringList &texts, int width)
    {
        const QList<E> cases = Enum::allCases<E>();
        return createComboBox(name, texts, int(cases.indexOf(field)), width,
                              [&field, cases](int index) { field = cases.value(index); });
    }
    QComboBox *createComboBox(const QString &name, const QStringList &items, int current, int width,
                              std::function<void(int)> assign);

    QGridLayout *m_grid;
    std::function<void()> m_changed;
    QHash<QWidget *, QLabel *> m_labels;
    QHash<QWidget *, QWidget *> m_trailing;
    int m_rows = 0;
};
