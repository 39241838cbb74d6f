#pragma once

#include <atomic>
#include <cstdint>

#include "audio/format/mm_result.h"
#include "framework/core/gate.h"
#include "framework/core/object.h"

class unaMsAcmStreamDevice;

// A buffer that travels between a node and the system device. Headers are
// numbered when re-armed so that the node can complete them strictly in that
// order, whatever order the system returns them in.
class unaMsAcmDeviceHeader : public unaObject {
  public:
    explicit unaMsAcmDeviceHeader(unaMsAcmStreamDevice* owner);
    // A concrete header unprepares itself through the owner in its own
    // destructor (gate taken with 100 ms): by the time this one runs the owner
    // could only see a bare base header.
    ~unaMsAcmDeviceHeader() override;

    virtual bool hasFlag(uint32_t mask) const = 0;
    virtual void setFlag(uint32_t mask, bool on) = 0;
    // Through the owner; 6 ("no device driver present") without one.
    virtual MMRESULT prepare();
    virtual MMRESULT unprepare();
    // Takes the owner's next sequence number and clears the handled flag.
    virtual void rearm();
    // The system has returned the buffer.
    virtual bool isDone() const = 0;
    // The buffer is with the system.
    virtual bool isQueued() const = 0;

    unaMsAcmStreamDevice* owner() const { return owner_; }
    uint32_t sequenceNumber() const { return sequence_.load(); }
    bool handled() const { return handled_.load(); }
    void setHandled(bool on) { handled_.store(on); }
    void setNumbering(bool on) { numbering_ = on; }
    unaInProcessGate& gate() { return gate_; }

  private:
    unaMsAcmStreamDevice* owner_;
    std::atomic<uint32_t> sequence_{0};
    bool numbering_ = true;
    std::atomic<bool> handled_{false};
    unaInProcessGate gate_;
};
