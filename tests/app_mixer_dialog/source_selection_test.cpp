#include "dialog_fixture.h"

using namespace dialog_test;

namespace {

// Recording destination 1 with its volume first; platform sources 0 "Line In"
// and 1 "Mic" (listed as "Mic", "Line In"), chosen through `selector`.
SimulatedMixer recordingCard(SimulatedControl selector) {
    return mixer("Card", {destination(line("Speakers", ct::speakers)),
                          {line("Recording", ct::waveIn, {volume(0), std::move(selector)}),
                           {line("Line In", ct::sourceLine, {volume(655)}),
                            line("Mic", ct::sourceMicrophone, {volume(655)})}}});
}

struct SelectorCase {
    const char* name;
    SimulatedControl selector;
    // Stored selector values (items "Line In", "Mic") after choosing "Mic".
    std::vector<std::uint32_t> afterChoosingMic;
};

class SourceSelection : public DialogTest, public testing::WithParamInterface<SelectorCase> {};

TEST_P(SourceSelection, ListShowsTheRecordedLineAndChoosingSwitchesTheSelector) {
    open({recordingCard(GetParam().selector)});
    const std::uint32_t selectorId = driver->controlId(0, 1, -1, 1);
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Line In");
    EXPECT_TRUE(driver->writes().empty()) << "showing the recorded line writes nothing";

    choose("c_comboBox_inConn", "Mic");
    EXPECT_EQ(driver->storedValues(0, selectorId), GetParam().afterChoosingMic);
    ASSERT_EQ(driver->writes().size(), 1u);
    EXPECT_EQ(driver->writes()[0].controlId, selectorId);

    // The notification of the dialog's own write keeps the user's choice.
    settleNotifications(1, 50);
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Mic");
    EXPECT_EQ(dialog->recordingSource(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, SourceSelection,
    testing::Values(SelectorCase{"Mux", SimulatedControl::mux({0, 1}, 0), {0, 1}},
                    SelectorCase{
                        "MixerType", SimulatedControl::mixerList({0, 1}, {true, false}), {1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

using ChangeFromAnotherProgram = DialogTest;

TEST_F(ChangeFromAnotherProgram, MovesTheListAndTheBarWithoutWritingBack) {
    open({recordingCard(SimulatedControl::mux({0, 1}, 0))});
    ASSERT_EQ(list("c_comboBox_inConn")->currentText(), "Line In");
    ASSERT_EQ(bar("c_trackBar_in")->value(), 1);

    // Another program records the microphone instead.
    driver->changeFromOutside(0, driver->controlId(0, 1, -1, 1), {0, 1});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list("c_comboBox_inConn")->currentText() == "Mic"; }, 10000));
    EXPECT_EQ(dialog->recordingSource(), 0);

    // ... and moves the microphone's volume.
    driver->changeFromOutside(0, driver->controlId(0, 1, 1, 0), {26214, 26214});
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar("c_trackBar_in")->value() == 40; }, 10000));
    EXPECT_TRUE(driver->writes().empty());
}

using ForceToMicrophone = DialogTest;

TEST_F(ForceToMicrophone, ChoosesTheMicrophoneWithTheMostControls) {
    const std::vector<SimulatedControl> two{volume(0), SimulatedControl::mute(false)};
    const std::vector<SimulatedControl> four{volume(0), SimulatedControl::mute(false),
                                             SimulatedControl::other("Boost"),
                                             SimulatedControl::other("Gain")};
    open(
        {mixer("Card", {{line("Recording", ct::waveIn, {SimulatedControl::mux({0, 1, 2}, 0)}),
                         {line("Line In", ct::sourceLine), line("Mic 2", ct::sourceMicrophone, two),
                          line("Mic 4", ct::sourceMicrophone, four)}}})});
    QCheckBox* force = box("c_checkBox_micForce");
    ASSERT_TRUE(force->isEnabled()) << "the recording line has a microphone";
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Line In");

    force->click();
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Mic 4");
    EXPECT_EQ(driver->storedValues(0, driver->controlId(0, 0, -1, 0)),
              (std::vector<std::uint32_t>{0, 0, 1}));

    // Unforced, the list shows the mixer's source again, which is still "Mic 4".
    force->click();
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Mic 4");
}

TEST_F(ForceToMicrophone, IsOffWithoutAMicrophoneLine) {
    open({mixer("Card", {{line("Recording", ct::waveIn, {SimulatedControl::mux({0}, 0)}),
                          {line("Line In", ct::sourceLine)}}})});
    EXPECT_FALSE(box("c_checkBox_micForce")->isEnabled());
    EXPECT_EQ(list("c_comboBox_inConn")->currentText(), "Line In");
}

}  // namespace
