// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/watchdog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace veldorin::test {

Watchdog::Watchdog(std::string testName, std::chrono::seconds limit)
    : testName_(std::move(testName)) {
    poll_.setInterval(50);
    QObject::connect(&poll_, &QTimer::timeout, [this] { CloseUnexpectedWindows(); });
    poll_.start();
    guard_ = std::thread([this, limit] {
        std::unique_lock lock(mutex_);
        if (finished_.wait_for(lock, limit, [this] { return done_; })) return;
        std::fprintf(stderr, "FAILED: %s did not finish within %lld s\n", testName_.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    finished_.notify_one();
    guard_.join();
}

void Watchdog::CloseUnexpectedWindows() {
    QWidget* popup = popupsExpected_ ? nullptr : QApplication::activePopupWidget();
    QWidget* dialog = dialogsExpected_ ? nullptr : QApplication::activeModalWidget();
    for (QWidget* widget : {dialog, popup}) {
        if (widget == nullptr) continue;
        ADD_FAILURE() << "unexpected " << widget->metaObject()->className() << " opened";
        widget->close();
    }
}

}  // namespace veldorin::test
