#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/format/mm_result.h"
#include "audio/format/wave_format.h"
#include "platform/codecs/codec_manager.h"

// The format-choice dialog, seen from the audio side. The dialog itself is a
// window of the program; it plugs in through FormatChooser so that nothing
// here depends on the user-interface toolkit.

// Style: the dialog opens on the record it is given.
inline constexpr std::uint32_t formatChooseInitFromRecord = 0x40;
// Enumeration flags: which formats the dialog lists.
inline constexpr std::uint32_t formatEnumHardware = 0x00400000;  // the device supports them
inline constexpr std::uint32_t formatEnumInput = 0x00800000;     // recording formats
inline constexpr std::uint32_t formatEnumOutput = 0x01000000;    // playback formats

// What the dialog is handed.
struct FormatChooseRequest {
    std::uint32_t style = 0;
    void* owner = nullptr;  // owner window, opaque to the audio side
    // In: the record to start from (with formatChooseInitFromRecord).
    // Out: the chosen format, at most formatBufferSize bytes of it.
    WAVEFORMATEX* format = nullptr;
    std::uint32_t formatBufferSize = 0;
    std::string title;  // empty: no title
    std::uint32_t enumFlags = 0;
    const WAVEFORMATEX* enumRestriction =
        nullptr;  // formats must match this one where enumFlags say
};

class FormatChooser {
  public:
    virtual ~FormatChooser() = default;

    // Runs the dialog modally on the calling (window) thread. Answers 0 when
    // the user accepted a format and it was written to request.format,
    // mmresult::acmCanceled when the user cancelled, or another result code.
    virtual MMRESULT choose(FormatChooseRequest& request) = 0;
};

// What chooseFormatDialog needs besides the record. Defaults are the devices'.
struct FormatChoiceOptions {
    std::uint16_t defaultTag = WAVE_FORMAT_PCM;
    std::uint32_t defaultRate = 44100;
    std::string title;
    std::uint32_t style = 0;
    std::uint32_t enumFlags = 0;
    const WAVEFORMATEX* enumRestriction = nullptr;
    std::uint32_t size = 0;  // bytes the dialog may write; 0: the record's own size
    void* owner = nullptr;
};

// Lets the user choose a format through `chooser` and returns its result.
// `format` is the record to start from and to fill. Without a record and with
// formatChooseInitFromRecord in the style, a zero-filled record of the
// codecs' largest format size (at least 18 bytes) is made, set to
// `defaultTag` at `defaultRate`, 16 bits, stereo, and handed back through
// `format`, whatever the outcome. Without a record otherwise the answer is
// mmresult::invalidParam. A chooser that reports success with a record larger
// than the buffer it was given gets mmresult::acmNotPossible.
MMRESULT chooseFormatDialog(FormatChooser& chooser, FormatPtr& format,
                            const FormatChoiceOptions& options,
                            const CodecManager& codecs = systemCodecManager());

// The same through the program's installed chooser; mmresult::notSupported
// while none is installed. Safe to call from any thread, but a real dialog
// wants the window thread.
MMRESULT chooseFormatDialog(FormatPtr& format, const FormatChoiceOptions& options);

// The program installs its dialog at start-up; an empty pointer removes it.
void installFormatChooser(std::shared_ptr<FormatChooser> chooser);
std::shared_ptr<FormatChooser> installedFormatChooser();
