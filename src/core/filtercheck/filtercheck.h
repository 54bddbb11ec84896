#pragma once

#include "builders/formregistry.h"
#include "pcapfilter.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// Checks a capture filter as the user types: libpcap compiles it on a worker thread, and a result
// that arrives after the text has changed again is dropped. Alongside, plain-language warnings for
// text that would break the pasted command line. Everything here is advice; nothing is blocked.
class FilterCheck : public QObject
{
    Q_OBJECT

public:
    enum class Status {
        empty,    // no filter to check
        checking, // waiting for libpcap
        valid,
        invalid, // message() holds libpcap's reason
    };
    using Compiler = std::function<PcapFilter::Result(const QString &)>;

    explicit FilterCheck(QObject *parent = nullptr);
    // Uses compiler in place of libpcap; it runs on the worker thread.
    explicit FilterCheck(Compiler compiler, QObject *parent = nullptr);
    ~FilterCheck() override;

    // Starts checking expression unless it is the text already checked or being checked. Returns at
    // once; statusChanged() tells when the result is in.
    void check(const QString &expression);

    QString text() const { return m_text; }
    Status status() const { return m_status; }
    QString message() const { return m_message; }
    QStringList warnings() const { return m_warnings; }

    // libpcap's verdict as the user reads it: "Valid capture filter (checked with libpcap)", or "Invalid
    // capture filter: " and libpcap's reason.
    static QString verdict(bool valid, const QString &message);
    // The form's advice, and libpcap's verdict on its capture filter when that is invalid ("filter"), as
    // the command line gives it: on one short line, escaped.
    static QList<FieldAdvice> adviceWithVerdict(const AnyForm &form);

    // Warnings for text that the appliance would read differently from what the user sees.
    static QStringList warningsFor(const QString &expression);
    static QString lineBreakWarning();
    static QString singleQuoteWarning();

signals:
    // text(), status(), message() or warnings() changed.
    void statusChanged();

private:
    void finish(quint64 id, bool valid, const QString &message);

    Compiler m_compiler;
    std::shared_ptr<std::atomic<quint64>> m_latest = std::make_shared<std::atomic<quint64>>(0);
    QString m_text;
    Status m_status = Status::empty;
    QString m_message;
    QStringList m_warnings;
};
