#include "filtercheckworker.h"

#include <QCoreApplication>
#include <QThread>

namespace {
QThread *workerThread = nullptr;
FilterCheckWorker *worker = nullptr;

void stopWorker()
{
    if (!workerThread)
        return;
    // Waits for a compile in progress; later requests are dropped with the event loop.
    workerThread->quit();
    workerThread->wait();
    delete worker;
    delete workerThread;
    worker = nullptr;
    workerThread = nullptr;
}
} // namespace

FilterCheckWorker *FilterCheckWorker::instance()
{
    if (!worker) {
        workerThread = new QThread;
        workerThread->setObjectName(QStringLiteral("brindlecap-filtercheck"));
        worker = new FilterCheckWorker;
        worker->moveToThread(workerThread);
        workerThread->start();
        qAddPostRoutine(stopWorker);
    }
    return worker;
}

quint64 FilterCheckWorker::nextRequestId()
{
    static std::atomic<quint64> counter{0};
    return ++counter;
}

void FilterCheckWorker::submit(Request request)
{
    QMetaObject::invokeMethod(
        this, [this, request = std::move(request)] { run(request); }, Qt::QueuedConnection);
}

void FilterCheckWorker::run(const Request &request)
{
    // The text changed again while this request waited: nobody will read its result.
    if (request.latest->load() != request.id)
        return;
    const PcapFilter::Result result = request.compiler(request.text);
    emit finished(request.id, result.valid, result.message);
}
