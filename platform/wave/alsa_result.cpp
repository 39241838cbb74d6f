#include "platform/wave/alsa_result.h"

#include <cerrno>

namespace platform {

MmResult resultFromAlsaError(int error, bool formatStage) {
    switch (-error) {
        case 0:
            return MMSYSERR_NOERROR;
        case EBUSY:
        case EAGAIN:
            return MMSYSERR_ALLOCATED;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return MMSYSERR_BADDEVICEID;
        case ENOMEM:
            return MMSYSERR_NOMEM;
        case EINVAL:
            return formatStage ? WAVERR_BADFORMAT : MMSYSERR_ERROR;
        default:
            return MMSYSERR_ERROR;
    }
}

}  // namespace platform
