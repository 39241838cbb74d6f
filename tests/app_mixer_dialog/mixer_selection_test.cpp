#include "dialog_fixture.h"

using namespace dialog_test;

namespace {

using MixerSelection = DialogTest;

TEST_F(MixerSelection, WithoutMixersEveryLineControlIsOffAndRecordingDisabled) {
    open({}, {});
    EXPECT_EQ(list("c_comboBox_mixerIndex")->count(), 0);
    for (const char* name : {"c_label_in", "c_label_out"}) {
        EXPECT_EQ(label(name)->text(), "No such line") << name;
    }
    for (const char* name :
         {"c_trackBar_in", "c_trackBar_out", "c_trackBar_inMain", "c_trackBar_outMain"}) {
        EXPECT_FALSE(bar(name)->isEnabled()) << name;
        EXPECT_EQ(bar(name)->value(), 0) << name;
    }
    for (const char* name : {"c_comboBox_inConn", "c_comboBox_outConn"}) {
        EXPECT_FALSE(list(name)->isEnabled()) << name;
    }
    for (const char* name : {"c_checkBox_inMute", "c_checkBox_outMute", "c_checkBox_micForce"}) {
        EXPECT_FALSE(box(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(action("a_record")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("c_button_recStart")->isEnabled());
    EXPECT_EQ(dialog->statusPanelText(1), "No mixer selected. Recording disabled");
}

// Speakers only, with an unnamed source, and no capture device of the card.
TEST_F(MixerSelection, SpeakersOnlyShowThePlaybackSideAndNoRecordingLine) {
    open({mixer("Card",
                {{line("Speakers", ct::speakers, {volume(32768)}),
                  {line("Wave", ct::sourceWaveOut, {volume(65535), SimulatedControl::mute(false)}),
                   line("", ct::sourceCompactDisc)}}})},
         {});
    EXPECT_EQ(list("c_comboBox_mixerIndex")->currentText(), "Card");
    EXPECT_EQ(label("c_label_out")->text(), "&Speakers");
    EXPECT_TRUE(bar("c_trackBar_outMain")->isEnabled());
    EXPECT_EQ(bar("c_trackBar_outMain")->value(), 50);

    // Sources are listed in reverse order; an unnamed one as an empty entry.
    QComboBox* sources = list("c_comboBox_outConn");
    ASSERT_EQ(sources->count(), 2);
    EXPECT_EQ(sources->itemText(0), "");
    EXPECT_EQ(sources->itemText(1), "Wave");
    EXPECT_EQ(sources->currentIndex(), 0);
    // The unnamed line has neither volume nor mute control.
    EXPECT_FALSE(bar("c_trackBar_out")->isEnabled());
    EXPECT_FALSE(box("c_checkBox_outMute")->isEnabled());
    EXPECT_TRUE(box("c_checkBox_outMute")->isChecked());

    choose("c_comboBox_outConn", "Wave");
    EXPECT_TRUE(bar("c_trackBar_out")->isEnabled());
    EXPECT_EQ(bar("c_trackBar_out")->value(), 100);
    EXPECT_TRUE(box("c_checkBox_outMute")->isEnabled());
    EXPECT_FALSE(box("c_checkBox_outMute")->isChecked());

    EXPECT_EQ(label("c_label_in")->text(), "No such line");
    EXPECT_FALSE(bar("c_trackBar_inMain")->isEnabled());
    EXPECT_FALSE(bar("c_trackBar_in")->isEnabled());
    EXPECT_FALSE(list("c_comboBox_inConn")->isEnabled());
    EXPECT_FALSE(box("c_checkBox_inMute")->isEnabled());
    EXPECT_FALSE(action("a_record")->isEnabled());
    EXPECT_EQ(dialog->statusPanelText(1), "Error waveIn device. Recording disabled");
    EXPECT_TRUE(driver->writes().empty()) << "showing a mixer changes nothing in it";
}

// With no wave-in destination, a line-type destination is the recording one.
TEST_F(MixerSelection, LineTypeDestinationIsTheRecordingLine) {
    open({mixer("Card", {destination(line("Speakers", ct::speakers)),
                         {line("Capture", ct::destinationLine, {volume(0)}),
                          {line("Line In", ct::sourceLine, {volume(65535)}),
                           line("", ct::sourceMicrophone, {volume(0)})}}})});
    EXPECT_EQ(label("c_label_in")->text(), "&Capture");
    EXPECT_TRUE(bar("c_trackBar_inMain")->isEnabled());
    QComboBox* sources = list("c_comboBox_inConn");
    ASSERT_EQ(sources->count(), 2);
    EXPECT_EQ(sources->itemText(0), "<Untitled Line>");
    EXPECT_EQ(sources->itemText(1), "Line In");
    EXPECT_TRUE(action("a_record")->isEnabled());
    EXPECT_EQ(dialog->testDevice().deviceId, 0);
}

TEST_F(MixerSelection, ChangingTheMixerStopsARunningTest) {
    open({mixer("First", {{line("Rec", ct::waveIn), {line("Line In", ct::sourceLine)}}}),
          mixer("Second", {{line("Rec", ct::waveIn), {line("Line In", ct::sourceLine)}}})},
         {0, 1});
    action("a_record")->trigger();
    ASSERT_TRUE(dialog->testDevice().isOpen());
    EXPECT_TRUE(action("a_stop")->isEnabled());

    list("c_comboBox_mixerIndex")->setCurrentIndex(1);
    EXPECT_FALSE(dialog->testDevice().isOpen());
    EXPECT_FALSE(action("a_stop")->isEnabled());
    EXPECT_TRUE(action("a_record")->isEnabled());
    EXPECT_EQ(dialog->testDevice().deviceId, 1);
}

// A second mixer without sources on its recording line must not keep the
// first one's source, box or bar.
TEST_F(MixerSelection, ALineOfTheMixerShownBeforeIsNotKept) {
    open({mixer("First", {{line("Rec", ct::waveIn, {SimulatedControl::mux({0}, 0)}),
                           {line("Line In", ct::sourceLine,
                                 {volume(65535), SimulatedControl::mute(true)})}}}),
          mixer("Second", {destination(line("Rec", ct::waveIn, {volume(0)}))})},
         {0, 1});
    ASSERT_EQ(dialog->recordingSource(), 0);
    ASSERT_TRUE(box("c_checkBox_inMute")->isEnabled());

    list("c_comboBox_mixerIndex")->setCurrentIndex(1);
    EXPECT_EQ(dialog->recordingSource(), -1);
    EXPECT_FALSE(box("c_checkBox_inMute")->isEnabled());
    EXPECT_FALSE(box("c_checkBox_inMute")->isChecked());
    EXPECT_FALSE(bar("c_trackBar_in")->isEnabled());
    EXPECT_TRUE(bar("c_trackBar_inMain")->isEnabled());
    EXPECT_TRUE(bar("c_trackBar_inMain")->isEnabled());
}

TEST_F(MixerSelection, LanguageStepSetsCaptionsAndHintsByControlName) {
    open({});
    EXPECT_TRUE(dialog->setCaption("c_form_main", "Seleccionar Entrada de Audio"));
    EXPECT_EQ(dialog->windowTitle(), "Seleccionar Entrada de Audio");
    EXPECT_TRUE(dialog->setCaption("c_checkBox_micForce", "Forzar a microfono"));
    EXPECT_EQ(box("c_checkBox_micForce")->text(), "Forzar a microfono");
    EXPECT_TRUE(dialog->setCaption("Label3", "Izquierda"));
    EXPECT_EQ(label("Label3")->text(), "Izquierda");
    EXPECT_TRUE(dialog->setCaption("c_button_recStart", "Te&st"));
    EXPECT_EQ(find<QPushButton>("c_button_recStart")->text(), "Te&st");
    EXPECT_TRUE(dialog->setHint("ImageMixer", "Open mixer (xp)"));
    EXPECT_EQ(find<QLabel>("ImageMixer")->toolTip(), "Open mixer (xp)");
    EXPECT_FALSE(dialog->setCaption("NoSuchControl", "x"));
}

}  // namespace
