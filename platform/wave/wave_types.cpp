#include "platform/wave/wave_types.h"

namespace platform {

bool WaveFormat::isCarried() const {
    return formatTag == WAVE_FORMAT_PCM && (bitsPerSample == 8 || bitsPerSample == 16) &&
           channels >= 1 && channels <= 32 && samplesPerSec >= 1000 && samplesPerSec <= 768000;
}

std::string waveResultText(MmResult code) {
    switch (code) {
        case MMSYSERR_NOERROR:
            return "no error";
        case MMSYSERR_ERROR:
            return "unspecified error";
        case MMSYSERR_BADDEVICEID:
            return "device ID out of range";
        case MMSYSERR_ALLOCATED:
            return "device already allocated";
        case MMSYSERR_INVALHANDLE:
            return "device handle is invalid";
        case MMSYSERR_NODRIVER:
            return "no device driver present";
        case MMSYSERR_NOMEM:
            return "memory allocation error";
        case MMSYSERR_NOTSUPPORTED:
            return "function isn't supported";
        case MMSYSERR_INVALFLAG:
            return "invalid flag passed";
        case MMSYSERR_INVALPARAM:
            return "invalid parameter passed";
        case MMSYSERR_HANDLEBUSY:
            return "handle being used simultaneously on another thread (eg callback)";
        case WAVERR_BADFORMAT:
            return "unsupported wave format";
        case WAVERR_STILLPLAYING:
            return "still something playing";
        case WAVERR_UNPREPARED:
            return "header not prepared";
        case WAVERR_SYNC:
            return "device is synchronous";
        default:
            return {};
    }
}

}  // namespace platform

namespace platform {

std::string cutProductName(const std::string& name) {
    constexpr int kMaxCharacters = 31;
    int characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && ++characters > kMaxCharacters) {
            return name.substr(0, i);
        }
    }
    return name;
}

}  // namespace platform
