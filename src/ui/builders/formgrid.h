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

    // A pop-up picker listing the enumeration's raw values in case order.
    template <typename E> QComboBox *addPicker(const QString &name, const QString &label, E &field, int width = 160)
    {
        const QList<E> cases = Enum::allCases<E>();
        return addComboBox(name, label, Enum::rawValues<E>(), int(cases.indexOf(field)), width,
                           [&field, cases](int index) { field = cases.value(index); });
    }

    // Any other control; its label's accessible name is given to the control too.
    void addRow(const QString &label, QWidget *control, Qt::Alignment alignment = {});
    void setRowVisible(QWidget *control, bool visible);
    QLabel *labelFor(QWidget *control) const { return m_labels.value(control); }

private:
    QComboBox *addComboBox(const QString &name, const QString &label, const QStringList &items, int current, int width,
                           std::function<void(int)> assign);

    QGridLayout *m_grid;
    std::function<void()> m_changed;
    QHash<QWidget *, QLabel *> m_labels;
    int m_rows = 0;
};
