#include "framework/ini/settings_location.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

struct LocationCase {
    const char* name;
    const char* fileName;
    bool makeAbsolute;
    const char* program;
    bool programFolderWritable;
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
    const char* expected;
};

class SettingsLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocation, ChoosesTheFile) {
    const auto& c = GetParam();
    IniFileEnvironment environment;
    environment.programPath = c.program;
    environment.currentDirectory = "/work/dir";
    environment.xdgConfigHome = c.xdgConfigHome;
    environment.home = c.home;
    environment.isWritableFolder = [&](const std::filesystem::path&) {
        return c.programFolderWritable;
    };
    // Only a configuration folder under /nonexistent is used here, so nothing is made.
    EXPECT_EQ(settingsFilePath(c.fileName, c.makeAbsolute, environment),
              std::filesystem::path(c.expected));
}

const char* const kProgram = "/opt/my.app/quillanvero";

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLocation,
    ::testing::Values(
        LocationCase{"beside_writable_program", "", true, kProgram, true, "/nonexistent/xdg",
                     "/nonexistent/home", "/opt/my.app/quillanvero.ini"},
        LocationCase{"program_extension_replaced", "", true, "/build/bin/prog.bin", true,
                     std::nullopt, std::nullopt, "/build/bin/prog.ini"},
        LocationCase{"xdg_when_folder_read_only", "", true, kProgram, false, "/nonexistent/xdg",
                     "/nonexistent/home", "/nonexistent/xdg/quillanvero/quillanvero.ini"},
        LocationCase{"home_config_without_xdg", "", true, kProgram, false, std::nullopt,
                     "/nonexistent/home", "/nonexistent/home/.config/quillanvero/quillanvero.ini"},
        LocationCase{"relative_xdg_ignored", "", true, kProgram, false, "rel/xdg",
                     "/nonexistent/home", "/nonexistent/home/.config/quillanvero/quillanvero.ini"},
        LocationCase{"empty_xdg_ignored", "", true, kProgram, false, "", "/nonexistent/home",
                     "/nonexistent/home/.config/quillanvero/quillanvero.ini"},
        LocationCase{"nowhere_else_than_beside", "", true, kProgram, false, std::nullopt,
                     std::nullopt, "/opt/my.app/quillanvero.ini"},
        LocationCase{"program_unknown", "", true, "", true, std::nullopt, std::nullopt,
                     "/work/dir/quillanvero.ini"},
        LocationCase{"blank_name_means_none", "  \t", true, kProgram, true, std::nullopt,
                     std::nullopt, "/opt/my.app/quillanvero.ini"},
        LocationCase{"given_name_wins", "/etc/x.ini", true, kProgram, false, "/nonexistent/xdg",
                     std::nullopt, "/etc/x.ini"},
        LocationCase{"bare_name_made_absolute", " my.ini ", true, kProgram, true, std::nullopt,
                     std::nullopt, "/work/dir/my.ini"},
        LocationCase{"bare_name_kept_relative", "my.ini", false, kProgram, true, std::nullopt,
                     std::nullopt, "my.ini"},
        LocationCase{"name_with_folder_kept", "sub/my.ini", true, kProgram, true, std::nullopt,
                     std::nullopt, "sub/my.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsLocationFolder, ConfigurationFolderIsCreated) {
    std::string pattern = ::testing::TempDir() + "xdg-XXXXXX";
    const std::filesystem::path xdg = ::mkdtemp(pattern.data());
    IniFileEnvironment environment;
    environment.programPath = "/usr/bin/quillanvero";
    environment.xdgConfigHome = xdg.string();
    environment.isWritableFolder = [](const std::filesystem::path&) { return false; };

    const auto file = settingsFilePath("", true, environment);
    EXPECT_EQ(file, xdg / "quillanvero" / "quillanvero.ini");
    EXPECT_TRUE(std::filesystem::is_directory(xdg / "quillanvero"));
    std::filesystem::remove_all(xdg);
}

TEST(SettingsLocationFolder, ThisProcessIsKnown) {
    const auto environment = IniFileEnvironment::ofThisProcess();
    EXPECT_TRUE(environment.programPath.is_absolute());
    EXPECT_TRUE(environment.currentDirectory.is_absolute());
    ASSERT_TRUE(environment.isWritableFolder);
    EXPECT_FALSE(environment.isWritableFolder("/nonexistent/folder"));
}

}  // namespace
