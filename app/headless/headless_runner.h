#pragma once

#include <QObject>
#include <ostream>

#include "app/headless/headless_options.h"

// Runs the delay session without a window: prints the effective configuration,
// the countdown, "playing" when playback starts and the levels once a second,
// and stops in the shutdown order on SIGINT/SIGTERM or after --duration.
class HeadlessRunner : public QObject {
    Q_OBJECT

  public:
    HeadlessRunner(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

    // Needs a QCoreApplication. Returns the exit status: 0 after a clean stop,
    // 1 when a device could not be opened.
    int run();

  private:
    const CommandLine& commandLine_;
    std::ostream& out_;
    std::ostream& err_;
};

// Lists the recording and playback devices with their indices.
void listDevices(std::ostream& out);

// Routes SIGINT and SIGTERM to QCoreApplication::quit() through a self-pipe,
// so the event loop ends and the shutdown runs on the main thread.
void quitOnTerminationSignals();
