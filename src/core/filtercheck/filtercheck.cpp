#include "filtercheck.h"

#include "builders/fieldadvice.h"

#include "filtercheckworker.h"
#include "text.h"

#include <algorithm>

FilterCheck::FilterCheck(QObject *parent)
    : FilterCheck(&PcapFilter::compile, parent)
{
}

FilterCheck::FilterCheck(Compiler compiler, QObject *parent)
    : QObject(parent)
    , m_compiler(std::move(compiler))
{
    connect(FilterCheckWorker::instance(), &FilterCheckWorker::finished, this, &FilterCheck::finish);
}

FilterCheck::~FilterCheck()
{
    // Requests still waiting for the worker are skipped rather than compiled for nobody.
    m_latest->store(0);
}

void FilterCheck::check(const QString &expression)
{
    if (expression == m_text)
        return;
    m_text = expression;
    m_message.clear();
    m_warnings = warningsFor(expression);
    if (expression.isEmpty()) {
        m_latest->store(0); // a result still on its way is for older text
        m_status = Status::empty;
    } else {
        const quint64 id = FilterCheckWorker::nextRequestId();
        m_latest->store(id);
        m_status = Status::checking;
        FilterCheckWorker::instance()->submit({id, expression, m_compiler, m_latest});
    }
    emit statusChanged();
}

QStringList FilterCheck::warningsFor(const QString &expression)
{
    QStringList warnings;
    if (std::any_of(expression.cbegin(), expression.cend(), &Text::isLineBreak))
        warnings << lineBreakWarning();
    if (expression.contains(u'\''))
        warnings << singleQuoteWarning();
    return warnings;
}

QString FilterCheck::verdict(bool valid, const QString &message)
{
    return valid ? QStringLiteral("Valid capture filter (checked with libpcap)")
                 : QStringLiteral("Invalid capture filter: %1").arg(message);
}

QList<FieldAdvice> FilterCheck::adviceWithVerdict(const AnyForm &form)
{
    QList<FieldAdvice> advice = form.advice();
    if (const QString filter = form.captureFilter(); !filter.isEmpty()) {
        if (const PcapFilter::Result checked = PcapFilter::compile(filter); !checked.valid)
            advice.append({QStringLiteral("filter"), Text::escaped(verdict(false, checked.message), 160)});
    }
    return advice;
}

QString FilterCheck::lineBreakWarning()
{
    return Advice::lineBreakInFilter();
}

QString FilterCheck::singleQuoteWarning()
{
    return Advice::singleQuoteInFilter();
}

void FilterCheck::finish(quint64 id, bool valid, const QString &message)
{
    // Results of every FilterCheck arrive here; only the one for the current text counts.
    if (id == 0 || id != m_latest->load())
        return;
    m_status = valid ? Status::valid : Status::invalid;
    m_message = valid ? QString() : message;
    emit statusChanged();
}
