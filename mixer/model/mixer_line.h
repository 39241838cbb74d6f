#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mixer/model/mixer_control.h"
#include "mixer/model/mixer_object.h"
#include "platform/mixer/mixer_types.h"

class unaMsMixerDevice;

// A destination line of a mixer, or a source line feeding one. A destination
// keeps its sources in reverse order of their source index (position 0 holds
// the last one), at most 128 of them.
class unaMsMixerLine : public unaMsMixerObject {
  public:
    static constexpr std::uint32_t kMaxSources = 128;

    unaMsMixerLine(unaMsMixerDevice& device, unsigned sourceIndex, bool isSource,
                   unsigned destinationIndex);
    unaMsMixerLine(const unaMsMixerLine&) = delete;
    unaMsMixerLine& operator=(const unaMsMixerLine&) = delete;

    const qv::platform::MixerLineInfo& record() const { return record_; }
    unaMsMixerDevice& device() const { return device_; }

    unsigned getSourceLineCount() const { return static_cast<unsigned>(sources_.size()); }
    // None past the end.
    unaMsMixerLine* getSourceLine(unsigned position) const;
    unsigned getControlCount() const { return static_cast<unsigned>(controls_.size()); }
    unaMsMixerControl* getControl(unsigned position) const;

  private:
    void readLineInfo(unsigned sourceIndex, bool isSource, unsigned destinationIndex);
    void enumSources();
    void enumControls();

    qv::platform::MixerLineInfo record_;
    unaMsMixerDevice& device_;
    std::vector<std::unique_ptr<unaMsMixerLine>> sources_;
    std::vector<std::unique_ptr<unaMsMixerControl>> controls_;
};
