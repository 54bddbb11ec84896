#include "advicemark.h"

#include "common/icons.h"
#include "common/style.h"

#include <QEvent>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int markSize = 14;
constexpr int gap = 6;

// The control bound to each field, and the mark of each control: found at once at every keystroke.
QHash<const void *, QWidget *> &boundControls()
{
    static QHash<const void *, QWidget *> controls;
    return controls;
}

QHash<const QWidget *, AdviceMark *> &marks()
{
    static QHash<const QWidget *, AdviceMark *> marks;
    return marks;
}
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
    icon->setPixmap(Icons::tinted(QStringLiteral("exclamationmark.triangle.fill"),
                                  Style::tone(Style::Tone::warning, field->palette()), markSize, devicePixelRatioF()));
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
    marks().insert(field, this);
    connect(field, &QObject::destroyed, this, [this] {
        marks().remove(m_field);
        deleteLater();
    });
    hide();
}

// The mark of control, inside it or beside it; null while it has none.
AdviceMark *AdviceMark::markOf(const QWidget *control)
{
    return marks().value(control);
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
    boundControls().insert(value, control);
    connect(control, &QObject::destroyed, control, [value, control] {
        if (boundControls().value(value) == control)
            boundControls().remove(value);
    });
}

QWidget *AdviceMark::boundControl(const void *value)
{
    return boundControls().value(value);
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
