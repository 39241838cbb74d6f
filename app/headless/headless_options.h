#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct CommandLine {
    enum class Mode { window, headless, listDevices, help, version };
    Mode mode = Mode::window;
    std::optional<double> delaySeconds;
    std::optional<int> captureDevice;
    std::optional<int> playbackDevice;
    std::optional<std::string> saveFile;
    bool noPlayback = false;
    std::optional<double> durationSeconds;
    std::optional<std::string> settingsFile;
};

struct ParseResult {
    CommandLine commandLine;
    std::string error;  // one line naming the problem; empty when the line is fine
};

// Parses the arguments (without the program name). Checks the form of each
// value; device indices and the save path are checked against the machine by
// validateAgainstSystem.
ParseResult parseCommandLine(const std::vector<std::string>& args);

// The problem with devices or the save path, or empty. Runs before any device opens.
std::string validateAgainstSystem(const CommandLine& commandLine);

std::string usageText();
