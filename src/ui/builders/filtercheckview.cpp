#include "filtercheckview.h"

#include "common/icons.h"
#include "common/style.h"
#include "filtercheck/filtercheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

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

} // namespace

FilterCheckView::FilterCheckView(QWidget *parent)
    : QWidget(parent)
    , m_check(new FilterCheck(this))
    , m_slow(new QTimer(this))
    , m_mark(markLabel(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("filterCheck"));
    m_mark->setObjectName(QStringLiteral("filterCheckMark"));
    m_status->setObjectName(QStringLiteral("filterCheckStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Style::setCallout(m_status);
    // One line, also while there is nothing to say.
    m_status->setMinimumHeight(m_status->fontMetrics().height());
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_mark, 0, Qt::AlignVCenter);
    row->addWidget(m_status, 1);

    m_slow->setSingleShot(true);
    m_slow->setInterval(checkingDelay);
    connect(m_slow, &QTimer::timeout, this, &FilterCheckView::showStatus);
    connect(m_check, &FilterCheck::statusChanged, this, [this] {
        if (m_check->status() == FilterCheck::Status::checking)
            m_slow->start();
        else
            showStatus();
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
    const QStringList warnings = m_check->warnings();
    QString verdict;
    switch (m_check->status()) {
    case FilterCheck::Status::empty:
        setMark(m_mark, QString());
        break;
    case FilterCheck::Status::checking:
        setMark(m_mark, warnings.isEmpty() ? QString() : QStringLiteral("exclamationmark.triangle.fill"));
        verdict = QStringLiteral("Checking the filter with libpcap\u2026");
        break;
    case FilterCheck::Status::valid:
        setMark(m_mark,
                warnings.isEmpty() ? QStringLiteral("checkmark.circle")
                                   : QStringLiteral("exclamationmark.triangle.fill"),
                warnings.isEmpty() ? Style::Tone::success : Style::Tone::warning);
        verdict = FilterCheck::verdict(true, {});
        break;
    case FilterCheck::Status::invalid:
        setMark(m_mark, QStringLiteral("xmark.circle"), Style::Tone::error);
        verdict = FilterCheck::verdict(false, m_check->message());
        break;
    }
    m_text = (QStringList{verdict} + warnings).join(QStringLiteral(" \u2014 "));
    if (verdict.isEmpty())
        m_text.clear();
    m_status->setToolTip(m_text);
    m_status->setAccessibleName(m_text);
    showText();
}

void FilterCheckView::showText()
{
    m_status->setText(m_status->fontMetrics().elidedText(m_text, Qt::ElideRight, m_status->width()));
}

void FilterCheckView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showText();
}
