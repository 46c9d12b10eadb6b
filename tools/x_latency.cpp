// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures, through a real X server, how long the window takes from a key release to
// its picture: the key is sent with the XTEST extension and every change of the
// window's contents arrives as a DAMAGE event. For each key release the time to the
// first change and to the last one (no change for a quiet spell afterwards) is taken;
// the medians and 90th percentiles are printed in milliseconds. The key's press, which
// only redraws the text cursor (when it was off), shows what the way through the server
// and the toolkit costs by itself.
//
// x_latency WINDOW-ID [RELEASES]   (the key goes to the control that has the focus)

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQuietSpell = std::chrono::milliseconds(60);
constexpr auto kSettleSpell = std::chrono::milliseconds(400);

class DamageWatch {
public:
    DamageWatch(Display* display, Window window) : display_(display) {
        int errorBase = 0;
        if (!XDamageQueryExtension(display, &eventBase_, &errorBase)) {
            std::fprintf(stderr, "the X server has no DAMAGE extension\n");
            std::exit(1);
        }
        damage_ = XDamageCreate(display, window, XDamageReportRawRectangles);
        XSync(display, False);
    }

    // The time of the next change of the window's contents, if one comes within `wait`.
    std::optional<Clock::time_point> NextChange(Clock::duration wait) {
        const Clock::time_point end = Clock::now() + wait;
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == eventBase_ + XDamageNotify) return Clock::now();
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(left.count()));
        }
    }

    // Waits until the window has not changed for `spell`.
    void WaitForQuiet(Clock::duration spell) {
        while (NextChange(spell)) {
        }
    }

private:
    Display* display_;
    int eventBase_ = 0;
    Damage damage_ = 0;
};

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(samples.size()) + 0.5);
    return samples[std::min(std::max<std::size_t>(rank, 1), samples.size()) - 1];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: x_latency WINDOW-ID [RELEASES]\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int releases = argc > 2 ? std::atoi(argv[2]) : 100;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    DamageWatch watch(display, window);
    // End moves the text cursor where it already is: the texts stay as they are, and
    // its release recalculates like any other key.
    const KeyCode key = XKeysymToKeycode(display, XK_End);
    watch.WaitForQuiet(kSettleSpell);

    std::vector<double> press;
    std::vector<double> first;
    std::vector<double> last;
    int unchanged = 0;
    for (int i = 0; i < releases; ++i) {
        const Clock::time_point pressed = Clock::now();
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XFlush(display);
        if (const auto change = watch.NextChange(kQuietSpell)) {
            press.push_back(Milliseconds(*change - pressed));
        }
        watch.WaitForQuiet(kQuietSpell);
        const Clock::time_point released = Clock::now();
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XFlush(display);
        std::optional<Clock::time_point> firstChange = watch.NextChange(kSettleSpell);
        if (!firstChange) {
            ++unchanged;
            continue;
        }
        Clock::time_point lastChange = *firstChange;
        while (const auto change = watch.NextChange(kQuietSpell)) lastChange = *change;
        first.push_back(Milliseconds(*firstChange - released));
        last.push_back(Milliseconds(lastChange - released));
    }
    if (first.empty()) {
        std::fprintf(stderr, "the window never changed after a key release\n");
        return 1;
    }
    std::printf("key releases: %zu (unchanged window: %d)\n", first.size(), unchanged);
    if (!press.empty()) {
        std::printf("key press, text cursor only: median %.2f ms (%zu presses)\n",
                    Percentile(press, 0.5), press.size());
    }
    std::printf("first change: median %.2f ms, 90th percentile %.2f ms\n", Percentile(first, 0.5),
                Percentile(first, 0.9));
    std::printf("last change:  median %.2f ms, 90th percentile %.2f ms\n", Percentile(last, 0.5),
                Percentile(last, 0.9));
    XCloseDisplay(display);
    return 0;
}
