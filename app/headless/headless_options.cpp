#include "app/headless/headless_options.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/wave/wave_driver.h"

namespace {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseIndex(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || parsed < -1 || parsed > 1000000) {
        return false;
    }
    value = int(parsed);
    return true;
}

// True when the file can be written: an existing writable file, or a new
// file in a writable folder.
bool canWrite(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    if (fs::is_directory(file, ec)) {
        return false;
    }
    if (fs::exists(file, ec)) {
        return ::access(path.c_str(), W_OK) == 0;
    }
    fs::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    CommandLine& cl = result.commandLine;
    bool headlessOption = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                result.error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            cl.mode = CommandLine::Mode::help;
            return result;
        } else if (arg == "--version") {
            cl.mode = CommandLine::Mode::version;
            return result;
        } else if (arg == "--list-devices") {
            cl.mode = CommandLine::Mode::listDevices;
        } else if (arg == "--headless") {
            cl.mode = CommandLine::Mode::headless;
        } else if (arg == "--delay") {
            double seconds;
            if (!value(text)) {
                return result;
            }
            if (!parseNumber(text, seconds)) {
                result.error = "--delay: '" + text + "' is not a number of seconds";
                return result;
            }
            cl.delaySeconds = seconds;
            headlessOption = true;
        } else if (arg == "--capture-device" || arg == "--playback-device") {
            int index;
            if (!value(text)) {
                return result;
            }
            if (!parseIndex(text, index)) {
                result.error = arg + ": '" + text + "' is not a device index (-1 is the default)";
                return result;
            }
            (arg == "--capture-device" ? cl.captureDevice : cl.playbackDevice) = index;
            headlessOption = true;
        } else if (arg == "--save") {
            if (!value(text)) {
                return result;
            }
            if (text.empty()) {
                result.error = "--save: the file name is empty";
                return result;
            }
            cl.saveFile = text;
            headlessOption = true;
        } else if (arg == "--no-playback") {
            cl.noPlayback = true;
            headlessOption = true;
        } else if (arg == "--duration") {
            double seconds;
            if (!value(text)) {
                return result;
            }
            if (!parseNumber(text, seconds) || seconds <= 0) {
                result.error = "--duration: '" + text + "' is not a positive number of seconds";
                return result;
            }
            cl.durationSeconds = seconds;
            headlessOption = true;
        } else if (arg == "--settings") {
            if (!value(text)) {
                return result;
            }
            cl.settingsFile = text;
        } else {
            result.error = "unknown option '" + arg + "' (see --help)";
            return result;
        }
    }
    if (headlessOption && cl.mode != CommandLine::Mode::headless) {
        result.error = "these options need --headless (see --help)";
    }
    return result;
}

std::string validateAgainstSystem(const CommandLine& cl) {
    const auto driver = platform::waveDriver();
    const auto checkDevice = [&](const std::optional<int>& index, platform::WaveDirection direction,
                                 const char* option) -> std::string {
        if (!index) {
            return {};
        }
        const int count = driver->deviceCount(direction);
        if (*index < -1 || *index >= count) {
            return std::string(option) + ": there is no device " + std::to_string(*index) +
                   " (devices -1 to " + std::to_string(count - 1) + "; see --list-devices)";
        }
        return {};
    };
    std::string problem =
        checkDevice(cl.captureDevice, platform::WaveDirection::capture, "--capture-device");
    if (problem.empty()) {
        problem =
            checkDevice(cl.playbackDevice, platform::WaveDirection::playback, "--playback-device");
    }
    if (problem.empty() && cl.saveFile && !canWrite(*cl.saveFile)) {
        problem = "--save: cannot write '" + *cl.saveFile + "'";
    }
    return problem;
}

std::string usageText() {
    return "Usage: quillanvero [--settings FILE.ini]\n"
           "       quillanvero --headless [--delay SECONDS] [--capture-device N]\n"
           "                   [--playback-device N] [--save FILE.wav] [--no-playback]\n"
           "                   [--duration SECONDS] [--settings FILE.ini]\n"
           "       quillanvero --list-devices | --help | --version\n"
           "\n"
           "Delays the sound of a recording device (the radio) by 0.05 to 600 seconds and\n"
           "plays it on a playback device, so the commentary matches a later TV picture.\n"
           "Without options the program opens its window. --headless runs without a window\n"
           "with the stored settings; the options override them for this run. Device -1 is\n"
           "the system default. SIGINT or SIGTERM stops it cleanly.\n";
}
