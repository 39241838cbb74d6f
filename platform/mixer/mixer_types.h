#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Records and constants of the sound-card mixer layer. The numbers are the
// classic multimedia mixer values, so the model above can keep its rules
// (control classes, component types, result codes) unchanged.
namespace qv::platform {

// Result of a mixer call: 0 is success, anything else a failure.
using MixerResult = std::uint32_t;

namespace mixer_result {
inline constexpr MixerResult ok = 0;
inline constexpr MixerResult error = 1;
inline constexpr MixerResult badDeviceId = 2;
inline constexpr MixerResult invalidHandle = 5;
inline constexpr MixerResult noDriver = 6;
inline constexpr MixerResult invalidParameter = 11;
inline constexpr MixerResult invalidLine = 1024;
inline constexpr MixerResult invalidControl = 1025;
}  // namespace mixer_result

namespace component_type {
inline constexpr std::uint32_t destinationLine = 2;
inline constexpr std::uint32_t speakers = 4;
inline constexpr std::uint32_t headphones = 5;
inline constexpr std::uint32_t waveIn = 7;
inline constexpr std::uint32_t sourceUndefined = 0x1000;
inline constexpr std::uint32_t sourceDigital = 0x1001;
inline constexpr std::uint32_t sourceLine = 0x1002;
inline constexpr std::uint32_t sourceMicrophone = 0x1003;
inline constexpr std::uint32_t sourceSynthesizer = 0x1004;
inline constexpr std::uint32_t sourceCompactDisc = 0x1005;
inline constexpr std::uint32_t sourceTelephone = 0x1006;
inline constexpr std::uint32_t sourcePcSpeaker = 0x1007;
inline constexpr std::uint32_t sourceWaveOut = 0x1008;
inline constexpr std::uint32_t sourceAuxiliary = 0x1009;
}  // namespace component_type

namespace target_type {
inline constexpr std::uint32_t undefined = 0;
inline constexpr std::uint32_t waveOut = 1;
inline constexpr std::uint32_t waveIn = 2;
}  // namespace target_type

namespace line_flag {
inline constexpr std::uint32_t active = 0x1;
inline constexpr std::uint32_t source = 0x80000000;
}  // namespace line_flag

namespace control_type {
inline constexpr std::uint32_t volume = 0x50030001;
inline constexpr std::uint32_t mute = 0x20010002;
inline constexpr std::uint32_t mux = 0x70010001;
inline constexpr std::uint32_t mixer = 0x71010001;
inline constexpr std::uint32_t singleSelect = 0x70010000;
inline constexpr std::uint32_t multipleSelect = 0x71010000;
inline constexpr std::uint32_t equalizer = 0x50030004;
}  // namespace control_type

namespace control_class {
inline constexpr std::uint32_t mask = 0xF0000000;
inline constexpr std::uint32_t custom = 0x00000000;
inline constexpr std::uint32_t switchClass = 0x20000000;
inline constexpr std::uint32_t fader = 0x50000000;
inline constexpr std::uint32_t list = 0x70000000;
}  // namespace control_class

namespace control_units {
inline constexpr std::uint32_t mask = 0x00FF0000;
inline constexpr std::uint32_t custom = 0x00000000;
inline constexpr std::uint32_t boolean = 0x00010000;
inline constexpr std::uint32_t signedUnits = 0x00020000;
inline constexpr std::uint32_t unsignedUnits = 0x00030000;
inline constexpr std::uint32_t decibels = 0x00040000;
inline constexpr std::uint32_t percent = 0x00050000;
}  // namespace control_units

namespace control_flag {
inline constexpr std::uint32_t uniform = 0x1;
inline constexpr std::uint32_t multiple = 0x2;
}  // namespace control_flag

// Names are UTF-8.
struct MixerCaps {
    std::uint16_t manufacturerId = 0;
    std::uint16_t productId = 0;
    std::uint32_t driverVersion = 0;
    std::string productName;
    std::uint32_t support = 0;
    std::uint32_t destinationCount = 0;
};

struct MixerLineTarget {
    std::uint32_t type = target_type::undefined;
    std::uint32_t deviceId = 0;
    std::uint16_t manufacturerId = 0;
    std::uint16_t productId = 0;
    std::uint32_t driverVersion = 0;
    std::string productName;
};

// One destination line (what a mixer outputs to) or one source line feeding it.
struct MixerLineInfo {
    std::uint32_t destination = 0;
    std::uint32_t source = 0;
    std::uint32_t lineId = 0;
    std::uint32_t flags = 0;
    std::uint32_t user = 0;
    std::uint32_t componentType = 0;
    std::uint32_t channels = 0;
    // Number of source lines; destinations only.
    std::uint32_t connections = 0;
    std::uint32_t controls = 0;
    std::string shortName;
    std::string name;
    MixerLineTarget target;
};

struct MixerControlInfo {
    std::uint32_t controlId = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    // Item count of list controls (mux, mixer, select); 0 for the others.
    std::uint32_t multipleItems = 0;
    std::string shortName;
    std::string name;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::uint32_t steps = 0;
    // Byte size of one value of a custom-class control.
    std::uint32_t customDataSize = 0;
};

// One item of a list control. For mux and mixer controls param1 is the line
// ID of the source line the item stands for and param2 its component type.
struct MixerListText {
    std::uint32_t param1 = 0;
    std::uint32_t param2 = 0;
    std::string name;
};

// Which values of a control a read or write covers: channels × items values,
// value (channel c, item i) at index i + c × items, or at index c when items is 0.
struct MixerValueRange {
    std::uint32_t controlId = 0;
    std::uint32_t channels = 0;
    std::uint32_t items = 0;

    std::size_t valueCount() const { return std::size_t{channels} * (items == 0 ? 1u : items); }
};

}  // namespace qv::platform
