#include "advicemark.h"

#include "common/icons.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace {
const char *const boundProperty = "brindlecapBoundField";
constexpr int markSize = 14;
constexpr int gap = 6;
} // namespace

AdviceMark::AdviceMark(QLineEdit *field)
    : QWidget(field)
    , m_field(field)
    , m_words(new QLabel(this))
{
    setObjectName(QStringLiteral("adviceMark"));
    // Clicks reach the field under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::tinted(QStringLiteral("exclamationmark.triangle.fill"), QColor(0xff, 0x95, 0x00), markSize,
                                  devicePixelRatioF()));
    m_words->setObjectName(QStringLiteral("adviceText"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(icon);
    layout->addWidget(m_words, 1);
    field->installEventFilter(this);
    // Beside the field, the room is what the row leaves.
    if (QWidget *row = field->parentWidget())
        row->installEventFilter(this);
    // Beside the field it is the row's child: it goes with the field.
    connect(field, &QObject::destroyed, this, &QObject::deleteLater);
    hide();
}

// The mark of control, inside it or beside it; null while it has none.
AdviceMark *AdviceMark::markOf(const QWidget *control)
{
    for (const QWidget *owner : {control, static_cast<const QWidget *>(control->parentWidget())}) {
        for (auto *mark :
             owner ? owner->findChildren<AdviceMark *>(QString(), Qt::FindDirectChildrenOnly) : QList<AdviceMark *>()) {
            if (mark->m_field == control)
                return mark;
        }
    }
    return nullptr;
}

void AdviceMark::show(QWidget *control, const QString &advice)
{
    // Only on a change: every keystroke passes here, and each new description is announced.
    if (control->accessibleDescription() != advice) {
        control->setAccessibleDescription(advice);
        control->setToolTip(advice);
    }
    auto *field = qobject_cast<QLineEdit *>(control);
    if (!field)
        return;
    AdviceMark *mark = markOf(field);
    if (!mark && advice.isEmpty())
        return;
    if (!mark)
        mark = new AdviceMark(field);
    mark->setAdvice(advice);
}

QString AdviceMark::shown(const QWidget *control)
{
    const AdviceMark *mark = markOf(control);
    return mark && mark->isVisibleTo(mark->parentWidget()) ? mark->m_words->text() : QString();
}

void AdviceMark::bind(QWidget *control, const void *value)
{
    control->setProperty(boundProperty, QVariant::fromValue(quintptr(value)));
}

QWidget *AdviceMark::boundControl(const QWidget *root, const QString &name, const void *value)
{
    for (QWidget *control : root->findChildren<QWidget *>(name)) {
        if (control->property(boundProperty).value<quintptr>() == quintptr(value))
            return control;
    }
    return nullptr;
}

void AdviceMark::setAdvice(const QString &advice)
{
    if (advice == m_advice)
        return;
    m_advice = advice;
    place();
}

bool AdviceMark::eventFilter(QObject *watched, QEvent *event)
{
    const bool geometry = event->type() == QEvent::Resize || event->type() == QEvent::Move ||
                          event->type() == QEvent::Show || event->type() == QEvent::FontChange;
    if (geometry && (watched == m_field || watched == m_field->parentWidget()) && !m_advice.isEmpty())
        place();
    return QWidget::eventFilter(watched, event);
}

void AdviceMark::place()
{
    if (m_advice.isEmpty()) {
        hide();
        m_field->setTextMargins(0, 0, 0, 0);
        return;
    }
    const int wanted = markSize + 4 + m_words->fontMetrics().horizontalAdvance(m_advice) + 2;
    QWidget *row = m_field->parentWidget();
    const QRect field = m_field->geometry();
    const int room = row ? row->width() - field.right() - 1 - 2 * gap : 0;
    const bool fixedWidth = m_field->minimumWidth() == m_field->maximumWidth();
    // A narrow field of fixed width has the row's room beside it; a full-width one keeps it inside.
    if (fixedWidth && row && room >= std::min(wanted, 160)) {
        setParent(row);
        m_field->setTextMargins(0, 0, 0, 0);
        const int width = std::min(wanted, room);
        setGeometry(field.right() + 1 + gap, field.y(), width, field.height());
    } else {
        setParent(m_field);
        // At most 60 % of the field: what is typed stays readable beside it.
        const int width = std::min(wanted, m_field->width() * 3 / 5);
        m_field->setTextMargins(0, 0, width + gap, 0);
        setGeometry(m_field->width() - width - gap, 0, width, m_field->height());
    }
    m_words->setText(m_words->fontMetrics().elidedText(m_advice, Qt::ElideRight, width() - markSize - 4));
    QWidget::show();
    raise();
}
