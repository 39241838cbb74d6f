#pragma once

#include "audio/software/software_device.h"
#include "framework/core/list.h"
#include "framework/stream/abstract_stream.h"

// A software device fed by any number of input chunk streams instead of one
// input stream. The device owns every stream in its list.
//
// Thread rules: the list changes only under the device's thread gate;
// subclasses' workers read it under the same gate.
class unaWaveMultiStreamDevice : public unaWaveSoftwareDevice {
  public:
    unaWaveMultiStreamDevice(bool realTime, bool addSilence, unsigned overflowLimit);
    ~unaWaveMultiStreamDevice() override;

    // Appends the stream, or a new memory stream (gate timeout 100 ms) when
    // none is given, and owns it from then on. nullptr when the gate is busy.
    unaAbstractStream* addStream(unaAbstractStream* stream = nullptr);
    // Removes and frees the stream; false when it is not in the list.
    bool removeStream(unaAbstractStream* stream);
    unaAbstractStream* getStream(unsigned index) const;
    unsigned getStreamCount() const { return streams_.count(); }

    // Pad short streams with silence instead of dropping the chunk.
    bool addSilence() const { return addSilence_; }

  private:
    unaObjectList streams_{true};
    const bool addSilence_;
};
