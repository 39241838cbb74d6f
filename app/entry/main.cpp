// Entry point: the window, or the headless mode for delay boxes without a screen.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/entry/window_program.h"
#include "app/headless/headless_options.h"
#include "app/headless/headless_runner.h"
#include "app/headless/wave_driver_choice.h"
#include "framework/core/object.h"

namespace {

constexpr const char* kVersionLine = "quillanvero 1.0.10";

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

int runHeadless(int argc, char** argv, const CommandLine& commandLine) {
    QCoreApplication app(argc, argv);
    quitOnTerminationSignals();
    if (!soundDevicesUsable()) {
        std::cerr << "No sound device can be opened: check that a sound card (or PulseAudio/"
                     "PipeWire) is available, or set QUILLANVERO_WAVE_DRIVER=simulated to try "
                     "the program without one."
                  << std::endl;
    }
    HeadlessRunner runner(commandLine, std::cout, std::cerr);
    return runner.run();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ParseResult parsed = parseCommandLine(args);
    if (!parsed.error.empty()) {
        std::cerr << "quillanvero: " << parsed.error << std::endl;
        return 2;
    }
    CommandLine& commandLine = parsed.commandLine;
    chooseWaveDriverFromEnvironment();
    try {
        switch (commandLine.mode) {
            case CommandLine::Mode::help:
                std::cout << usageText();
                return 0;
            case CommandLine::Mode::version:
                std::cout << kVersionLine << std::endl;
                return 0;
            case CommandLine::Mode::listDevices:
                listDevices(std::cout);
                return 0;
            case CommandLine::Mode::headless: {
                const std::string problem = validateAgainstSystem(commandLine);
                if (!problem.empty()) {
                    std::cerr << "quillanvero: " << problem << std::endl;
                    return 2;
                }
                return runHeadless(argc, argv, commandLine);
            }
            case CommandLine::Mode::window:
                if (!displayAvailable()) {
                    std::cerr << "No display: starting the headless mode with the stored "
                                 "settings (Ctrl+C stops it)."
                              << std::endl;
                    commandLine.mode = CommandLine::Mode::headless;
                    return runHeadless(argc, argv, commandLine);
                }
                return runWindowProgram(argc, argv, commandLine);
        }
    } catch (const unaSilentAbort&) {
        // The framework ran out of worker records: nothing to show.
    }
    return 1;
}
