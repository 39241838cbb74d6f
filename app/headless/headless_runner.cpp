#include "app/headless/headless_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "app/session/delay_rules.h"
#include "app/session/delay_session.h"
#include "app/session/session_settings.h"
#include "audio/wave/wave_in_device.h"
#include "audio/wave/wave_out_device.h"
#include "framework/ini/ini_file.h"
#include "platform/wave/wave_driver.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

std::string deviceName(const std::vector<DeviceEntry>& entries, int selection) {
    const DeviceEntry& entry = entries[size_t(selection)];
    return std::to_string(entry.deviceIndex()) + " (" + entry.name + ")";
}

std::string twoDecimals(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

}  // namespace

void quitOnTerminationSignals() {
    if (g_signalPipe[0] >= 0 || ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char drained[16];
        while (::read(g_signalPipe[0], drained, sizeof drained) > 0) {
        }
        QCoreApplication::quit();
    });
}

void listDevices(std::ostream& out) {
    const auto driver = platform::waveDriver();
    for (auto direction : {platform::WaveDirection::capture, platform::WaveDirection::playback}) {
        out << (direction == platform::WaveDirection::capture ? "Recording devices:\n"
                                                              : "Playback devices:\n");
        const int count = driver->deviceCount(direction);
        for (int index = -1; index < count; ++index) {
            platform::WaveDeviceCaps caps;
            driver->deviceCaps(direction, index, caps);
            out << "  " << index << "  " << caps.productName << "\n";
        }
    }
}

HeadlessRunner::HeadlessRunner(const CommandLine& commandLine, std::ostream& out, std::ostream& err)
    : commandLine_(commandLine), out_(out), err_(err) {}

int HeadlessRunner::run() {
    unaIniFile store(commandLine_.settingsFile.value_or(std::string()));
    const SessionSettings stored = readSessionSettings(store);

    DelaySession session;
    SessionSettings& config = session.config();
    config = stored;
    // The stored delay as the window's delay edit would hold it.
    const double storedDelay =
        delay_rules::onEditExit(delay_rules::editValue(double(stored.delayMs) / 1000.0)).seconds;
    double delay = storedDelay;
    if (commandLine_.delaySeconds) {
        delay = delay_rules::onEditExit(*commandLine_.delaySeconds).seconds;
    }
    if (commandLine_.captureDevice) {
        config.captureDeviceId = *commandLine_.captureDevice;
    }
    if (commandLine_.playbackDevice) {
        config.playbackDeviceId = *commandLine_.playbackDevice;
    }
    if (commandLine_.saveFile) {
        config.saveToFile = true;
        config.captureFileName = *commandLine_.saveFile;
    }
    session.passThrough = !commandLine_.noPlayback;
    session.buildDeviceGraph();

    out_ << "Recording device: " << deviceName(session.captureEntries(), session.captureSelection())
         << "\n"
         << "Recording format: " << session.captureFormatText().toStdString() << "\n"
         << "Playback device: "
         << deviceName(session.playbackEntries(), session.playbackSelection()) << "\n"
         << "Playback format: " << session.playbackFormatText().toStdString() << "\n"
         << "Delay: " << twoDecimals(delay) << " s\n"
         << "Playback: " << (session.passThrough ? "on" : "off") << "\n"
         << "Saving to: " << (config.saveToFile ? config.captureFileName : "(not saving)")
         << std::endl;

    int status = 0;
    QObject::connect(&session, &DelaySession::countdownChanged, this,
                     [this](const QString& text) { out_ << text.toStdString() << std::endl; });
    QObject::connect(&session, &DelaySession::playbackStarted, this,
                     [this] { out_ << "playing" << std::endl; });
    QObject::connect(&session, &DelaySession::statusMessage, this,
                     [this, &status](const QString& m) {
                         err_ << m.toStdString() << std::endl;
                         if (m.contains(QStringLiteral(" device: "))) {
                             status = 1;
                             QCoreApplication::quit();
                         }
                     });
    QTimer levels;
    levels.setInterval(1000);
    QObject::connect(&levels, &QTimer::timeout, this, [this, &session] {
        out_ << "levels: in " << session.captureLevel(0) << " " << session.captureLevel(1)
             << "  out " << session.playbackLevel(0) << " " << session.playbackLevel(1)
             << std::endl;
    });
    QTimer duration;
    duration.setSingleShot(true);
    duration.setTimerType(Qt::PreciseTimer);
    QObject::connect(&duration, &QTimer::timeout, QCoreApplication::instance(),
                     &QCoreApplication::quit);

    session.startRecording(delay);
    if (!session.captureOpen()) {
        return 1;  // the status message has said why
    }
    levels.start();
    if (commandLine_.durationSeconds) {
        duration.start(int(*commandLine_.durationSeconds * 1000.0));
    }
    QCoreApplication::exec();

    // What the listener would notice: the sound cards' own over- and underruns
    // (each a gap), and audio the playback side had no room for.
    if (const unaWaveInDevice* capture = session.captureDevice()) {
        out_ << "recording: " << capture->xrunCount() << " overruns at the sound card"
             << std::endl;
    }
    if (const unaWaveOutDevice* playback = session.playbackDevice()) {
        out_ << "playback: " << playback->xrunCount() << " underruns at the sound card, "
             << playback->inOverflowBytes() << " bytes dropped at its input" << std::endl;
    }
    session.releaseDeviceGraph();  // playback, then recording: the WAV file is completed
    writeSessionSettings(store, stored, storedDelay);  // the options were for this run only
    out_ << "stopped" << std::endl;
    return status;
}
