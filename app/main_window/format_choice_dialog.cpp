#include "app/main_window/format_choice_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <cstring>

#include "audio/format/format_text.h"
#include "audio/format/mm_result.h"

namespace {

constexpr std::array<int, 8> kCommonRates = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 96000};
constexpr std::array<int, 2> kWidths = {8, 16};
constexpr std::array<int, 2> kChannelCounts = {1, 2};

bool sameSampling(const PcmSampling& a, const PcmSampling& b) {
    return a.samplesPerSec == b.samplesPerSec && a.bitsPerSample == b.bitsPerSample &&
           a.channels == b.channels;
}

}  // namespace

std::vector<PcmSampling> acceptedFormats(platform::WaveDriver& driver,
                                         platform::WaveDirection direction, int deviceId) {
    std::vector<PcmSampling> accepted;
    for (const int rate : kCommonRates) {
        for (const int bits : kWidths) {
            for (const int channels : kChannelCounts) {
                platform::WaveFormat format;
                format.samplesPerSec = std::uint32_t(rate);
                format.bitsPerSample = std::uint16_t(bits);
                format.channels = std::uint16_t(channels);
                std::unique_ptr<platform::WaveStream> none;
                const platform::WaveOpenRequest query(direction, deviceId, format,
                                                      platform::WAVE_FORMAT_QUERY);
                if (driver.open(query, none) == platform::MMSYSERR_NOERROR) {
                    accepted.push_back(PcmSampling{rate, bits, channels});
                }
            }
        }
    }
    return accepted;
}

FormatChoiceDialog::FormatChoiceDialog(const QString& title, std::vector<PcmSampling> formats,
                                       const PcmSampling& current, QWidget* parent)
    : QDialog(parent), formats_(std::move(formats)) {
    setObjectName(QStringLiteral("FormatChoiceDialog"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("formatList"));
    int currentIndex = 0;
    for (size_t i = 0; i < formats_.size(); ++i) {
        const PcmSampling& f = formats_[i];
        list_->addItem(QString::fromStdString(samplingToText(std::uint32_t(f.samplesPerSec),
                                                             std::uint32_t(f.bitsPerSample),
                                                             std::uint32_t(f.channels))));
        if (sameSampling(f, current)) {
            currentIndex = int(i);
        }
    }
    list_->setCurrentIndex(formats_.empty() ? -1 : currentIndex);
    layout->addWidget(list_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!formats_.empty());
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int FormatChoiceDialog::selectedIndex() const {
    return list_->currentIndex();
}

void FormatChoiceDialog::selectIndex(int index) {
    list_->setCurrentIndex(index);
}

PcmSampling FormatChoiceDialog::selected() const {
    const int index = selectedIndex();
    return index >= 0 && size_t(index) < formats_.size() ? formats_[size_t(index)] : PcmSampling{};
}

MMRESULT QtFormatChooser::choose(FormatChooseRequest& request) {
    if (request.format == nullptr || request.formatBufferSize < pcmFormatSize) {
        return mmresult::invalidParam;
    }
    const auto direction = (request.enumFlags & formatEnumInput) != 0
                               ? platform::WaveDirection::capture
                               : platform::WaveDirection::playback;
    const int deviceId = deviceOfSide_ ? deviceOfSide_(direction) : platform::WAVE_MAPPER;
    const PcmSampling current = (request.style & formatChooseInitFromRecord) != 0
                                    ? samplingOf(*request.format)
                                    : PcmSampling{44100, 16, 2};

    FormatChoiceDialog dialog(QString::fromStdString(request.title),
                              acceptedFormats(*platform::waveDriver(), direction, deviceId),
                              current, parent_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedIndex() < 0) {
        return mmresult::acmCanceled;
    }
    // A PCM record is 16 bytes; whatever follows in the caller's buffer stays as it was.
    WAVEFORMATEX chosen{};
    buildPcmFormat(chosen, dialog.selected());
    std::memcpy(request.format, &chosen, pcmFormatSize);
    return mmresult::noError;
}
