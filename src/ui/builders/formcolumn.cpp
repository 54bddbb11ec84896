#include "formcolumn.h"

#include "common/style.h"
#include "formgrid.h"
#include "singlelineedit.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

FormColumn::FormColumn(const QString &title, std::function<void()> changed, int spacing, QWidget *parent)
    : CheckColumn(title, changed, parent)
    , m_changed(std::move(changed))
{
    layout()->setSpacing(spacing);
}

QFrame *FormColumn::addDivider(int padding)
{
    auto *holder = new QWidget(this);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, padding, 0, padding);
    auto *line = new QFrame(holder);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    addWidget(holder);
    return line;
}

QLabel *FormColumn::addCaption(const QString &text, double scale)
{
    // Spaces are kept as written: some captions line their items up with runs of them.
    auto *caption = new QLabel(
        QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(Style::inlineCodeHtml(text)), this);
    caption->setTextFormat(Qt::RichText);
    caption->setWordWrap(true);
    caption->setAccessibleName(Style::withoutBackQuotes(text));
    if (scale != 1.0)
        Style::setPointSizeScale(caption, scale);
    addWidget(caption);
    return caption;
}

FormGrid *FormColumn::addGrid()
{
    auto *grid = new FormGrid(QString(), m_changed, this);
    addWidget(grid);
    return grid;
}

SingleLineEdit *FormColumn::addText(FieldRef<QString> field, const QString &label, const QString &placeholder,
                                    int width)
{
    return addGrid()->addText(field, label, placeholder, width);
}

QWidget *FormColumn::addCheckRow(const QList<FieldRef<bool>> &fields, const QStringList &texts)
{
    QWidget *row = createCheckRow(fields, texts, 16, m_changed, this);
    addWidget(row);
    return row;
}
