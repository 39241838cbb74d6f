#include "platform/codecs/linux_codec_manager.h"

std::uint32_t LinuxCodecManager::enumDrivers(std::uint32_t /*flags*/,
                                             const DriverVisitor& /*visit*/) const {
    return 0;
}

std::optional<std::uint32_t> LinuxCodecManager::maxFormatSize(CodecDriverId /*driver*/) const {
    return std::nullopt;
}

const CodecManager& systemCodecManager() {
    static const LinuxCodecManager manager;
    return manager;
}
