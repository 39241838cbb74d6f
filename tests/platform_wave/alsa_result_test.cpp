#include "platform/wave/alsa_result.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace platform {
namespace {

TEST(AlsaResult, MapsAlsaErrorsToResultCodes) {
    const struct {
        int error;
        bool formatStage;
        MmResult expected;
    } cases[] = {
        {0, false, MMSYSERR_NOERROR},           {-EBUSY, false, MMSYSERR_ALLOCATED},
        {-ENOENT, false, MMSYSERR_BADDEVICEID}, {-ENODEV, false, MMSYSERR_BADDEVICEID},
        {-EINVAL, true, WAVERR_BADFORMAT},      {-EINVAL, false, MMSYSERR_ERROR},
        {-ECONNREFUSED, false, MMSYSERR_ERROR}, {-EIO, true, MMSYSERR_ERROR},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resultFromAlsaError(c.error, c.formatStage), c.expected)
            << "error " << c.error << " format stage " << c.formatStage;
    }
}

}  // namespace
}  // namespace platform
