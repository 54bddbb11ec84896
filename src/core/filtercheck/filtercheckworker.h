#pragma once

#include "pcapfilter.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// The one thread that compiles filters for every FilterCheck of the process. One thread keeps libpcap
// calls in sequence and lets a check that is stuck in a slow DNS lookup hold up only later checks,
// never the UI.
class FilterCheckWorker : public QObject
{
    Q_OBJECT

public:
    using Compiler = std::function<PcapFilter::Result(const QString &)>;

    struct Request {
        quint64 id = 0;
        QString text;
        Compiler compiler;
        // The id of the requester's newest request; an older one is skipped unheard.
        std::shared_ptr<const std::atomic<quint64>> latest;
    };

    // Created on first use with its thread (call from the main thread with an application object);
    // stopped when the application object is destroyed.
    static FilterCheckWorker *instance();
    static quint64 nextRequestId();

    // Thread-safe; the result comes back through finished().
    void submit(Request request);

signals:
    void finished(quint64 id, bool valid, const QString &message);

private:
    FilterCheckWorker() = default;
    void run(const Request &request);
};
