// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program_icon.h"
#include "app/signal_quit.h"
#include "files/native_name.h"
#include "storage/startup_places.h"
#include "ui/design_palette.h"
#include "ui/spoken_interfaces.h"
#include "window/main_window.h"

int main(int argc, char* argv[]) {
    // Beyond a file-size limit a write then fails with "File too large", which every save
    // reports and survives, instead of the signal ending the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    // The arguments are read before any application object exists, so that the modes
    // without a window run where there is no display at all.
    const veldorin::CommandLineParse parse =
        veldorin::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.options) return veldorin::ReportUsageError(parse.usageError, std::cerr);
    if (parse.options->mode != veldorin::CommandLineOptions::Mode::Window) {
        // Whatever goes wrong is said in a line and a status, never by an abort.
        try {
            return veldorin::RunWithoutWindow(*parse.options, std::cout, std::cerr);
        } catch (const std::bad_alloc&) {
            std::cerr << "veldorin: out of memory\n";
        } catch (const std::exception& error) {
            std::cerr << "veldorin: " << error.what() << '\n';
        }
        return veldorin::kExitTableFailed;
    }

    QApplication application(argc, argv);
    veldorin::InstallSpokenInterfaces();
    // SIGTERM, SIGHUP and SIGINT end the event loop, and the program through its
    // destructors, without asking about an unsaved model.
    const veldorin::SignalQuit signalQuit;
    // One style everywhere, so that the design's button and list colours show.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The design's colours on every desktop, in the lists' pop-ups and tooltips too.
    QApplication::setPalette(veldorin::DesignPalette());
    QApplication::setWindowIcon(veldorin::ProgramIcon());
    // Lets a desktop session match the window to the installed veldorin.desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("veldorin"));
    veldorin::MainWindow window;
    const std::optional<std::string>& model = parse.options->model;
    window.Start(veldorin::StartupPlaces::OfThisProgram(),
                 model ? veldorin::NameFromNative(QByteArray::fromStdString(*model)) : QString());
    if (const std::optional<int> status = signalQuit.Status()) return *status;
    return QApplication::exec();
}
