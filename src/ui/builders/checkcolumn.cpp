#include "checkcolumn.h"

#include "common/style.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace {
// A rich-text label that toggles its checkbox when clicked, as a checkbox's own text does.
class CheckLabel : public QLabel
{
public:
    CheckLabel(const QString &html, QCheckBox *check, QWidget *parent)
        : QLabel(html, parent)
        , m_check(check)
    {
        setTextFormat(Qt::RichText);
        setBuddy(check);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && m_check->isEnabled() && rect().contains(event->position().toPoint()))
            m_check->toggle();
        QLabel::mouseReleaseEvent(event);
    }

private:
    QCheckBox *m_check;
};
} // namespace

CheckColumn::CheckColumn(const QString &title, std::function<void()> changed, QWidget *parent)
    : QGroupBox(title, parent)
    , m_column(new QVBoxLayout(this))
    , m_changed(std::move(changed))
{
    m_column->setContentsMargins(6, 6, 6, 6);
    m_column->setSpacing(4);
}

QCheckBox *CheckColumn::addCheck(FieldRef<bool> field, const QString &label, int indent)
{
    QCheckBox *check = createCheck(field, label, indent, m_changed, this);
    m_column->addWidget(rowOf(check));
    return check;
}

QCheckBox *CheckColumn::createCheck(FieldRef<bool> field, const QString &label, int indent,
                                    std::function<void()> changed, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(indent, 0, 0, 0);
    layout->setSpacing(0);

    auto *check = new QCheckBox(row);
    check->setObjectName(field.name);
    check->setChecked(*field.value);
    check->setAccessibleName(Style::withoutBackQuotes(label));
    layout->addWidget(check);
    if (label.contains(u'`')) {
        auto *text = new CheckLabel(Style::inlineCodeHtml(label), check, row);
        text->setObjectName(field.name + QStringLiteral("Label"));
        // Placed and sized as the style places a checkbox's own text, so these rows line up with
        // their neighbours.
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = Style::withoutBackQuotes(label);
        QStyle *style = check->style();
        const QRect contents = style->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        layout->addSpacing(qMax(0, contents.left() - check->sizeHint().width()));
        const QSize textSize =
            style->itemTextRect(check->fontMetrics(), QRect(), Qt::TextShowMnemonic, false, option.text).size();
        check->setMinimumHeight(style->sizeFromContents(QStyle::CT_CheckBox, &option, textSize, check).height());
        layout->addWidget(text);
        // As tall as a checkbox showing its own text, so rows with and without inline code are spaced alike.
        check->setText(QStringLiteral("X"));
        row->setMinimumHeight(check->sizeHint().height());
        check->setText(QString());
    } else {
        check->setText(label);
    }
    layout->addStretch();
    row->setProperty("checkRow", true);
    connect(check, &QCheckBox::toggled, row, [value = field.value, changed = std::move(changed)](bool on) {
        *value = on;
        changed();
    });
    return check;
}

QWidget *CheckColumn::createCheckRow(const QList<FieldRef<bool>> &fields, const QStringList &texts, int spacing,
                                     const std::function<void()> &changed, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QWidget *checkRow = createCheck(fields.at(i), texts.at(i), 0, changed, row)->parentWidget();
        // Side by side, each only as wide as its checkbox and label.
        checkRow->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
        layout->addWidget(checkRow);
    }
    layout->addStretch();
    return row;
}

QWidget *CheckColumn::rowOf(QCheckBox *check) const
{
    return check->parentWidget();
}

void CheckColumn::addWidget(QWidget *widget)
{
    m_column->addWidget(widget);
}
