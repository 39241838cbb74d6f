#include "framework/ini/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/profile/profile_text.h"

namespace {

constexpr const char* kApplicationFolder = "quillanvero";
constexpr const char* kApplicationFile = "quillanvero.ini";

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> homeFolder() {
    if (auto home = environmentVariable("HOME"); home && !home->empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return std::string(found->pw_dir);
    }
    return std::nullopt;
}

// $XDG_CONFIG_HOME, or ~/.config; relative values do not count.
std::optional<std::filesystem::path> configurationHome(const IniFileEnvironment& environment) {
    if (environment.xdgConfigHome && !environment.xdgConfigHome->empty() &&
        std::filesystem::path(*environment.xdgConfigHome).is_absolute()) {
        return std::filesystem::path(*environment.xdgConfigHome);
    }
    if (environment.home && std::filesystem::path(*environment.home).is_absolute()) {
        return std::filesystem::path(*environment.home) / ".config";
    }
    return std::nullopt;
}

std::filesystem::path besideProgram(const IniFileEnvironment& environment) {
    // Only the file name loses its extension: a dot in a folder name stays.
    auto file = environment.programPath;
    return file.replace_extension(".ini");
}

std::filesystem::path defaultSettingsFile(const IniFileEnvironment& environment) {
    const bool programKnown = !environment.programPath.empty();
    if (programKnown && environment.isWritableFolder &&
        environment.isWritableFolder(environment.programPath.parent_path())) {
        return besideProgram(environment);
    }
    if (const auto configHome = configurationHome(environment)) {
        const auto folder = *configHome / kApplicationFolder;
        std::error_code
            ignored;  // a folder that cannot be made loses the writes, as a read-only one
        std::filesystem::create_directories(folder, ignored);
        return folder / kApplicationFile;
    }
    if (programKnown) {
        return besideProgram(environment);
    }
    return environment.currentDirectory / kApplicationFile;
}

}  // namespace

IniFileEnvironment IniFileEnvironment::ofThisProcess() {
    IniFileEnvironment environment;
    std::error_code error;
    environment.programPath = std::filesystem::read_symlink("/proc/self/exe", error);
    environment.currentDirectory = std::filesystem::current_path(error);
    environment.xdgConfigHome = environmentVariable("XDG_CONFIG_HOME");
    environment.home = homeFolder();
    environment.isWritableFolder = [](const std::filesystem::path& folder) {
        std::error_code ignored;
        return std::filesystem::is_directory(folder, ignored) &&
               ::access(folder.c_str(), W_OK | X_OK) == 0;
    };
    return environment;
}

std::filesystem::path settingsFilePath(std::string_view fileName, bool makeAbsolute,
                                       const IniFileEnvironment& environment) {
    // Trimmed first: a name of blanks alone means "no name", not the current folder.
    const auto name = qv::profile::trimBlanks(fileName);
    if (name.empty()) {
        return defaultSettingsFile(environment);
    }
    if (makeAbsolute && name.find_first_of(":\\/") == std::string_view::npos) {
        return environment.currentDirectory / std::string(name);
    }
    return std::filesystem::path(std::string(name));
}
