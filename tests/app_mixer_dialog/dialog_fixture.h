#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/mixer_dialog/mixer_dialog.h"
#include "audio/wave/wave_in_device.h"
#include "platform/mixer/simulated_mixer.h"
#include "platform/wave/simulated_wave_driver.h"

namespace dialog_test {

using qv::platform::SimulatedControl;
using qv::platform::SimulatedDestination;
using qv::platform::SimulatedLine;
using qv::platform::SimulatedMixer;
using qv::platform::SimulatedMixerDriver;
namespace ct = qv::platform::component_type;

using qv::platform::simulated::destination;
using qv::platform::simulated::line;
using qv::platform::simulated::mixer;

inline SimulatedControl volume(std::uint32_t value) {
    return SimulatedControl::volume(0, 65535, {value, value});
}

// A mixer and a capture device of the same card, the dialog over them, and
// what it reports and starts instead of message boxes and programs.
class DialogTest : public testing::Test {
  protected:
    // captureMixerIds: the mixer identifier of each capture device.
    void open(std::vector<SimulatedMixer> mixers,
              std::vector<std::optional<unsigned>> captureMixerIds = {0},
              platform::SimulatedDeviceConfig capture = {}) {
        for (std::size_t i = 0; i < captureMixerIds.size(); ++i) {
            waveDriver->addDevice(platform::WaveDirection::capture, capture);
        }
        driver =
            std::make_shared<SimulatedMixerDriver>(std::move(mixers), std::move(captureMixerIds));
        dialog = std::make_unique<Tc_form_main>(driver);
        dialog->setErrorReporter([this](const QString& message) { errors.push_back(message); });
        dialog->setProgramStarter([this](const QString& program, const QStringList& arguments) {
            started.push_back(QStringList{program} + arguments);
            return true;
        });
    }

    template <typename Widget>
    Widget* find(const char* name) const {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* list(const char* name) const { return find<QComboBox>(name); }
    QSlider* bar(const char* name) const { return find<QSlider>(name); }
    QCheckBox* box(const char* name) const { return find<QCheckBox>(name); }
    QLabel* label(const char* name) const { return find<QLabel>(name); }
    QAction* action(const char* name) const { return find<QAction>(name); }

    // The user picks the entry with that text.
    void choose(const char* listName, const QString& entry) {
        QComboBox* chosen = list(listName);
        const int index = chosen->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        chosen->setCurrentIndex(index);
    }

    // Waits until the dialog has handled every change notification sent so far:
    // another program moves the recording destination's volume to `percent`.
    void settleNotifications(unsigned destination, int percent) {
        const auto value = static_cast<std::uint32_t>(65535 * percent / 100 + 1);
        driver->changeFromOutside(0, driver->controlId(0, destination, -1, 0), {value, value});
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return bar("c_trackBar_inMain")->value() == percent; }, 10000));
    }

    std::shared_ptr<platform::SimulatedWaveDriver> waveDriver =
        std::make_shared<platform::SimulatedWaveDriver>();
    platform::ScopedWaveDriver scopedWave{waveDriver};
    std::shared_ptr<SimulatedMixerDriver> driver;
    std::vector<QString> errors;
    std::vector<QStringList> started;
    std::unique_ptr<Tc_form_main> dialog;
};

}  // namespace dialog_test
