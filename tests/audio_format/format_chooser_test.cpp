#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

#include "audio/format/format_chooser.h"
#include "platform/codecs/simulated_codec_manager.h"

namespace {

// Records what the dialog was handed (including a copy of the starting
// record) and answers with a chosen reply.
class FakeChooser : public FormatChooser {
  public:
    MMRESULT choose(FormatChooseRequest& request) override {
        ++calls;
        seen = request;
        if (request.format != nullptr) {
            startingRecord = *request.format;
            if (request.format->wFormatTag == WAVE_FORMAT_PCM) {
                startingRecord->cbSize = 0;  // not part of a PCM record
            }
        }
        if (reply) {
            reply(request);
        }
        return result;
    }

    int calls = 0;
    FormatChooseRequest seen;
    std::optional<WAVEFORMATEX> startingRecord;
    std::function<void(FormatChooseRequest&)> reply;
    MMRESULT result = 0;
};

constexpr std::uint32_t deviceStyle = formatChooseInitFromRecord;
constexpr std::uint32_t playbackFlags = formatEnumHardware | formatEnumOutput;

TEST(ChooseFormatDialog, HandsTheGivenRecordAndOptionsToTheDialog) {
    FormatPtr record = allocateFormat(18);
    buildPcmFormat(*record, 22050, 8, 1);
    WAVEFORMATEX restriction{};
    int ownerWindow = 0;
    FakeChooser chooser;

    FormatChoiceOptions options;
    options.title = "Choose playback format";
    options.style = deviceStyle;
    options.enumFlags = playbackFlags;
    options.enumRestriction = &restriction;
    options.owner = &ownerWindow;
    WAVEFORMATEX* const given = record.get();
    EXPECT_EQ(chooseFormatDialog(chooser, record, options), 0u);

    ASSERT_EQ(chooser.calls, 1);
    EXPECT_EQ(record.get(), given);
    EXPECT_EQ(chooser.seen.format, given);
    EXPECT_EQ(chooser.seen.formatBufferSize, 16u);  // formatSize of the PCM record
    EXPECT_EQ(chooser.seen.title, "Choose playback format");
    EXPECT_EQ(chooser.seen.style, deviceStyle);
    EXPECT_EQ(chooser.seen.enumFlags, playbackFlags);
    EXPECT_EQ(chooser.seen.enumRestriction, &restriction);
    EXPECT_EQ(chooser.seen.owner, &ownerWindow);
}

TEST(ChooseFormatDialog, AnExplicitSizeOverridesTheRecordSize) {
    FormatPtr record = allocateFormat(64);
    buildPcmFormat(*record, 44100, 16, 2);
    FakeChooser chooser;
    FormatChoiceOptions options;
    options.size = 64;
    chooseFormatDialog(chooser, record, options);
    EXPECT_EQ(chooser.seen.formatBufferSize, 64u);
    EXPECT_TRUE(chooser.seen.title.empty());
}

TEST(ChooseFormatDialog, TheChoiceComesBackInTheRecord) {
    FormatPtr record = allocateFormat(18);
    buildPcmFormat(*record, 44100, 16, 2);
    FakeChooser chooser;
    chooser.reply = [](FormatChooseRequest& request) {
        buildPcmFormat(*request.format, 8000, 8, 1);
    };
    EXPECT_EQ(chooseFormatDialog(chooser, record, FormatChoiceOptions{}), 0u);
    EXPECT_EQ(samplingOf(*record), (PcmSampling{8000, 8, 1}));
}

TEST(ChooseFormatDialog, CancelIsPassedOnAndLeavesTheRecord) {
    FormatPtr record = allocateFormat(18);
    buildPcmFormat(*record, 44100, 16, 2);
    FakeChooser chooser;
    chooser.result = mmresult::acmCanceled;
    EXPECT_EQ(chooseFormatDialog(chooser, record, FormatChoiceOptions{}), mmresult::acmCanceled);
    EXPECT_EQ(samplingOf(*record), (PcmSampling{44100, 16, 2}));
}

struct StartingRecordCase {
    std::optional<std::uint32_t> codecsMaxFormatSize;
    std::uint16_t defaultTag;
    std::uint32_t sizeOption;
    std::uint32_t expectedBuffer;
    std::uint16_t expectedCbSize;
};

class ChooseFormatDialogWithoutRecord : public ::testing::TestWithParam<StartingRecordCase> {};

TEST_P(ChooseFormatDialogWithoutRecord, MakesAStartingRecordAndHandsItBack) {
    const StartingRecordCase& c = GetParam();
    SimulatedCodecManager codecs;
    codecs.addDriver({.id = 1, .supportFlags = 0, .maxFormatSize = c.codecsMaxFormatSize});
    FakeChooser chooser;
    chooser.result = mmresult::acmCanceled;  // handed back whatever the outcome

    FormatChoiceOptions options;
    options.style = deviceStyle;
    options.defaultTag = c.defaultTag;
    options.defaultRate = 32000;
    options.size = c.sizeOption;
    FormatPtr record;
    EXPECT_EQ(chooseFormatDialog(chooser, record, options, codecs), mmresult::acmCanceled);

    ASSERT_TRUE(record);
    EXPECT_EQ(chooser.seen.format, record.get());
    EXPECT_EQ(chooser.seen.formatBufferSize, c.expectedBuffer);
    ASSERT_TRUE(chooser.startingRecord);
    const WAVEFORMATEX& start = *chooser.startingRecord;
    EXPECT_EQ(start.wFormatTag, c.defaultTag);
    EXPECT_EQ(start.nSamplesPerSec, 32000u);
    EXPECT_EQ(start.wBitsPerSample, 16u);
    EXPECT_EQ(start.nChannels, 2u);
    EXPECT_EQ(start.nBlockAlign, 4u);
    EXPECT_EQ(start.nAvgBytesPerSec, 128000u);
    if (c.defaultTag != WAVE_FORMAT_PCM) {
        EXPECT_EQ(start.cbSize, c.expectedCbSize);
        // The extra bytes are zero and all of them may be touched.
        const auto* extra = reinterpret_cast<const unsigned char*>(record.get()) + 18;
        for (std::uint16_t i = 0; i < start.cbSize; ++i) {
            ASSERT_EQ(extra[i], 0) << "extra byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChooseFormatDialogWithoutRecord,
                         ::testing::Values(
                             // Codecs answer 50: a 50-byte record with 32 extra bytes.
                             StartingRecordCase{50, 85, 0, 50, 32},
                             // No answer (as on Linux): an 18-byte record.
                             StartingRecordCase{std::nullopt, 85, 0, 18, 0},
                             // An answer below the 18-byte header still gives a whole header.
                             StartingRecordCase{10, 85, 0, 18, 0},
                             // A larger explicit size makes the record big enough for it.
                             StartingRecordCase{50, 85, 80, 80, 62},
                             // A PCM default tag: the dialog may still write the whole buffer.
                             StartingRecordCase{50, WAVE_FORMAT_PCM, 0, 50, 32}));

TEST(ChooseFormatDialog, WithoutRecordOrStartingStyleNothingIsShown) {
    FakeChooser chooser;
    FormatPtr record;
    EXPECT_EQ(chooseFormatDialog(chooser, record, FormatChoiceOptions{}), mmresult::invalidParam);
    EXPECT_EQ(chooser.calls, 0);
    EXPECT_FALSE(record);
}

TEST(ChooseFormatDialog, AChoiceLargerThanTheBufferIsNotAccepted) {
    FormatPtr record = allocateFormat(18);
    buildPcmFormat(*record, 44100, 16, 2);  // buffer of 16 bytes
    FakeChooser chooser;
    chooser.reply = [](FormatChooseRequest& request) { request.format->wFormatTag = 85; };
    EXPECT_EQ(chooseFormatDialog(chooser, record, FormatChoiceOptions{}), mmresult::acmNotPossible);

    FormatPtr roomy = allocateFormat(20);
    roomy->wFormatTag = 2;
    roomy->cbSize = 2;  // buffer of 20 bytes
    chooser.reply = [](FormatChooseRequest& request) { request.format->cbSize = 3; };
    EXPECT_EQ(chooseFormatDialog(chooser, roomy, FormatChoiceOptions{}), mmresult::acmNotPossible);
    chooser.reply = [](FormatChooseRequest& request) { request.format->cbSize = 1; };
    EXPECT_EQ(chooseFormatDialog(chooser, roomy, FormatChoiceOptions{}), 0u);
}

TEST(InstalledFormatChooser, IsUsedOnceInstalledAndNotSupportedWithout) {
    FormatPtr record = allocateFormat(18);
    buildPcmFormat(*record, 44100, 16, 2);
    ASSERT_EQ(installedFormatChooser(), nullptr);
    EXPECT_EQ(chooseFormatDialog(record, FormatChoiceOptions{}), mmresult::notSupported);

    auto chooser = std::make_shared<FakeChooser>();
    installFormatChooser(chooser);
    EXPECT_EQ(chooseFormatDialog(record, FormatChoiceOptions{}), 0u);
    EXPECT_EQ(chooser->calls, 1);

    installFormatChooser(nullptr);
    EXPECT_EQ(chooseFormatDialog(record, FormatChoiceOptions{}), mmresult::notSupported);
}

}  // namespace
