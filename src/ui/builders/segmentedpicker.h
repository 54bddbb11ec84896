#pragma once

#include "fieldref.h"
#include "model/enumtable.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;

// A row of joined, mutually exclusive buttons, one per choice: the segmented form of a picker. The
// control carries no visible label; its label is its accessible name. It fills the width it is given
// (give it a fixed width for a narrow control), the segments sharing it equally; in a width too narrow
// for the segments it shows the same choices as a drop-down.
class SegmentedPicker : public QWidget
{
    Q_OBJECT

public:
    // Bound to an enumeration field: one segment per case, in case order, showing the raw values.
    // Choosing a segment writes the case into the field and then calls changed.
    template <typename E>
    static SegmentedPicker *create(FieldRef<E> field, const QString &label, std::function<void()> changed,
                                   QWidget *parent = nullptr)
    {
        const QList<E> cases = Enum::allCases<E>();
        auto *picker = new SegmentedPicker(
            field.name, label, Enum::rawValues<E>(), int(cases.indexOf(*field.value)),
            [value = field.value, cases, changed = std::move(changed)](int index) {
                *value = cases.value(index);
                if (changed)
                    changed();
            },
            parent);
        // Each segment is named after its case, as every other control is named after its field.
        for (qsizetype i = 0; i < cases.size(); ++i)
            picker->nameSegment(int(i), Enum::caseName(cases.at(i)));
        return picker;
    }

    // select runs with the new index whenever the choice changes, by the user or by setCurrentIndex().
    SegmentedPicker(const QString &name, const QString &label, const QStringList &items, int current,
                    std::function<void(int)> select, QWidget *parent = nullptr);

    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QString itemText(int index) const;
    QAbstractButton *button(int index) const;
    void nameSegment(int index, const QString &name);
    // The drop-down shown instead of the segments in a narrow width.
    QComboBox *menu() const { return m_menu; }

    QSize minimumSizeHint() const override;

signals:
    void currentIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QButtonGroup *m_group;
    QComboBox *m_menu;
    std::function<void(int)> m_select;
};
