#include "builderview.h"

#include "checkcolumn.h"
#include "formgrid.h"
#include "formheader.h"
#include "output/commandoutputview.h"

#include <QVBoxLayout>

BuilderView::BuilderView(DebugCategory category, CommandStore &store, QWidget *parent)
    : QScrollArea(parent)
    , m_column(nullptr)
    , m_output(nullptr)
{
    setObjectName(Enum::caseName(category) + QStringLiteral("View"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

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

void BuilderView::refresh()
{
    formChanged();
    m_output->setTitle(panelTitle());
    m_output->setCommand(command());
}
