#include "platform/mixer/alsa_mixer_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qv::platform;

namespace {

AlsaElement playback(std::string name, bool joined = false) {
    AlsaElement e;
    e.name = std::move(name);
    e.playbackVolume = true;
    e.playbackSwitch = true;
    e.playbackVolumeJoined = joined;
    e.playbackSwitchJoined = joined;
    return e;
}

AlsaElement capture(std::string name, bool withSwitch) {
    AlsaElement e;
    e.name = std::move(name);
    e.captureVolume = true;
    e.captureSwitch = withSwitch;
    return e;
}

AlsaElement selector(std::vector<std::string> items) {
    AlsaElement e;
    e.name = "Input Source";
    e.captureSource = true;
    e.sourceNames = std::move(items);
    return e;
}

std::vector<std::string> names(const std::vector<AlsaLine>& lines) {
    std::vector<std::string> result;
    for (const AlsaLine& line : lines) {
        result.push_back(line.info.name);
    }
    return result;
}

std::vector<std::uint32_t> controlTypes(const AlsaMixerLayout& layout, const AlsaLine& line) {
    std::vector<std::uint32_t> types;
    for (unsigned position : line.controls) {
        types.push_back(layout.controls[position].info.type);
    }
    return types;
}

TEST(AlsaMixerLayout, MasterIsThePlaybackDestinationsOwnVolumeAndMute) {
    const AlsaMixerLayout layout =
        buildAlsaMixerLayout({playback("Master"), playback("PCM"), playback("Mic", true)});

    ASSERT_EQ(layout.destinations.size(), 2u);
    const AlsaLine& speakers = layout.destinations[0];
    EXPECT_EQ(speakers.info.componentType, component_type::speakers);
    EXPECT_EQ(speakers.info.target.type, target_type::waveOut);
    EXPECT_EQ(controlTypes(layout, speakers),
              (std::vector<std::uint32_t>{control_type::volume, control_type::mute}));
    EXPECT_EQ(names(layout.sources[0]), (std::vector<std::string>{"PCM", "Mic"}));
    EXPECT_EQ(speakers.info.connections, 2u);

    const AlsaLine& mic = layout.sources[0][1];
    EXPECT_EQ(mic.info.componentType, component_type::sourceMicrophone);
    EXPECT_EQ(mic.info.flags & line_flag::source, line_flag::source);
    const AlsaControl& micVolume = layout.controls[mic.controls[0]];
    EXPECT_EQ(micVolume.info.flags & control_flag::uniform, control_flag::uniform);
    EXPECT_EQ(micVolume.info.maximum, 65535);
}

TEST(AlsaMixerLayout, ACaptureSourceSelectorBecomesAMuxOverTheRecordingSources) {
    const AlsaMixerLayout layout =
        buildAlsaMixerLayout({playback("Master"), capture("Capture", true), capture("Mic", false),
                              selector({"Mic", "Line", "Internal Mic"})});

    const AlsaLine& recording = layout.destinations[1];
    EXPECT_EQ(recording.info.componentType, component_type::waveIn);
    EXPECT_EQ(recording.info.target.type, target_type::waveIn);
    // Items that name no element get a line of their own, without controls.
    EXPECT_EQ(names(layout.sources[1]),
              (std::vector<std::string>{"Capture", "Mic", "Line", "Internal Mic"}));
    EXPECT_TRUE(layout.sources[1][2].controls.empty());
    ASSERT_EQ(controlTypes(layout, recording), (std::vector<std::uint32_t>{control_type::mux}));

    const AlsaControl& mux = layout.controls[recording.controls[0]];
    EXPECT_EQ(mux.info.multipleItems, 3u);
    EXPECT_EQ(mux.info.flags, control_flag::uniform | control_flag::multiple);
    ASSERT_EQ(mux.texts.size(), 3u);
    EXPECT_EQ(mux.texts[0].param1, layout.sources[1][1].info.lineId);
    EXPECT_EQ(mux.texts[0].param2, component_type::sourceMicrophone);
    EXPECT_EQ(mux.texts[1].param1, layout.sources[1][2].info.lineId);
    EXPECT_EQ(mux.texts[2].param1, layout.sources[1][3].info.lineId);
    EXPECT_EQ(layout.controlsOfElement(3), (std::vector<std::uint32_t>{mux.info.controlId}));
}

TEST(AlsaMixerLayout, CaptureSwitchesWithoutSelectorBecomeAMixerTypeList) {
    const AlsaMixerLayout layout = buildAlsaMixerLayout(
        {capture("Mic", true), capture("Capture", false), capture("Line", true)});

    const AlsaLine& recording = layout.destinations[1];
    ASSERT_EQ(controlTypes(layout, recording), (std::vector<std::uint32_t>{control_type::mixer}));
    const AlsaControl& list = layout.controls[recording.controls[0]];
    ASSERT_EQ(list.texts.size(), 2u);
    EXPECT_EQ(list.texts[0].name, "Mic");
    EXPECT_EQ(list.texts[1].name, "Line");
    EXPECT_EQ(list.itemElements, (std::vector<unsigned>{0, 2}));
    // The Mic element carries its volume, its mute and the list.
    EXPECT_EQ(layout.controlsOfElement(0).size(), 3u);
}

TEST(AlsaMixerLayout, IdsFindTheirControlsAndLines) {
    const AlsaMixerLayout layout = buildAlsaMixerLayout({playback("Master"), capture("Mic", true)});
    for (const AlsaControl& control : layout.controls) {
        EXPECT_EQ(layout.control(control.info.controlId), &control);
    }
    EXPECT_EQ(layout.control(0), nullptr);
    EXPECT_EQ(layout.line(layout.sources[1][0].info.lineId), &layout.sources[1][0]);
    EXPECT_EQ(layout.line(layout.destinations[1].info.lineId), &layout.destinations[1]);
    EXPECT_EQ(layout.line(12345), nullptr);
}

TEST(AlsaMixerLayout, ACardWithoutElementsStillHasBothDestinations) {
    const AlsaMixerLayout layout = buildAlsaMixerLayout({});
    ASSERT_EQ(layout.destinations.size(), 2u);
    EXPECT_TRUE(layout.sources[0].empty());
    EXPECT_TRUE(layout.sources[1].empty());
    EXPECT_TRUE(layout.controls.empty());
}

struct TypeCase {
    const char* name;
    std::uint32_t type;
};

TEST(AlsaSourceType, FollowsTheElementName) {
    const TypeCase cases[] = {
        {"Mic", component_type::sourceMicrophone},
        {"Front Mic Boost", component_type::sourceMicrophone},
        {"Line", component_type::sourceLine},
        {"CD", component_type::sourceCompactDisc},
        {"PCM", component_type::sourceWaveOut},
        {"Beep", component_type::sourcePcSpeaker},
        {"Capture", component_type::sourceUndefined},
    };
    for (const TypeCase& c : cases) {
        EXPECT_EQ(sourceTypeFromName(c.name), c.type) << c.name;
    }
}

struct FaderCase {
    long minimum;
    long maximum;
    std::uint32_t fader;
    long element;
};

TEST(AlsaFaderScale, MapsOntoTheElementsRangeBothWays) {
    const FaderCase cases[] = {
        {0, 65536, 65500, 65501}, {0, 65536, 65535, 65536}, {0, 31, 32768, 16},
        {-50, 50, 0, -50},        {-50, 50, 65535, 50},     {0, 0, 40000, 0},
    };
    for (const FaderCase& c : cases) {
        EXPECT_EQ(faderToElement(c.fader, c.minimum, c.maximum), c.element)
            << c.minimum << ".." << c.maximum << " fader " << c.fader;
    }
    // Every fader value survives the trip through a range at least as fine.
    for (std::uint32_t fader : {0u, 1u, 655u, 26200u, 32768u, 65500u, 65535u}) {
        EXPECT_EQ(elementToFader(faderToElement(fader, 0, 65536), 0, 65536), fader);
    }
    EXPECT_EQ(elementToFader(99, 0, 50), 65535u);  // clamped
}

}  // namespace
