#include "shell/SignalWatcher.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Watched[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int WatchedCount = sizeof(Watched) / sizeof(Watched[0]);

int signalPipe[2] = {-1, -1};
struct sigaction previous[WatchedCount];
bool caught[WatchedCount] = {};
volatile sig_atomic_t signalled = 0;

// Only async-signal-safe work here. The first signal goes to the event loop and starts the
// grace period; a second one means the user will not wait for an orderly end.
void onSignal(int number)
{
    if (signalled)
        _exit(128 + number);
    signalled = 1;
    alarm(SignalWatcher::GraceSeconds);
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

bool ignoredAtStart(const struct sigaction &action)
{
    return !(action.sa_flags & SA_SIGINFO) && action.sa_handler == SIG_IGN;
}

} // namespace

void SignalWatcher::catchSignals()
{
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    // A full pipe must never block the handler; one byte per run is all that counts.
    ::fcntl(signalPipe[0], F_SETFL, ::fcntl(signalPipe[0], F_GETFL) | O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < WatchedCount; ++i) {
        ::sigaction(Watched[i], nullptr, &previous[i]);
        // Programs keep a hang-up ignored that their starter ignored; the others end the
        // program whoever ignored them before.
        if (Watched[i] == SIGHUP && ignoredAtStart(previous[i]))
            continue;
        caught[i] = ::sigaction(Watched[i], &action, nullptr) == 0;
    }
}

SignalWatcher::SignalWatcher(QObject *parent) : QObject(parent)
{
    catchSignals();
    if (signalPipe[1] < 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);
}

SignalWatcher::~SignalWatcher()
{
    for (int i = 0; i < WatchedCount; ++i) {
        if (caught[i])
            ::signal(Watched[i], SIG_DFL);
        caught[i] = false;
    }
}

void SignalWatcher::readSignal()
{
    unsigned char byte = 0;
    if (::read(signalPipe[1], &byte, 1) == 1)
        emit terminationRequested(byte);
}
