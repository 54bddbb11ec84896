#include "formgrid.h"

#include "common/accessiblecontrols.h"

#include "advicemark.h"
#include "checkcolumn.h"
#include "multilineedit.h"
#include "singlelineedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

FormGrid::FormGrid(const QString &title, std::function<void()> changed, QWidget *parent)
    : QGroupBox(title, parent)
    , m_grid(new QGridLayout(this))
    , m_changed(std::move(changed))
{
    m_grid->setContentsMargins(6, 6, 6, 6);
    m_grid->setHorizontalSpacing(12);
    m_grid->setVerticalSpacing(8);
    m_grid->setColumnStretch(1, 1);
    if (title.isEmpty()) {
        // No second frame, title or padding inside the box these rows belong to.
        setFlat(true);
        setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"));
        m_grid->setContentsMargins(0, 0, 0, 0);
    }
}

SingleLineEdit *FormGrid::addText(FieldRef<QString> field, const QString &label, const QString &placeholder, int width)
{
    auto *edit = new SingleLineEdit(this);
    edit->setObjectName(field.name);
    AdviceMark::bind(edit, field.value);
    edit->setPlaceholderText(placeholder);
    edit->setText(*field.value);
    connect(edit, &QLineEdit::textChanged, this, [this, value = field.value](const QString &text) {
        *value = text;
        m_changed();
    });
    if (width > 0) {
        edit->setFixedWidth(width);
        addRow(label, edit, Qt::AlignLeft);
    } else {
        addRow(label, edit);
    }
    return edit;
}

MultiLineEdit *FormGrid::addMultiLineText(FieldRef<QString> field, const QString &accessibleName,
                                          const QString &placeholder, int minimumLines, int maximumLines)
{
    auto *edit = new MultiLineEdit(minimumLines, maximumLines, this);
    edit->setObjectName(field.name);
    AdviceMark::bind(edit, field.value);
    edit->setPlaceholderText(placeholder);
    edit->setAccessibleName(accessibleName);
    edit->setText(*field.value);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, value = field.value] {
        *value = edit->text();
        m_changed();
    });
    addWide(edit);
    return edit;
}

QCheckBox *FormGrid::addCheck(FieldRef<bool> field, const QString &label)
{
    QCheckBox *check = CheckColumn::createCheck(field, label, 0, m_changed, this);
    addWide(check->parentWidget());
    return check;
}

QWidget *FormGrid::addCheckRow(const QString &label, const QList<FieldRef<bool>> &fields, const QStringList &texts)
{
    QWidget *row = CheckColumn::createCheckRow(fields, texts, 12, m_changed, this);
    addRow(label, row);
    return row;
}

QComboBox *FormGrid::createComboBox(const QString &name, const QStringList &items, int current, int width,
                                    std::function<void(int)> assign)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(name);
    AccessibleControls::markPicker(combo);
    combo->addItems(items);
    combo->setCurrentIndex(current);
    if (width > 0)
        combo->setFixedWidth(width);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, assign = std::move(assign)](int index) {
        if (index < 0)
            return;
        assign(index);
        m_changed();
    });
    return combo;
}

void FormGrid::addRow(const QString &label, QWidget *control, Qt::Alignment alignment)
{
    const int row = m_rows++;
    auto *text = new QLabel(label, this);
    text->setTextFormat(Qt::PlainText);
    text->setBuddy(control);
    control->setAccessibleName(label);
    m_grid->addWidget(text, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_grid->addWidget(control, row, 1, alignment | Qt::AlignVCenter);
    m_labels.insert(control, text);
}

void FormGrid::addTrailing(QWidget *rowControl, QWidget *trailing)
{
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    m_grid->getItemPosition(m_grid->indexOf(rowControl), &row, &column, &rowSpan, &columnSpan);
    m_grid->addWidget(trailing, row, 2, Qt::AlignVCenter);
    m_trailing.insert(rowControl, trailing);
}

void FormGrid::addWide(QWidget *widget, Qt::Alignment alignment)
{
    m_grid->addWidget(widget, m_rows++, 0, 1, -1, alignment);
}

void FormGrid::setRowVisible(QWidget *control, bool visible)
{
    control->setVisible(visible);
    if (QLabel *label = m_labels.value(control))
        label->setVisible(visible);
    if (QWidget *trailing = m_trailing.value(control))
        trailing->setVisible(visible);
}

void FormGrid::setRowSpacing(int spacing)
{
    m_grid->setVerticalSpacing(spacing);
}

int FormGrid::widestLabel() const
{
    int widest = 0;
    for (const QLabel *label : m_labels)
        widest = qMax(widest, label->sizeHint().width());
    return widest;
}

void FormGrid::setLabelColumnWidth(int width)
{
    m_grid->setColumnMinimumWidth(0, width);
}
