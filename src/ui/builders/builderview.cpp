#include "builderview.h"

#include "bpfbuilderview.h"
#include "checkcolumn.h"
#include "formgrid.h"
#include "formheader.h"
#include "multilineedit.h"
#include "output/commandoutputview.h"
#include "segmentedpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
// Hidden and disabled controls are collected too: Tab passes over them, and they keep their place.
void collectFocusable(QLayout *layout, QWidgetList &chain)
{
    for (int index = 0; index < layout->count(); ++index) {
        QLayoutItem *item = layout->itemAt(index);
        QWidget *widget = item->widget();
        if (!widget) {
            if (item->layout())
                collectFocusable(item->layout(), chain);
        } else if (widget->focusPolicy() != Qt::NoFocus) {
            chain << widget;
        } else if (widget->layout()) {
            // The kit fills a grid row by row, so a grid's items are in reading order too.
            collectFocusable(widget->layout(), chain);
        }
    }
}
} // namespace

BuilderView::BuilderView(DebugCategory category, CommandStore &store, QWidget *parent)
    : QScrollArea(parent)
    , m_column(nullptr)
    , m_output(nullptr)
{
    setObjectName(Enum::caseName(category) + QStringLiteral("View"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The vertical bar comes and goes with the page's height; its width stays free either way (as a
    // margin while it is hidden), so that no row narrows or widens under the pointer. An always-on bar
    // would draw an empty trough beside every short form.
    const auto keepGutter = [this](int minimum, int maximum) {
        setViewportMargins(0, 0, minimum < maximum ? 0 : verticalScrollBar()->sizeHint().width(), 0);
    };
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, keepGutter);
    keepGutter(0, 0);
    // Clicking the page lets the keys scroll it, but Tab never stops on it: it shows no focus.
    setFocusPolicy(Qt::ClickFocus);

    auto *content = new QWidget(this);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(16);
    m_output = new CommandOutputView(category, store, content);
    m_column->addWidget(m_output);
    // All the height the blocks do not need goes below the panel, never into it.
    m_column->addStretch(1);
    setWidget(content);
}

void BuilderView::addHeader(const QString &title, const QString &description)
{
    addBlock(new FormHeader(title, description));
}

FormGrid *BuilderView::addGrid(const QString &title)
{
    auto *grid = new FormGrid(title, changeHandler());
    addBlock(grid);
    return grid;
}

CheckColumn *BuilderView::addChecks(const QString &title)
{
    auto *column = new CheckColumn(title, changeHandler());
    addBlock(column);
    return column;
}

void BuilderView::addBlock(QWidget *block)
{
    // Above the panel and the closing stretch.
    m_column->insertWidget(m_column->count() - 2, block);
}

void BuilderView::alignLabelColumns()
{
    m_labelWidth = qMax(m_labelWidth, widestLabel(this));
    for (FormGrid *grid : findChildren<FormGrid *>())
        grid->setLabelColumnWidth(m_labelWidth);
}

int BuilderView::widestLabel(const QWidget *root)
{
    int widest = 0;
    for (const FormGrid *grid : root->findChildren<FormGrid *>())
        widest = qMax(widest, grid->widestLabel());
    return widest;
}

void BuilderView::controlsAdded()
{
    alignLabelColumns();
    orderFocus();
}

bool BuilderView::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        alignLabelColumns();
    return QScrollArea::event(event);
}

void BuilderView::showEvent(QShowEvent *event)
{
    orderFocus();
    QScrollArea::showEvent(event);
}

void BuilderView::orderFocus()
{
    // From the layouts rather than the order of creation, which blocks made apart and controls made
    // later (the Sniffer's builder) do not follow.
    QWidgetList chain{this};
    collectFocusable(widget()->layout(), chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void BuilderView::refresh()
{
    formChanged();
    showAdvice();
    m_output->setTitle(panelTitle());
    m_output->setCommand(command());
}

bool BuilderView::setControl(const QString &name, const QString &value, const QStringList &choices)
{
    // The Sniffer's filter builder binds controls of its own form, some under the same names.
    const auto nested = [this](const QWidget *control) {
        for (const QWidget *w = control->parentWidget(); w && w != this; w = w->parentWidget()) {
            if (qobject_cast<const BPFBuilderView *>(w))
                return true;
        }
        return false;
    };
    const QList<QWidget *> named = findChildren<QWidget *>(name);
    const auto control = std::ranges::find_if(named, [&](const QWidget *w) { return !nested(w); });
    if (control == named.end())
        return false;
    const int choice = int(choices.indexOf(value));
    if (auto *line = qobject_cast<QLineEdit *>(*control))
        line->setText(value);
    else if (auto *text = qobject_cast<MultiLineEdit *>(*control))
        text->setText(value);
    else if (auto *check = qobject_cast<QCheckBox *>(*control))
        check->setChecked(value == QLatin1String("true"));
    else if (auto *combo = qobject_cast<QComboBox *>(*control); combo && choice >= 0)
        combo->setCurrentIndex(choice);
    else if (auto *picker = qobject_cast<SegmentedPicker *>(*control); picker && choice >= 0)
        picker->setCurrentIndex(choice);
    else
        return false;
    return true;
}
