#include "audio/format/format_chooser.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex installedChooserMutex;
std::shared_ptr<FormatChooser> installedChooser;

// A fresh record for a dialog that must open on something: as large as the
// biggest format any codec may answer, so the dialog can write it back, and
// never smaller than the size the dialog is told it may write.
FormatPtr makeStartingRecord(const FormatChoiceOptions& options, const CodecManager& codecs,
                             std::uint32_t& bytes) {
    bytes =
        std::max({maxFormatSize(allCodecDrivers, codecs), extendedFormatHeaderSize, options.size});
    FormatPtr record = allocateFormat(bytes);
    if (record) {
        buildPcmFormat(*record, options.defaultRate, 16, 2);
        record->cbSize = static_cast<std::uint16_t>(
            std::min<std::uint32_t>(bytes - extendedFormatHeaderSize, 0xFFFF));
        record->wFormatTag = options.defaultTag;
    }
    return record;
}

// Whether a record the dialog wrote lies within the buffer it was given.
bool fitsBuffer(const WAVEFORMATEX& record, std::uint32_t bufferSize) {
    if (bufferSize < pcmFormatSize) {
        return false;
    }
    if (record.wFormatTag == WAVE_FORMAT_PCM) {
        return true;
    }
    return bufferSize >= extendedFormatHeaderSize && formatSize(record) <= bufferSize;
}

}  // namespace

MMRESULT chooseFormatDialog(FormatChooser& chooser, FormatPtr& format,
                            const FormatChoiceOptions& options, const CodecManager& codecs) {
    std::uint32_t bufferSize = 0;
    if (format) {
        bufferSize = formatSize(*format);
    } else if ((options.style & formatChooseInitFromRecord) != 0) {
        format = makeStartingRecord(options, codecs, bufferSize);
        if (!format) {
            return mmresult::noMemory;
        }
    } else {
        return mmresult::invalidParam;  // nowhere to put the choice
    }
    if (options.size != 0) {
        bufferSize = options.size;
    }

    FormatChooseRequest request;
    request.style = options.style;
    request.owner = options.owner;
    request.format = format.get();
    request.formatBufferSize = bufferSize;
    request.title = options.title;
    request.enumFlags = options.enumFlags;
    request.enumRestriction = options.enumRestriction;

    const MMRESULT result = chooser.choose(request);
    if (mmNoError(result) && !fitsBuffer(*format, bufferSize)) {
        return mmresult::acmNotPossible;
    }
    return result;
}

MMRESULT chooseFormatDialog(FormatPtr& format, const FormatChoiceOptions& options) {
    const std::shared_ptr<FormatChooser> chooser = installedFormatChooser();
    if (!chooser) {
        return mmresult::notSupported;
    }
    return chooseFormatDialog(*chooser, format, options);
}

void installFormatChooser(std::shared_ptr<FormatChooser> chooser) {
    const std::lock_guard lock(installedChooserMutex);
    installedChooser = std::move(chooser);
}

std::shared_ptr<FormatChooser> installedFormatChooser() {
    const std::lock_guard lock(installedChooserMutex);
    return installedChooser;
}
