#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/mixer/mixer_types.h"

namespace qv::platform {

// Called with the ID of a control whose value changed, whoever changed it
// (this program or another one such as alsamixer or pavucontrol). It runs on a
// thread of the mixer layer, never on the caller's: a user interface turns it
// into an event of its own thread and reads the values there. It must return
// quickly and must not close the connection that called it.
using MixerChangeCallback = std::function<void(std::uint32_t controlId)>;

// An open mixer. It exists only to deliver change notifications; every query
// goes to the driver by mixer index whether a connection is open or not.
class MixerConnection {
  public:
    virtual ~MixerConnection() = default;
    // Stops the notifications; once it returns, the callback no longer runs.
    // On failure the connection stays open.
    virtual MixerResult close() = 0;
};

// The sound-card mixers of the system: devices, their destination lines, the
// source lines of each destination, the controls of a line, and control values.
//
// Line and control layouts are fixed for the life of the driver; values are
// read from the mixer on every call. Calls may come from any thread; a driver
// serialises them itself. Every call returns mixer_result::ok or a failure
// code; on failure its out-arguments may be partly filled.
class MixerDriver {
  public:
    virtual ~MixerDriver() = default;

    virtual unsigned mixerCount() = 0;
    virtual MixerResult getCaps(unsigned mixer, MixerCaps& caps) = 0;
    virtual MixerResult getDestination(unsigned mixer, unsigned destination,
                                       MixerLineInfo& line) = 0;
    virtual MixerResult getSource(unsigned mixer, unsigned destination, unsigned source,
                                  MixerLineInfo& line) = 0;
    // All controls of a line, in the mixer's own order.
    virtual MixerResult getLineControls(unsigned mixer, std::uint32_t lineId,
                                        std::vector<MixerControlInfo>& controls) = 0;
    // The item texts of a list control: range.valueCount() records.
    virtual MixerResult getListTexts(unsigned mixer, const MixerValueRange& range,
                                     std::vector<MixerListText>& texts) = 0;
    // Current values: range.valueCount() 32-bit values (signed ones in two's
    // complement). A channel past the control's own channels reads its last one.
    virtual MixerResult getValues(unsigned mixer, const MixerValueRange& range,
                                  std::vector<std::uint32_t>& values) = 0;
    // Writes all values of the range; values.size() must be range.valueCount().
    virtual MixerResult setValues(unsigned mixer, const MixerValueRange& range,
                                  const std::vector<std::uint32_t>& values) = 0;

    // Mixer identifier of a mixer index, and of a capture device index (the
    // capture device order of the wave layer). Equal identifiers mean the same card.
    virtual MixerResult mixerIdOfMixer(unsigned mixer, unsigned& id) = 0;
    virtual MixerResult mixerIdOfCaptureDevice(unsigned captureDevice, unsigned& id) = 0;
    virtual unsigned captureDeviceCount() = 0;

    // Opens a mixer for change notifications; an empty callback opens it
    // without any. The connection may outlive nothing: close or free it
    // before the driver.
    virtual MixerResult open(unsigned mixer, MixerChangeCallback callback,
                             std::unique_ptr<MixerConnection>& connection) = 0;
};

}  // namespace qv::platform
