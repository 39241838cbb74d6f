#include "framework/ini/ini_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace {

std::filesystem::path makeTempFolder() {
    std::string pattern = ::testing::TempDir() + "ini-XXXXXX";
    return ::mkdtemp(pattern.data());
}

// Stores on a real file in a fresh folder.
class IniFileTest : public ::testing::Test {
  protected:
    ~IniFileTest() override { std::filesystem::remove_all(folder_); }

    std::string fileText() {
        std::ifstream in(file_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path folder_ = makeTempFolder();
    std::filesystem::path file_ = folder_ / "quillanvero.ini";
};

TEST_F(IniFileTest, TwoStoresSeeEachOthersWrites) {
    unaIniFile first(file_.string());
    unaIniFile second(file_.string());
    first.setSection("waveIn");
    second.setSection("waveIn");
    EXPECT_FALSE(second.getBool("saveToFile", false));
    first.setBool("saveToFile", true);
    EXPECT_TRUE(second.getBool("saveToFile", false));
}

TEST_F(IniFileTest, DefaultFileLiesBesideAWritableProgram) {
    IniFileEnvironment environment;
    environment.programPath = folder_ / "quillanvero";
    environment.isWritableFolder = [](const std::filesystem::path&) { return true; };
    unaIniFile store({}, "settings", 1000, true, environment);
    EXPECT_EQ(store.fileName(), file_);
    store.setSection("form");
    store.setInt("width", 800);
    EXPECT_EQ(fileText(), "[form]\nwidth=800\n");
}

TEST_F(IniFileTest, SettingsSurviveARestartAndKeepHandEdits) {
    { std::ofstream(file_) << "; edited by hand\n[delay]\ndelaysec = 2300 ; ms\n"; }
    {
        unaIniFile store(file_.string());
        store.setSection("delay");
        EXPECT_EQ(store.getInt64("delaysec", 4), 4) << "trailing comment makes it malformed";
        store.setString("delaysec", "2300");
        store.setSection("waveOut");
        store.setUnsigned("deviceId", static_cast<std::uint32_t>(-1));
    }
    unaIniFile restarted(file_.string());
    restarted.setSection("delay");
    EXPECT_EQ(restarted.getInt64("delaysec", 4), 2300);
    restarted.setSection("waveOut");
    EXPECT_EQ(restarted.getInt("deviceId", 0), -1);
    EXPECT_EQ(fileText(),
              "; edited by hand\n[delay]\ndelaysec = 2300\n\n[waveOut]\ndeviceId=4294967295\n");
}

TEST_F(IniFileTest, UnwritableFileLosesWritesOnly) {
    const auto missingFolder = folder_ / "absent" / "x.ini";
    unaIniFile store(missingFolder.string());
    EXPECT_FALSE(store.setInt("k", 1));
    EXPECT_EQ(store.getInt("k", 9), 9);
}

}  // namespace
