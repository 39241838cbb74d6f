#include <QAction>
#include <QApplication>
#include <QLabel>

#include "app/main_window/format_choice_dialog.h"
#include "main_window_fixture.h"

namespace {

class FormatChoice : public MainWindowTest {
  protected:
    FormatChoice() {
        platform::SimulatedDeviceConfig radio;
        radio.name = "Radio";
        radio.rates = {22050, 44100};
        driver_->addDevice(platform::WaveDirection::capture, radio);
        addDevices(platform::WaveDirection::playback, 1);
    }

    // Runs `answer` on the format dialog as soon as it shows.
    void onDialog(std::function<void(FormatChoiceDialog&)> answer) {
        QTimer::singleShot(0, [answer = std::move(answer)] {
            auto* dialog = qobject_cast<FormatChoiceDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }
};

TEST_F(FormatChoice, QueryOpensListTheFormatsTheDeviceAccepts) {
    const auto formats = acceptedFormats(*driver_, platform::WaveDirection::capture, 0);
    ASSERT_EQ(formats.size(), 8u);  // two rates x two widths x two channel counts
    EXPECT_EQ(formats.front(), (PcmSampling{22050, 8, 1}));
    EXPECT_EQ(formats.back(), (PcmSampling{44100, 16, 2}));
    EXPECT_TRUE(acceptedFormats(*driver_, platform::WaveDirection::capture, 5).empty());
}

TEST_F(FormatChoice, ChosenRecordingFormatIsApplied) {
    createWindow();
    const QString before = child<QLabel>("c_staticText_inFormat")->text();
    QString title;
    PcmSampling openedOn;
    onDialog([&](FormatChoiceDialog& dialog) {
        title = dialog.windowTitle();
        openedOn = dialog.selected();
        dialog.selectIndex(0);
        dialog.accept();
    });
    child<QAction>("ac_chooseIn")->trigger();
    EXPECT_EQ(title, QStringLiteral("Choose recording format"));
    EXPECT_EQ(openedOn, (PcmSampling{44100, 16, 2}));
    EXPECT_EQ(window().session().config().captureSampling, (PcmSampling{22050, 8, 1}));
    EXPECT_NE(child<QLabel>("c_staticText_inFormat")->text(), before);
}

TEST_F(FormatChoice, CancelledChoiceChangesNothing) {
    createWindow();
    onDialog([](FormatChoiceDialog& dialog) {
        dialog.selectIndex(0);
        dialog.reject();
    });
    child<QAction>("ac_chooseOut")->trigger();
    EXPECT_EQ(window().session().config().playbackSampling, (PcmSampling{44100, 16, 2}));
}

}  // namespace
