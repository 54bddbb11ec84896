#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the session ends the application (SIGTERM, SIGHUP) or Ctrl+C reaches it
// (SIGINT), instead of dying on the spot: the normal way out lets the stores finish their last write.
class QuitOnSignal : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

private:
    QSocketNotifier *m_notifier = nullptr;
};
