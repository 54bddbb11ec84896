#include "quitonsignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A signal handler may only write to a descriptor; the event loop reads the other end.
int pipeEnds[2] = {-1, -1};

void handle(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &byte, 1);
}
} // namespace

QuitOnSignal::QuitOnSignal(std::function<void()> onSignal, QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [onSignal = std::move(onSignal)] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(pipeEnds[1], &byte, 1);
        onSignal();
    });
    struct sigaction action = {};
    action.sa_handler = handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    if (!m_notifier)
        return;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}
#else
QuitOnSignal::QuitOnSignal(std::function<void()>, QObject *parent)
    : QObject(parent)
{
}

QuitOnSignal::~QuitOnSignal() = default;
#endif
