// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/signal_quit.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <csignal>

namespace veldorin {
namespace {

// The signal's number on the socket ends the event loop with 128 + signal; a signal raised
// puts it there, and leaves its default action to the next one.
TEST(SignalQuit, AnEndingSignalEndsTheEventLoopWithItsStatus) {
    const struct {
        const char* name;
        int signal;
        bool raised;  // or its number written to the socket
    } cases[] = {{"SIGTERM written", SIGTERM, false},
                 {"SIGTERM raised", SIGTERM, true},
                 {"SIGHUP raised", SIGHUP, true},
                 {"SIGINT raised", SIGINT, true}};
    for (const auto& c : cases) {
        const SignalQuit quit;
        if (c.raised) {
            std::raise(c.signal);
        } else {
            const auto number = static_cast<unsigned char>(c.signal);
            ASSERT_EQ(::write(quit.WriteEnd(), &number, 1), 1);
        }
        QTimer stuck;
        stuck.callOnTimeout([] { QCoreApplication::exit(-1); });
        stuck.start(10000);
        EXPECT_EQ(QApplication::exec(), 128 + c.signal) << c.name;
        EXPECT_EQ(quit.Status(), 128 + c.signal) << c.name;
        struct sigaction now {};
        sigaction(c.signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler == SIG_DFL, c.raised) << c.name;
    }
}

}  // namespace
}  // namespace veldorin
