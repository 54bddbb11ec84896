#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Calls onSignal when the session ends the application (SIGTERM, SIGHUP) or Ctrl+C reaches it
// (SIGINT), from the event loop, instead of dying on the spot: the normal way out lets the stores
// finish their last write.
class QuitOnSignal : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignal(std::function<void()> onSignal, QObject *parent = nullptr);
    ~QuitOnSignal() override;

private:
    QSocketNotifier *m_notifier = nullptr;
};
