#pragma once

#include <cstdint>
#include <string>

#include "audio/format/wave_format.h"

class unaIniAbstractStorage;

// Everything the program keeps between runs, with the defaults of a first start.
struct SessionSettings {
    int playbackDeviceId = -1;
    PcmSampling playbackSampling{44100, 16, 2};
    std::string playbackFileName;
    int captureDeviceId = -1;
    PcmSampling captureSampling{44100, 16, 2};
    std::string captureFileName;
    bool saveToFile = false;
    int64_t delayMs = 4;
    std::string language;
    int width = 3, height = 3, left = 4, top = 4;
    std::string initialSaveDir = "./";
    std::string skin;
};

// Reads every key in the stored order; absent or malformed keys give the defaults.
SessionSettings readSessionSettings(unaIniAbstractStorage& store);

// Writes the keys in the order the program always has: playback, recording
// (the save flag last), the delay, the window, the skin. The delay is written
// as decimal text of its milliseconds. initialSaveDir is written when chosen.
void writeSessionSettings(unaIniAbstractStorage& store, const SessionSettings& settings,
                          double delaySeconds);

// Stores the folder of a chosen WAV file for the next save dialog.
void writeInitialSaveDir(unaIniAbstractStorage& store, const std::string& directory);

// Decimal text of a number with at most 15 significant digits and no
// trailing zeros ("2350", "0.5", "1").
std::string shortDecimalText(double value);
