#include <gtest/gtest.h>

#include "app/captions/caption_tables.h"
#include "app/main_window/product_links.h"

namespace {

using captions::CaptionProperty;
using captions::CaptionRow;
using captions::CaptionWindow;

const CaptionRow* rowFor(const std::vector<CaptionRow>& rows, const char* control,
                         CaptionProperty property) {
    for (const CaptionRow& row : rows) {
        if (row.control == QLatin1String(control) && row.property == property) {
            return &row;
        }
    }
    return nullptr;
}

TEST(CaptionTables, BothLanguagesSetTheSameControlsInTheSameOrder) {
    const auto spanish = captions::captionRows(u"es");
    const auto english = captions::captionRows(u"uk");
    ASSERT_EQ(spanish.size(), 40u);
    ASSERT_EQ(english.size(), spanish.size());
    for (std::size_t i = 0; i < spanish.size(); ++i) {
        EXPECT_EQ(spanish[i].window, english[i].window) << i;
        EXPECT_EQ(spanish[i].control, english[i].control) << i;
        EXPECT_EQ(spanish[i].property, english[i].property) << i;
        EXPECT_NE(spanish[i].text, english[i].text) << spanish[i].control.toStdString();
    }
    EXPECT_EQ(spanish.front().control, QStringLiteral("PdfManual"));
    EXPECT_EQ(spanish.back().control, QStringLiteral("ImageMixer"));
}

TEST(CaptionTables, TextsKeepTheirAccentsAmpersandsAndBlanks) {
    struct Case {
        const char16_t* code;
        const char* control;
        CaptionProperty property;
        QString text;
    };
    const Case cases[] = {
        {u"es", "c_sb_waveInStop", CaptionProperty::hint, QStringLiteral("Parar grabación")},
        {u"es", "Currencys", CaptionProperty::hint,
         QStringLiteral("Ajuste a milesima. 0,1 - 600s")},
        {u"uk", "Currencys", CaptionProperty::hint, QStringLiteral("Adjuste delay 0,1 - 600s")},
        {u"es", "Maximizar1", CaptionProperty::caption, QStringLiteral("M&aximizar")},
        {u"uk", "c_button_recStart", CaptionProperty::caption, QStringLiteral("Te&st")},
        {u"uk", "c_sb_waveInStart", CaptionProperty::hint, QStringLiteral("Go to start/delay")},
        {u"es", "c_form_main", CaptionProperty::caption,
         QStringLiteral("Seleccionar Entrada de Audio")},
        {u"uk", "c_form_main", CaptionProperty::caption, QStringLiteral("Audio Input select")},
    };
    for (const Case& c : cases) {
        const auto rows = captions::captionRows(c.code);
        const CaptionRow* row = rowFor(rows, c.control, c.property);
        ASSERT_NE(row, nullptr) << c.control;
        EXPECT_EQ(row->text, c.text) << c.control;
    }
}

TEST(CaptionTables, RecordingSourceRowsAreTheDialogsOwn) {
    for (const CaptionRow& row : captions::captionRows(u"es")) {
        const bool dialogControl =
            row.control == captions::recordingSourceFormName() ||
            QStringList{"Label5", "c_label_out",       "c_label_in",         "c_checkBox_micForce",
                        "Label1", "c_checkBox_inMute", "c_checkBox_outMute", "Label3",
                        "Label4", "c_button_recStart", "c_button_recStop",   "ImageMixer"}
                .contains(row.control);
        EXPECT_EQ(row.window == CaptionWindow::recordingSource, dialogControl)
            << row.control.toStdString();
    }
}

TEST(CaptionTables, BannerLinesInBothLanguages) {
    const QStringList spanish = captions::bannerLines(u"es");
    const QStringList english = captions::bannerLines(u"uk");
    ASSERT_EQ(spanish.size(), 8);
    ASSERT_EQ(english.size(), 8);
    EXPECT_EQ(spanish[0], QStringLiteral("¡ Vive el fútbol en su momento !"));
    EXPECT_EQ(spanish[1], product_links::kBaseUrl);
    EXPECT_EQ(spanish[4], QStringLiteral("una transmisión deportiva por la radio y al"));
    EXPECT_EQ(english[0], product_links::kBaseUrl);
    EXPECT_EQ(english[1], QStringLiteral("¿Would you like to listen Your Favorite Radio "));
    EXPECT_EQ(english[3], QStringLiteral("Now, with \"Quillanvero\""));
    EXPECT_EQ(english[5],
              QStringLiteral("what you´re watching. (Soccer, Basquetball, F1... etc..)"));
}

TEST(CaptionTables, UnknownCodesHaveNoTexts) {
    for (const char16_t* code : {u"", u"en", u"ES", u"es ", u"fr"}) {
        EXPECT_TRUE(captions::captionRows(code).empty());
        EXPECT_TRUE(captions::bannerLines(code).isEmpty());
    }
}

}  // namespace
