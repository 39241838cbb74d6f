#pragma once

#include <cstdint>

// Which mixer line a volume track bar stands for. While `live` is false a move
// of the bar is not written to the mixer (the dialog is showing a value it read).
struct VolumeBinding {
    int destination = 0;
    int source = 0;  // -1: the destination line itself
    std::int64_t volumeControlId = 0;
    bool live = false;
};
