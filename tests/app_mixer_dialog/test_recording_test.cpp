#include "dialog_fixture.h"

#include "app/mixer_dialog/system_mixer_command.h"
#include "audio/wave/wave_in_device.h"

using namespace dialog_test;

namespace {

// The same level all the time: 3200 on the left, 320 on the right.
class SteadySignal : public platform::CaptureSignal {
  public:
    std::int16_t sample(std::uint64_t, unsigned channel, std::uint32_t) const override {
        return channel == 0 ? 3200 : -320;
    }
};

SimulatedMixer recordingCard() {
    return mixer("Card", {{line("Recording", ct::waveIn, {SimulatedControl::mux({0}, 0)}),
                           {line("Line In", ct::sourceLine)}}});
}

using TestRecording = DialogTest;

TEST_F(TestRecording, MetersShowTheLevelsUntilStopped) {
    platform::SimulatedDeviceConfig input;
    input.signal = std::make_shared<SteadySignal>();
    open({recordingCard()}, {0}, input);
    dialog->show();
    auto* left = find<QProgressBar>("c_progressBar_left");
    auto* right = find<QProgressBar>("c_progressBar_right");

    find<QPushButton>("c_button_recStart")->click();
    ASSERT_TRUE(dialog->testDevice().isOpen());
    EXPECT_FALSE(action("a_record")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("c_button_recStop")->isEnabled());
    // levelToLog: 100 × log10(level / 32).
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return left->value() == 200 && right->value() == 100; }, 10000))
        << left->value() << " " << right->value();

    find<QPushButton>("c_button_recStop")->click();
    EXPECT_FALSE(dialog->testDevice().isOpen());
    EXPECT_TRUE(action("a_record")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return left->value() == 0 && right->value() == 0; }, 10000));
    EXPECT_TRUE(errors.empty());
}

TEST_F(TestRecording, ClosingTheDialogStopsTheTest) {
    open({recordingCard()});
    dialog->show();
    action("a_record")->trigger();
    ASSERT_TRUE(dialog->testDevice().isOpen());
    dialog->close();
    EXPECT_FALSE(dialog->testDevice().isOpen());
}

TEST_F(TestRecording, AnInputThatDoesNotOpenIsReportedAndChangesNothing) {
    platform::SimulatedDeviceConfig busy;
    busy.openResult = platform::MMSYSERR_ALLOCATED;
    open({recordingCard()}, {0}, busy);
    action("a_record")->trigger();
    ASSERT_EQ(errors.size(), 1u);
    const QString expected =
        "Unable to open waveIn device, error text: \r\n" +
        QString::fromStdString(dialog->testDevice().getErrorText(platform::MMSYSERR_ALLOCATED));
    EXPECT_EQ(errors[0], expected);
    EXPECT_FALSE(dialog->testDevice().isOpen());
    EXPECT_TRUE(action("a_record")->isEnabled());
    EXPECT_FALSE(action("a_stop")->isEnabled());
}

struct CommandCase {
    const char* name;
    QStringList installed;
    QStringList expected;  // program and arguments; empty: nothing starts
};

class SystemMixerProgram : public testing::TestWithParam<CommandCase> {};

TEST_P(SystemMixerProgram, OpensTheDesktopMixerOnItsRecordingSide) {
    const QStringList installed = GetParam().installed;
    const auto command = chooseSystemMixerCommand([&](const QString& name) {
        return installed.contains(name) ? "/usr/bin/" + name : QString();
    });
    if (GetParam().expected.isEmpty()) {
        EXPECT_FALSE(command.has_value());
        return;
    }
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(QStringList{command->program} + command->arguments, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, SystemMixerProgram,
    testing::Values(CommandCase{"Pavucontrol",
                                {"pavucontrol", "alsamixer", "xterm"},
                                {"/usr/bin/pavucontrol", "--tab=4"}},
                    CommandCase{"TerminalEmulator",
                                {"alsamixer", "x-terminal-emulator", "xterm"},
                                {"/usr/bin/x-terminal-emulator", "-e", "/usr/bin/alsamixer", "-V",
                                 "capture"}},
                    CommandCase{"Xterm",
                                {"alsamixer", "xterm"},
                                {"/usr/bin/xterm", "-e", "/usr/bin/alsamixer", "-V", "capture"}},
                    CommandCase{"NoTerminal", {"alsamixer"}, {}}, CommandCase{"Nothing", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

using MixerImage = DialogTest;

TEST_F(MixerImage, ClickStartsTheSystemMixerProgram) {
    open({});
    dialog->setExecutableFinder(
        [](const QString& name) { return name == "pavucontrol" ? "/bin/pavucontrol" : QString(); });
    auto* image = find<QLabel>("ImageMixer");
    EXPECT_EQ(image->pixmap().size(), QSize(39, 51));
    QTest::mouseClick(image, Qt::LeftButton);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (QStringList{"/bin/pavucontrol", "--tab=4"}));
}

}  // namespace
