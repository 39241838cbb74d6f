#include "dialog_fixture.h"

using namespace dialog_test;

namespace {

struct BoundsCase {
    const char* name;
    std::int32_t minimum, maximum;
    std::uint32_t readValue;  // on both channels
    int readPercent;
};

class VolumeBounds : public DialogTest, public testing::WithParamInterface<BoundsCase> {
  protected:
    void SetUp() override {
        const BoundsCase& bounds = GetParam();
        open({mixer("Card",
                    {{line("Recording", ct::waveIn, {volume(0), SimulatedControl::mux({0}, 0)}),
                      {line("Line In", ct::sourceLine,
                            {SimulatedControl::volume(bounds.minimum, bounds.maximum,
                                                      {bounds.readValue, bounds.readValue}),
                             SimulatedControl::mute(false)})}}})});
        volumeId = driver->controlId(0, 0, 0, 0);
    }
    std::uint32_t volumeId = 0;
};

TEST_P(VolumeBounds, BarShowsThePercentageAndWritesBothChannels) {
    QSlider* in = bar("c_trackBar_in");
    ASSERT_TRUE(in->isEnabled());
    EXPECT_EQ(in->value(), GetParam().readPercent);
    EXPECT_TRUE(driver->writes().empty());

    in->setValue(40);
    const std::vector<std::uint32_t> stored = driver->storedValues(0, volumeId);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], stored[1]);
    EXPECT_GE(stored[0], static_cast<std::uint32_t>(GetParam().minimum));
    EXPECT_LE(stored[0], static_cast<std::uint32_t>(GetParam().maximum));
    if (GetParam().maximum == 65535) {
        EXPECT_EQ(stored[0], 26200u);
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, VolumeBounds,
                         testing::Values(BoundsCase{"Wide", 0, 65535, 32768, 50},
                                         BoundsCase{"Narrow", 0, 50, 25, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

class LineVolumes : public DialogTest {
  protected:
    void SetUp() override {
        open({mixer(
            "Card",
            {{line("Speakers", ct::speakers, {volume(6554)}),
              {line("Wave", ct::sourceWaveOut, {volume(13107), SimulatedControl::mute(true)})}},
             {line("Recording", ct::waveIn, {volume(19661), SimulatedControl::mux({0}, 0)}),
              {line("Line In", ct::sourceLine,
                    {volume(26214), SimulatedControl::mute(false)})}}})});
    }
};

TEST_F(LineVolumes, EachBarShowsItsLineAndWritesOnlyIt) {
    struct Bar {
        const char* name;
        unsigned destination;
        int source;
        int percent;
    };
    for (const Bar& expected :
         {Bar{"c_trackBar_outMain", 0, -1, 10}, Bar{"c_trackBar_out", 0, 0, 20},
          Bar{"c_trackBar_inMain", 1, -1, 30}, Bar{"c_trackBar_in", 1, 0, 40}}) {
        SCOPED_TRACE(expected.name);
        QSlider* shown = bar(expected.name);
        ASSERT_TRUE(shown->isEnabled());
        EXPECT_EQ(shown->value(), expected.percent);
        driver->clearWrites();
        shown->setValue(100);
        ASSERT_EQ(driver->writes().size(), 2u) << "one write per channel";
        EXPECT_EQ(driver->writes()[0].controlId,
                  driver->controlId(0, expected.destination, expected.source, 0));
    }
}

TEST_F(LineVolumes, MutesAreWrittenOnClickAndFollowOtherPrograms) {
    const std::uint32_t inMuteId = driver->controlId(0, 1, 0, 1);
    QCheckBox* inMute = box("c_checkBox_inMute");
    QCheckBox* outMute = box("c_checkBox_outMute");
    ASSERT_TRUE(inMute->isEnabled());
    EXPECT_FALSE(inMute->isChecked());
    EXPECT_TRUE(outMute->isChecked());

    inMute->click();
    EXPECT_EQ(driver->storedValues(0, inMuteId), std::vector<std::uint32_t>{1});
    driver->clearWrites();

    driver->changeFromOutside(0, inMuteId, {0});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inMute->isChecked(); }, 10000));
    EXPECT_TRUE(inMute->isEnabled());
    driver->changeFromOutside(0, driver->controlId(0, 1, 0, 0), {0, 0});
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar("c_trackBar_in")->value() == 0; }, 10000));
    EXPECT_TRUE(driver->writes().empty()) << "shown values are not written back";
}

}  // namespace
