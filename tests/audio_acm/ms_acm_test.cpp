#include <gtest/gtest.h>

#include "audio/acm/ms_acm.h"
#include "platform/codecs/simulated_codec_manager.h"

namespace {

TEST(unaMsAcm, SystemListOnLinuxIsEmptyAndLivesAndDiesQuietly) {
    unaMsAcm acm;
    EXPECT_EQ(acm.enumDrivers(0), 0u);
    EXPECT_EQ(acm.getDriverCount(), 0u);
    EXPECT_EQ(acm.getDriver(0), nullptr);
}

TEST(unaMsAcm, ReadsTheVersionAtConstruction) {
    SimulatedCodecManager codecs(0x03320000u);
    const unaMsAcm acm(codecs);
    EXPECT_EQ(acm.getVersion(), 0x03320000u);
    EXPECT_EQ(acm.getDriverCount(), 0u);  // nothing listed before enumDrivers
}

class unaMsAcmEnumeration : public ::testing::Test {
  protected:
    void SetUp() override {
        codecs.addDriver({.id = 0x100, .supportFlags = 0x0C, .maxFormatSize = 50});
        codecs.addDriver({.id = 0x200, .supportFlags = 0x01, .maxFormatSize = std::nullopt});
        codecs.addDriver(
            {.id = 0x300, .supportFlags = 0x10, .maxFormatSize = 20, .enabled = false});
    }
    SimulatedCodecManager codecs;
    unaMsAcm acm{codecs};
};

TEST_F(unaMsAcmEnumeration, ListsEachDriverWithItsIdFlagsAndFormatSize) {
    EXPECT_EQ(acm.enumDrivers(0), 0u);
    EXPECT_EQ(codecs.lastEnumFlags(), 0u);
    ASSERT_EQ(acm.getDriverCount(), 2u);

    const unaMsAcmDriver* first = acm.getDriver(0);
    EXPECT_EQ(&first->getOwner(), &acm);
    EXPECT_EQ(first->getDriverId(), 0x100u);
    EXPECT_EQ(first->getSupportFlags(), 0x0Cu);
    EXPECT_EQ(first->getMaxFormatSize(), 50u);

    // Metrics failing for a driver still list it, with size 0.
    const unaMsAcmDriver* second = acm.getDriver(1);
    EXPECT_EQ(second->getDriverId(), 0x200u);
    EXPECT_EQ(second->getMaxFormatSize(), 0u);

    EXPECT_EQ(acm.getDriver(2), nullptr);
}

TEST_F(unaMsAcmEnumeration, PassesItsFlagsOn) {
    acm.enumDrivers(codecEnumDisabled);
    EXPECT_EQ(codecs.lastEnumFlags(), codecEnumDisabled);
    ASSERT_EQ(acm.getDriverCount(), 3u);
    EXPECT_EQ(acm.getDriver(2)->getMaxFormatSize(), 20u);
}

TEST_F(unaMsAcmEnumeration, EnumeratingAgainReplacesTheList) {
    acm.enumDrivers(codecEnumDisabled);
    acm.enumDrivers(0);
    EXPECT_EQ(acm.getDriverCount(), 2u);
}

TEST_F(unaMsAcmEnumeration, HandsOnTheManagersResultCode) {
    codecs.setEnumResult(11);
    EXPECT_EQ(acm.enumDrivers(0), 11u);
}

}  // namespace
