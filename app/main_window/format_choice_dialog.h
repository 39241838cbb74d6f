#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "audio/format/format_chooser.h"
#include "platform/wave/wave_driver.h"

class QComboBox;
class QDialogButtonBox;

// The PCM formats (common rates x 8/16 bits x mono/stereo) that a device
// accepts, found with query opens of the waveform-audio layer.
std::vector<PcmSampling> acceptedFormats(platform::WaveDriver& driver,
                                         platform::WaveDirection direction, int deviceId);

// The format-choice dialog: one list of the accepted formats, opened on the
// current one.
class FormatChoiceDialog : public QDialog {
    Q_OBJECT

  public:
    FormatChoiceDialog(const QString& title, std::vector<PcmSampling> formats,
                       const PcmSampling& current, QWidget* parent = nullptr);

    const std::vector<PcmSampling>& formats() const { return formats_; }
    int selectedIndex() const;
    void selectIndex(int index);
    PcmSampling selected() const;

  private:
    std::vector<PcmSampling> formats_;
    QComboBox* list_;
    QDialogButtonBox* buttons_;
};

// Plugs the dialog into the devices' chooseFormat. The dialog asks the
// currently selected device of the side the request is for.
class QtFormatChooser : public FormatChooser {
  public:
    // The device index (-1: mapper) the user selected for a side.
    using DeviceOfSide = std::function<int(platform::WaveDirection)>;

    QtFormatChooser(QWidget* parent, DeviceOfSide deviceOfSide)
        : parent_(parent), deviceOfSide_(std::move(deviceOfSide)) {}

    MMRESULT choose(FormatChooseRequest& request) override;

  private:
    QWidget* parent_;
    DeviceOfSide deviceOfSide_;
};
