#pragma once

#include "platform/codecs/codec_manager.h"

// Linux has no audio compression manager: no drivers, version 0 and no
// metrics. Callers fall back to plain PCM records.
class LinuxCodecManager final : public CodecManager {
  public:
    std::uint32_t version() const override { return 0; }
    std::uint32_t enumDrivers(std::uint32_t flags, const DriverVisitor& visit) const override;
    std::optional<std::uint32_t> maxFormatSize(CodecDriverId driver) const override;
};
