#include "filtercheckview.h"

#include "common/icons.h"
#include "common/style.h"
#include "filtercheck/filtercheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int markSize = 16;

QLabel *markLabel(QWidget *parent)
{
    auto *mark = new QLabel(parent);
    mark->setFixedSize(markSize, markSize);
    return mark;
}

void setMark(QLabel *mark, const QString &symbol, Style::Tone tone = Style::Tone::warning)
{
    mark->setProperty("symbol", symbol);
    mark->setPixmap(symbol.isEmpty() ? QPixmap()
                                     : Icons::tinted(symbol, Style::tone(tone, mark->palette()), markSize,
                                                     mark->devicePixelRatioF()));
}

QLabel *messageLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Style::setCallout(label);
    return label;
}
} // namespace

FilterCheckView::FilterCheckView(QWidget *parent)
    : QWidget(parent)
    , m_check(new FilterCheck(this))
    , m_slow(new QTimer(this))
    , m_mark(markLabel(this))
    , m_status(messageLabel(QString(), this))
    , m_warnings(new QVBoxLayout)
{
    setObjectName(QStringLiteral("filterCheck"));
    m_mark->setObjectName(QStringLiteral("filterCheckMark"));
    m_status->setObjectName(QStringLiteral("filterCheckStatus"));

    // One line high even while there is nothing to say.
    m_status->setMinimumHeight(m_status->fontMetrics().height());
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_mark, 0, Qt::AlignTop);
    row->addWidget(m_status, 1);

    m_warnings->setContentsMargins(0, 0, 0, 0);
    m_warnings->setSpacing(4);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(row);
    layout->addLayout(m_warnings);
    for (const QString &warning : {FilterCheck::lineBreakWarning(), FilterCheck::singleQuoteWarning()})
        addWarningRow(warning);

    m_slow->setSingleShot(true);
    m_slow->setInterval(checkingDelay);
    connect(m_slow, &QTimer::timeout, this, &FilterCheckView::showStatus);
    connect(m_check, &FilterCheck::statusChanged, this, [this] {
        if (m_check->status() == FilterCheck::Status::checking)
            m_slow->start();
        else
            showStatus();
        showWarnings();
    });
    showStatus();
}

void FilterCheckView::setFilter(const QString &expression)
{
    m_check->check(expression);
}

void FilterCheckView::showStatus()
{
    m_slow->stop();
    switch (m_check->status()) {
    case FilterCheck::Status::empty:
        setMark(m_mark, QString());
        m_status->clear();
        break;
    case FilterCheck::Status::checking:
        setMark(m_mark, QString());
        m_status->setText(QStringLiteral("Checking the filter with libpcap\u2026"));
        break;
    case FilterCheck::Status::valid:
        setMark(m_mark, QStringLiteral("checkmark.circle"), Style::Tone::success);
        m_status->setText(FilterCheck::verdict(true, {}));
        break;
    case FilterCheck::Status::invalid:
        setMark(m_mark, QStringLiteral("xmark.circle"), Style::Tone::error);
        m_status->setText(FilterCheck::verdict(false, m_check->message()));
        break;
    }
    m_status->setAccessibleName(m_status->text());
}

void FilterCheckView::showWarnings()
{
    const QStringList warnings = m_check->warnings();
    for (const QString &warning : warnings) {
        if (!m_warningRows.contains(warning))
            addWarningRow(warning);
    }
    for (auto it = m_warningRows.cbegin(); it != m_warningRows.cend(); ++it)
        it.value()->setVisible(warnings.contains(it.key()));
}

void FilterCheckView::addWarningRow(const QString &warning)
{
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("filterWarning"));
    Style::keepPlaceWhenHidden(row);
    row->hide();
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    QLabel *mark = markLabel(row);
    setMark(mark, QStringLiteral("exclamationmark.triangle.fill"));
    QLabel *text = messageLabel(warning, row);
    text->setObjectName(QStringLiteral("filterWarningText"));
    layout->addWidget(mark, 0, Qt::AlignTop);
    layout->addWidget(text, 1);
    m_warnings->addWidget(row);
    m_warningRows.insert(warning, row);
}
