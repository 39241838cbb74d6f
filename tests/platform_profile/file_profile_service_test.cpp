#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "platform/profile/document_profile_service.h"
#include "platform/profile/simulated_profile_service.h"
#include "temp_folder.h"

namespace qv::profile {
namespace {

class FileProfileServiceTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::filesystem::path file_ = folder_ / "settings.ini";
    ProfileService& profiles_ = systemProfileService();
};

TEST_F(FileProfileServiceTest, MissingFileReadsAsAbsent) {
    EXPECT_EQ(profiles_.findString(file_, "a", "k"), std::nullopt);
    EXPECT_EQ(profiles_.readString(file_, "a", "k", "fallback"), "fallback");
    EXPECT_EQ(profiles_.readSection(file_, "a"), std::nullopt);
}

TEST_F(FileProfileServiceTest, WriteCreatesTheFileAndKeepsOtherLines) {
    ASSERT_TRUE(profiles_.writeString(file_, "waveOut", "deviceId", "4294967295"));
    EXPECT_EQ(readFile(file_), "[waveOut]\ndeviceId=4294967295\n");

    writeFile(file_, "; mine\n[waveOut]\ndeviceId=1\nother = \"kept\"\n");
    ASSERT_TRUE(profiles_.writeString(file_, "WAVEOUT", "DeviceID", "2"));
    EXPECT_EQ(readFile(file_), "; mine\n[waveOut]\ndeviceId=2\nother = \"kept\"\n");
    EXPECT_EQ(profiles_.readString(file_, "waveout", "OTHER", ""), "kept");
}

TEST_F(FileProfileServiceTest, SectionRoundTrip) {
    writeFile(file_, "[a]\nx=1\n[b]\ny=2\n");
    ASSERT_TRUE(profiles_.writeSection(file_, "a", {"k=v", "w = u"}));
    EXPECT_EQ(profiles_.readSection(file_, "A"), (std::vector<std::string>{"k=v", "w = u"}));
    EXPECT_EQ(profiles_.readString(file_, "b", "y", ""), "2");
}

TEST_F(FileProfileServiceTest, RefusesTextThatWouldBreakTheLines) {
    const std::string before = "[a]\nx=1\n";
    writeFile(file_, before);
    EXPECT_FALSE(profiles_.writeString(file_, "a", "x", "1\n[evil]\nk=v"));
    EXPECT_FALSE(profiles_.writeString(file_, "a]", "x", "1"));
    EXPECT_FALSE(profiles_.writeString(file_, "a", "x=y", "1"));
    EXPECT_FALSE(profiles_.writeString(file_, "a", "[x", "1"));
    EXPECT_FALSE(profiles_.writeString(file_, "a", ";x", "1"));
    EXPECT_FALSE(profiles_.writeString(file_, "a", "  ", "1"));
    EXPECT_FALSE(profiles_.writeSection(file_, "a", {"k=v", "[b]"}));
    EXPECT_FALSE(profiles_.writeSection(file_, "a", {"k=v\nj=w"}));
    EXPECT_FALSE(profiles_.writeSection(file_, "a", {""}));
    EXPECT_EQ(readFile(file_), before);
}

TEST_F(FileProfileServiceTest, UnreadableFileIsNotReplaced) {
    std::filesystem::create_directory(file_);
    EXPECT_FALSE(profiles_.writeString(file_, "a", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(file_));
}

TEST_F(FileProfileServiceTest, KeepsPermissionsOfAnExistingFile) {
    writeFile(file_, "[a]\n");
    ::chmod(file_.c_str(), 0600);
    ASSERT_TRUE(profiles_.writeString(file_, "a", "k", "v"));
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(FileProfileServiceTest, WritesThroughASymbolicLink) {
    const auto target = folder_ / "real.ini";
    writeFile(target, "[a]\nx=1\n");
    std::filesystem::create_symlink(target, file_);
    ASSERT_TRUE(profiles_.writeString(file_, "a", "y", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
    EXPECT_EQ(readFile(target), "[a]\nx=1\ny=2\n");
}

TEST_F(FileProfileServiceTest, ConcurrentWritersKeepEveryKey) {
    constexpr int kThreads = 4;
    constexpr int kKeysEach = 20;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&, t] {
            // Half the writers use a service object of their own: the
            // serialisation must hold across objects on one file.
            FileProfileService own;
            ProfileService& service = (t % 2 == 0) ? profiles_ : own;
            for (int k = 0; k < kKeysEach; ++k) {
                const auto key = "t" + std::to_string(t) + "k" + std::to_string(k);
                EXPECT_TRUE(service.writeString(file_, "s" + std::to_string(k % 3), key, key));
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        for (int k = 0; k < kKeysEach; ++k) {
            const auto key = "t" + std::to_string(t) + "k" + std::to_string(k);
            EXPECT_EQ(profiles_.readString(file_, "s" + std::to_string(k % 3), key, "lost"), key);
        }
    }
}

TEST(SimulatedProfileService, FailingStoreLeavesTheTextAlone) {
    SimulatedProfileService profiles;
    profiles.setFileText("/x.ini", "[a]\nk=1\n");
    profiles.setWritesFail(true);
    EXPECT_FALSE(profiles.writeString("/x.ini", "a", "k", "2"));
    EXPECT_EQ(profiles.fileText("/x.ini"), "[a]\nk=1\n");

    profiles.setWritesFail(false);
    profiles.setReadsFail(true);
    EXPECT_FALSE(profiles.writeString("/x.ini", "a", "k", "2"));
    EXPECT_EQ(profiles.findString("/x.ini", "a", "k"), std::nullopt);

    profiles.setReadsFail(false);
    EXPECT_TRUE(profiles.writeString("/y.ini", "a", "k", "2"));
    EXPECT_EQ(profiles.fileText("/y.ini"), "[a]\nk=2\n");
}

}  // namespace
}  // namespace qv::profile
