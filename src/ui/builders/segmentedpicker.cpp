#include "segmentedpicker.h"

#include "common/accessiblecontrols.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QToolButton>

namespace {
// Joined segments: only the outer corners are rounded, neighbours share one border line, and the
// chosen segment takes the selection colours.
const char *const segmentStyle =
    "QToolButton { border: 1px solid palette(mid); background: palette(button); "
    "padding: 3px 10px; }"
    "QToolButton[segment=\"middle\"], QToolButton[segment=\"last\"] { border-left: none; }"
    "QToolButton[segment=\"first\"], QToolButton[segment=\"only\"] { "
    "border-top-left-radius: 4px; border-bottom-left-radius: 4px; }"
    "QToolButton[segment=\"last\"], QToolButton[segment=\"only\"] { "
    "border-top-right-radius: 4px; border-bottom-right-radius: 4px; }"
    "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text); }"
    "QToolButton:focus { border-color: palette(highlight); }"
    "QToolButton:disabled { color: palette(mid); }";

QString segmentPosition(qsizetype index, qsizetype count)
{
    if (count == 1)
        return QStringLiteral("only");
    if (index == 0)
        return QStringLiteral("first");
    return index + 1 == count ? QStringLiteral("last") : QStringLiteral("middle");
}
} // namespace

SegmentedPicker::SegmentedPicker(const QString &name, const QString &label, const QStringList &items, int current,
                                 std::function<void(int)> select, QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
    , m_menu(new QComboBox(this))
    , m_select(std::move(select))
{
    // Before anything makes assistive technology look at them.
    AccessibleControls::markSegmentGroup(this);
    AccessibleControls::markPicker(m_menu);
    setObjectName(name);
    setAccessibleName(label);
    setStyleSheet(QString::fromLatin1(segmentStyle));
    m_group->setExclusive(true);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The segments' width is no minimum: below it the drop-down is shown (see resizeEvent).
    row->setSizeConstraint(QLayout::SetNoConstraint);
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto *segment = new QToolButton(this);
        AccessibleControls::markSegment(segment);
        segment->setText(items.at(i));
        segment->setCheckable(true);
        segment->setChecked(i == current);
        segment->setFocusPolicy(i == current ? Qt::StrongFocus : Qt::ClickFocus);
        segment->setToolButtonStyle(Qt::ToolButtonTextOnly);
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        segment->setProperty("segment", segmentPosition(i, items.size()));
        m_group->addButton(segment, int(i));
        row->addWidget(segment, 1);
    }
    m_menu->addItems(items);
    m_menu->setCurrentIndex(current);
    m_menu->setAccessibleName(label);
    m_menu->hide();
    row->addWidget(m_menu, 1);
    connect(m_menu, &QComboBox::currentIndexChanged, this, &SegmentedPicker::setCurrentIndex);
    // Fires for clicks, arrow keys and setCurrentIndex() alike; the segment losing its check is ignored.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        // One stop for Tab, on the chosen segment (the arrows move between them); a click focuses the
        // segment clicked, so that the keys go on from there.
        m_group->button(id)->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        if (!checked)
            return;
        const QSignalBlocker blocker(m_menu);
        m_menu->setCurrentIndex(id);
        if (m_select)
            m_select(id);
        emit currentIndexChanged(id);
    });
}

int SegmentedPicker::count() const
{
    return int(m_group->buttons().size());
}

int SegmentedPicker::currentIndex() const
{
    return m_group->checkedId();
}

void SegmentedPicker::setCurrentIndex(int index)
{
    if (QAbstractButton *segment = m_group->button(index))
        segment->setChecked(true);
}

QString SegmentedPicker::itemText(int index) const
{
    QAbstractButton *segment = m_group->button(index);
    return segment ? segment->text() : QString();
}

QAbstractButton *SegmentedPicker::button(int index) const
{
    return m_group->button(index);
}

void SegmentedPicker::nameSegment(int index, const QString &name)
{
    if (QAbstractButton *segment = button(index))
        segment->setObjectName(name);
}

QSize SegmentedPicker::minimumSizeHint() const
{
    return {m_menu->minimumSizeHint().width(), QWidget::minimumSizeHint().height()};
}

void SegmentedPicker::resizeEvent(QResizeEvent *event)
{
    int segmentsWidth = 0;
    for (QAbstractButton *segment : m_group->buttons())
        segmentsWidth += segment->sizeHint().width();
    const bool fits = event->size().width() >= segmentsWidth;
    if (m_menu->isHidden() != fits) {
        // The focus goes with the choice to whichever shows it.
        const bool focused = isAncestorOf(QApplication::focusWidget());
        for (QAbstractButton *segment : m_group->buttons())
            segment->setVisible(fits);
        m_menu->setVisible(!fits);
        if (focused)
            (fits ? static_cast<QWidget *>(button(currentIndex())) : m_menu)->setFocus();
    }
    QWidget::resizeEvent(event);
}
