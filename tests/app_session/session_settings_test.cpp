#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session/session_settings.h"
#include "framework/ini/ini_file.h"

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("qv-session-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini");
        std::filesystem::remove(path);
    }
    void TearDown() override { std::filesystem::remove(path); }
    void write(const std::string& text) { std::ofstream(path) << text; }
    std::string contents() {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path path;
};

TEST_F(SettingsFile, NoFileGivesTheFirstStartDefaults) {
    unaIniFile store(path.string());
    const SessionSettings s = readSessionSettings(store);
    EXPECT_EQ(s.playbackDeviceId, -1);
    EXPECT_EQ(s.captureSampling, (PcmSampling{44100, 16, 2}));
    EXPECT_EQ(s.delayMs, 4);
    EXPECT_EQ(s.left, 4);
    EXPECT_FALSE(s.saveToFile);
}

TEST_F(SettingsFile, StoredFormsReadAsTheProgramMeansThem) {
    write(
        "[waveOut]\ndeviceId=4294967295\npcmSamplesPerSecond=AC44h\n"
        "[waveIn]\ndeviceId=7\nsaveToFile=2\nfileName=  rec.wav  \n"
        "[delay]\ndelaysec=2300\n[form]\nwidth=500\nheight=600\n");
    unaIniFile store(path.string());
    const SessionSettings s = readSessionSettings(store);
    EXPECT_EQ(s.playbackDeviceId, -1);
    EXPECT_EQ(s.playbackSampling.samplesPerSec, 44100);
    EXPECT_EQ(s.captureDeviceId, 7);
    EXPECT_TRUE(s.saveToFile);
    EXPECT_EQ(s.captureFileName, "rec.wav");
    EXPECT_EQ(s.delayMs, 2300);
    EXPECT_EQ(s.width, 500);
}

TEST_F(SettingsFile, WrittenInTheProgramsOrderAndForms) {
    unaIniFile store(path.string());
    SessionSettings s;
    s.saveToFile = true;
    writeSessionSettings(store, s, 2.35);
    const std::string text = contents();
    const char* inOrder[] = {"[waveOut]",        "deviceId=4294967295",
                             "pcmNumChannels=2", "fileName=",
                             "[waveIn]",         "saveToFile=-1",
                             "[delay]",          "delaysec=2350",
                             "[form]",           "language=",
                             "width=3",          "top=4",
                             "[skin]",           "skin="};
    size_t at = 0;
    for (const char* piece : inOrder) {
        const size_t found = text.find(piece, at);
        ASSERT_NE(found, std::string::npos) << piece << " after " << at << " in\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("initialSaveDir"), std::string::npos);
}

}  // namespace
