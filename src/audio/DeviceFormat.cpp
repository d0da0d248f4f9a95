#include "audio/DeviceFormat.h"

#include <algorithm>
#include <cmath>

namespace dz {

bool DeviceFormat::valid() const {
    return (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && sample_rate >= 8000 &&
           sample_rate <= 192000;
}

int DeviceFormat::buffer_frames() const {
    double seconds = buffer_seconds;
    if (!std::isfinite(seconds) || seconds <= 0) seconds = 0.1;
    const double max_frames = 2.0 * sample_rate;
    const double frames = std::clamp(seconds * sample_rate, 64.0, std::max(64.0, max_frames));
    return static_cast<int>(std::lround(frames));
}

}  // namespace dz
