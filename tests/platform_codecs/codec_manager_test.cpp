#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/codecs/linux_codec_manager.h"
#include "platform/codecs/simulated_codec_manager.h"

namespace {

using Visit = std::pair<CodecDriverId, std::uint32_t>;

std::vector<Visit> visitAll(const CodecManager& codecs, std::uint32_t flags) {
    std::vector<Visit> seen;
    codecs.enumDrivers(flags, [&seen](CodecDriverId id, std::uint32_t support) {
        seen.emplace_back(id, support);
        return true;
    });
    return seen;
}

TEST(LinuxCodecManager, HasNoDriversNoVersionAndNoMetrics) {
    const CodecManager& codecs = systemCodecManager();
    EXPECT_EQ(codecs.version(), 0u);
    EXPECT_TRUE(visitAll(codecs, 0).empty());
    EXPECT_EQ(codecs.enumDrivers(0, [](CodecDriverId, std::uint32_t) { return true; }), 0u);
    EXPECT_FALSE(codecs.maxFormatSize(allCodecDrivers).has_value());
}

class SimulatedCodecManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        codecs.addDriver({.id = 11, .supportFlags = 0x1, .maxFormatSize = 50});
        codecs.addDriver({.id = 12, .supportFlags = 0x2, .maxFormatSize = std::nullopt});
        codecs.addDriver({.id = 13, .supportFlags = 0x4, .maxFormatSize = 90, .enabled = false});
        codecs.addDriver({.id = 14, .supportFlags = 0x8, .maxFormatSize = 70});
    }
    SimulatedCodecManager codecs{0x04020000u};
};

TEST_F(SimulatedCodecManagerTest, ListsEnabledDriversUnlessAskedForDisabledOnes) {
    EXPECT_EQ(codecs.version(), 0x04020000u);
    EXPECT_EQ(visitAll(codecs, 0), (std::vector<Visit>{{11, 0x1}, {12, 0x2}, {14, 0x8}}));
    EXPECT_EQ(visitAll(codecs, codecEnumDisabled),
              (std::vector<Visit>{{11, 0x1}, {12, 0x2}, {13, 0x4}, {14, 0x8}}));
    EXPECT_EQ(codecs.lastEnumFlags(), codecEnumDisabled);
}

TEST_F(SimulatedCodecManagerTest, VisitorEndsTheEnumerationByAnsweringFalse) {
    int visits = 0;
    codecs.enumDrivers(0, [&visits](CodecDriverId, std::uint32_t) { return ++visits < 2; });
    EXPECT_EQ(visits, 2);
}

TEST_F(SimulatedCodecManagerTest, MaxFormatSizePerDriverAndOverEnabledDrivers) {
    EXPECT_EQ(codecs.maxFormatSize(11), 50u);
    EXPECT_FALSE(codecs.maxFormatSize(12).has_value());
    EXPECT_FALSE(codecs.maxFormatSize(99).has_value());
    EXPECT_EQ(codecs.maxFormatSize(allCodecDrivers), 70u);  // 13 is disabled
}

TEST(SimulatedCodecManager, EmptyListAnswersNoMaxFormatSizeAndPassesTheEnumResult) {
    SimulatedCodecManager codecs;
    codecs.setEnumResult(7);
    EXPECT_FALSE(codecs.maxFormatSize(allCodecDrivers).has_value());
    EXPECT_EQ(codecs.enumDrivers(0, [](CodecDriverId, std::uint32_t) { return true; }), 7u);
}

}  // namespace
