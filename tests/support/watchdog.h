// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace veldorin::test {

// Keeps a window test from hanging. A modal dialog or an open pop-up is a failure and
// is closed at once; a test that runs past its time limit ends the whole program with
// a failure message, so that ctest reports it instead of waiting forever.
class Watchdog {
public:
    Watchdog(std::string testName, std::chrono::seconds limit);
    ~Watchdog();

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // While a test has a pop-up list open on purpose, an open pop-up is no failure.
    void ExpectPopups(bool expected) { popupsExpected_ = expected; }
    // Likewise a dialog that a test answers.
    void ExpectDialogs(bool expected) { dialogsExpected_ = expected; }

private:
    void CloseUnexpectedWindows();

    std::string testName_;
    QTimer poll_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    bool popupsExpected_ = false;
    bool dialogsExpected_ = false;
    std::thread guard_;
};

}  // namespace veldorin::test
