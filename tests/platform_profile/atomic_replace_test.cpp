#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "platform/profile/document_profile_service.h"
#include "platform/profile/file_text_io.h"
#include "temp_folder.h"

namespace qv::profile {
namespace {

enum class Fault { none, rename, sync, shortWrite, dieMidWrite };

// Makes one step of the replacement fail, or ends the process in the middle
// of writing, as a kill would.
class FaultyReplacer : public AtomicFileReplacer {
  public:
    explicit FaultyReplacer(Fault fault) : fault_(fault) {}

  protected:
    long writeSome(int fd, const char* data, std::size_t size) override {
        if (fault_ == Fault::shortWrite && size > 1) {
            AtomicFileReplacer::writeSome(fd, data, size / 2);
            errno = ENOSPC;
            return -1;
        }
        if (fault_ == Fault::dieMidWrite) {
            AtomicFileReplacer::writeSome(fd, data, size / 2);
            ::_exit(3);
        }
        return AtomicFileReplacer::writeSome(fd, data, size);
    }
    int syncFile(int fd) override {
        if (fault_ == Fault::sync) {
            errno = EIO;
            return -1;
        }
        return AtomicFileReplacer::syncFile(fd);
    }
    int renameFile(const char* from, const char* to) override {
        if (fault_ == Fault::rename) {
            errno = EXDEV;
            return -1;
        }
        return AtomicFileReplacer::renameFile(from, to);
    }

  private:
    Fault fault_;
};

std::size_t filesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

const std::string kOriginal = "; keep me\n[a]\nx=1\n";

class AtomicReplaceFault : public ::testing::TestWithParam<Fault> {};

TEST_P(AtomicReplaceFault, OriginalSurvivesAndNoTemporaryStays) {
    TempFolder folder;
    const auto file = folder / "settings.ini";
    writeFile(file, kOriginal);
    FileProfileService profiles(std::make_unique<FaultyReplacer>(GetParam()));

    EXPECT_FALSE(profiles.writeString(file, "a", "y", std::string(10000, 'v')));
    EXPECT_EQ(readFile(file), kOriginal);
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, AtomicReplaceFault,
                         ::testing::Values(Fault::rename, Fault::sync, Fault::shortWrite));

// The child of the death test writes into this test's folder, so it must be forked
// (the default style), not started afresh.
TEST(AtomicReplace, KillMidWriteLeavesTheOriginalWhole) {
    TempFolder folder;
    const auto file = folder / "settings.ini";
    writeFile(file, kOriginal);

    EXPECT_EXIT(
        {
            FileProfileService profiles(std::make_unique<FaultyReplacer>(Fault::dieMidWrite));
            profiles.writeString(file, "a", "y", std::string(10000, 'v'));
        },
        ::testing::ExitedWithCode(3), "");

    EXPECT_EQ(readFile(file), kOriginal);
    // The dead writer's temporary file is still there; the next write must not mind it.
    EXPECT_EQ(filesIn(folder.path()), 2u);
    FileProfileService profiles;
    ASSERT_TRUE(profiles.writeString(file, "a", "y", "2"));
    EXPECT_EQ(readFile(file), kOriginal + "y=2\n");
}

TEST(AtomicReplace, FailsInAMissingFolder) {
    TempFolder folder;
    AtomicFileReplacer replacer;
    EXPECT_FALSE(replacer.replace(folder / "absent" / "settings.ini", "x"));
}

}  // namespace
}  // namespace qv::profile
