#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What decides where the settings file lies. Tests build one by hand; the
// program takes the one of its own process.
struct IniFileEnvironment {
    std::filesystem::path programPath;  // the running program's file; empty when unknown
    std::filesystem::path currentDirectory;
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
    std::function<bool(const std::filesystem::path&)> isWritableFolder;

    static IniFileEnvironment ofThisProcess();
};

// The settings file of a store. A given name wins: when makeAbsolute is set
// and the name has no ":", "\" or "/", it is taken from the current directory.
// Without a name the file lies beside the program, under the program's name
// with ".ini", when the program's folder is writable (a portable copy, the
// build tree). An installed program's folder is not, so the file then lies in
// the user's configuration folder, $XDG_CONFIG_HOME/quillanvero/quillanvero.ini
// (~/.config/... by default), whose folder this creates.
std::filesystem::path settingsFilePath(std::string_view fileName, bool makeAbsolute,
                                       const IniFileEnvironment& environment);
