#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/object.h"
#include "platform/codecs/codec_manager.h"

class unaMsAcm;

// One installed codec driver as the enumeration reported it.
class unaMsAcmDriver : public unaObject {
  public:
    // Reads the driver's largest format size from the owner's codec manager.
    unaMsAcmDriver(unaMsAcm& owner, CodecDriverId driverId, std::uint32_t supportFlags);

    unaMsAcm& getOwner() const { return owner_; }
    CodecDriverId getDriverId() const { return driverId_; }
    std::uint32_t getSupportFlags() const { return supportFlags_; }
    // 0 when the driver could not tell.
    std::uint32_t getMaxFormatSize() const { return maxFormatSize_; }

  private:
    unaMsAcm& owner_;
    CodecDriverId driverId_;
    std::uint32_t supportFlags_;
    std::uint32_t maxFormatSize_;
};

// The installed codec drivers. Built and enumerated once by the main window
// and kept for its whole life; used from that one thread only. On Linux the
// system list is empty.
class unaMsAcm : public unaObject {
  public:
    // `codecs` must outlive this object.
    explicit unaMsAcm(const CodecManager& codecs = systemCodecManager());

    // Replaces the list with the drivers that `flags` select (0: enabled
    // ones). Returns the codec manager's result code, 0 on success.
    std::uint32_t enumDrivers(std::uint32_t flags = 0);

    // The codec manager's version, read at construction (0: none).
    std::uint32_t getVersion() const { return version_; }
    std::size_t getDriverCount() const { return drivers_.size(); }
    // Null for an index out of range.
    unaMsAcmDriver* getDriver(std::size_t index) const;

    const CodecManager& codecs() const { return codecs_; }

  private:
    const CodecManager& codecs_;
    std::uint32_t version_;
    std::vector<std::unique_ptr<unaMsAcmDriver>> drivers_;
};
