// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/signal_quit.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <csignal>

namespace veldorin {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Set before the handlers are installed and cleared after they are removed.
volatile std::sig_atomic_t signalWriteEnd = -1;

// Only what a handler may safely call: signal() and write(), errno kept for the code
// the signal interrupted. The socket does not block, so a full one loses a signal that
// a byte already waiting says anyway.
void WriteSignal(int signal) {
    for (const int ending : kEndingSignals) std::signal(ending, SIG_DFL);
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &number, 1);
    errno = saved;
}

void SetEndingSignalsTo(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int ending : kEndingSignals) sigaddset(&action.sa_mask, ending);
    action.sa_flags = SA_RESTART;
    for (const int ending : kEndingSignals) sigaction(ending, &action, nullptr);
}

}  // namespace

SignalQuit::SignalQuit() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends_.data()) != 0) {
        ends_ = {-1, -1};
        return;  // the signals keep their default action
    }
    notifier_ = std::make_unique<QSocketNotifier>(ends_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { Quit(); });
    signalWriteEnd = ends_[1];
    SetEndingSignalsTo(WriteSignal);
}

SignalQuit::~SignalQuit() {
    if (!notifier_) return;
    SetEndingSignalsTo(SIG_DFL);
    signalWriteEnd = -1;
    notifier_.reset();
    for (const int end : ends_) ::close(end);
}

void SignalQuit::Quit() {
    unsigned char number = 0;
    if (::read(ends_[0], &number, 1) != 1) return;
    status_ = 128 + number;
    QCoreApplication::exit(*status_);
}

}  // namespace veldorin
