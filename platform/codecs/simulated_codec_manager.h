#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/codecs/codec_manager.h"

// A codec list made up by a test: drivers with chosen ids, support flags and
// format sizes, some of them disabled, and metrics that may fail.
class SimulatedCodecManager final : public CodecManager {
  public:
    struct Driver {
        CodecDriverId id = 0;
        std::uint32_t supportFlags = 0;
        std::optional<std::uint32_t> maxFormatSize;  // empty: the metrics query fails
        bool enabled = true;
    };

    explicit SimulatedCodecManager(std::uint32_t version = 0x04000000u) : version_(version) {}

    void addDriver(const Driver& driver) { drivers_.push_back(driver); }
    // Result code that enumDrivers answers after visiting; 0 by default.
    void setEnumResult(std::uint32_t code) { enumResult_ = code; }
    // The flags of the last enumeration, so a test can see what was asked.
    std::uint32_t lastEnumFlags() const { return lastEnumFlags_; }

    std::uint32_t version() const override { return version_; }
    std::uint32_t enumDrivers(std::uint32_t flags, const DriverVisitor& visit) const override;
    // For allCodecDrivers: the largest size any enabled driver answers;
    // empty when none answers.
    std::optional<std::uint32_t> maxFormatSize(CodecDriverId driver) const override;

  private:
    std::uint32_t version_;
    std::vector<Driver> drivers_;
    std::uint32_t enumResult_ = 0;
    mutable std::uint32_t lastEnumFlags_ = 0;
};
