#include "accessiblecontrols.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {
const char *const kind = "brindlecapAccessible";

// A drop-down read as its label, its value as its value, its list of choices as its child.
class Picker : public QAccessibleWidget
{
public:
    explicit Picker(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }
    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? combo()->currentText() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == combo()->view() ? 0 : -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = combo()->view()->isVisible();
        return state;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &) override { combo()->showPopup(); }
};

// One choice of a group: read as its text, checked when chosen, pressed to choose it.
class Segment : public QAccessibleWidget
{
public:
    explicit Segment(QAbstractButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? button()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &) override { button()->click(); }
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    const QByteArray marked = widget ? widget->property(kind).toByteArray() : QByteArray();
    if (marked == "picker")
        return new Picker(static_cast<QComboBox *>(widget));
    if (marked == "segment")
        return new Segment(static_cast<QAbstractButton *>(widget));
    if (marked == "group")
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    return nullptr;
}

void mark(QWidget *widget, const char *as)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kind, QByteArray(as));
}
} // namespace

namespace AccessibleControls {

void markPicker(QWidget *control)
{
    if (qobject_cast<QComboBox *>(control))
        mark(control, "picker");
}

void markSegment(QWidget *segment)
{
    if (qobject_cast<QAbstractButton *>(segment))
        mark(segment, "segment");
}

void markSegmentGroup(QWidget *group)
{
    mark(group, "group");
}

} // namespace AccessibleControls
