// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSocketNotifier>
#include <array>
#include <memory>
#include <optional>

namespace veldorin {

// Turns the first SIGTERM, SIGHUP or SIGINT into the end of the event loop with the status
// 128 + signal, so that the program ends through its destructors and its windows are taken
// down in order. Nothing is asked: nobody may be there to answer. The handler only writes
// the signal's number to a socket, and gives the three signals back their default action,
// so that a second one ends a program that is stuck. One at a time: the handlers are
// removed with it.
class SignalQuit {
public:
    SignalQuit();
    ~SignalQuit();
    SignalQuit(const SignalQuit&) = delete;
    SignalQuit& operator=(const SignalQuit&) = delete;

    // The status to end with, once a signal came. A signal during the start-up ends the
    // event loop of a dialog, not the program's, which has not started yet.
    std::optional<int> Status() const { return status_; }
    // The end of the socket that the handler writes the signal's number to.
    int WriteEnd() const { return ends_[1]; }

private:
    void Quit();

    std::array<int, 2> ends_{-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;  // none when the socket could not be made
    std::optional<int> status_;
};

}  // namespace veldorin
