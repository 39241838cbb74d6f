#include "app/main_window/product_links.h"
#include "tests/app_captions/captions_fixture.h"

namespace {

using captions::CaptionRow;

class LanguageInBothWindows : public CaptionsTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(LanguageInBothWindows, EveryRowReachesItsControl) {
    const QString code = QString::fromLatin1(GetParam());
    createWindows();
    const QStringList missing = captions::applyLanguage(code, *window_, dialog_.get());
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char(' ')).toStdString();
    for (const CaptionRow& row : captions::captionRows(code)) {
        EXPECT_EQ(shown(row), row.text) << row.control.toStdString();
    }
}

TEST_P(LanguageInBothWindows, MenuItemSetsTheCodeAndBothWindows) {
    const QString code = QString::fromLatin1(GetParam());
    createWindows();
    window_->show();
    const char* item = code == QStringLiteral("es") ? "Espaol1" : "English1";
    // Start from the other language so the item has something to change.
    window_
        ->findChild<QAction*>(code == QStringLiteral("es") ? QStringLiteral("English1")
                                                           : QStringLiteral("Espaol1"))
        ->trigger();
    window_->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    EXPECT_EQ(window_->languageCode(), code);
    for (const CaptionRow& row : captions::captionRows(code)) {
        EXPECT_EQ(shown(row), row.text) << row.control.toStdString();
    }
    destroyWindows();
    EXPECT_EQ(storedLanguage(), code.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Captions, LanguageInBothWindows, ::testing::Values("es", "uk"));

TEST_F(CaptionsTest, UnknownCodeChangesNothing) {
    createWindows();
    const QMap<QString, QString> designed = allTexts();
    for (const char* code : {"", "en", "fr", "UK"}) {
        EXPECT_TRUE(
            captions::applyLanguage(QString::fromLatin1(code), *window_, dialog_.get()).isEmpty());
        EXPECT_EQ(allTexts(), designed) << code;
    }
    stepBanner(1);
    EXPECT_EQ(bannerText(), QString());
}

TEST_F(CaptionsTest, StoredEnglishShowsEnglishFirst) {
    storeLanguage("uk");
    createWindows();
    window_->show();
    for (const CaptionRow& row : captions::captionRows(u"uk")) {
        EXPECT_EQ(shown(row), row.text) << row.control.toStdString();
    }
    stepBanner(1);
    EXPECT_EQ(bannerText(), captions::bannerLines(u"uk")[0]);
}

TEST_F(CaptionsTest, NoStoredLanguageShowsSpanishAndStoresNothing) {
    createWindows();
    window_->show();
    for (const CaptionRow& row : captions::captionRows(u"es")) {
        EXPECT_EQ(shown(row), row.text) << row.control.toStdString();
    }
    EXPECT_TRUE(window_->languageCode().isEmpty());
    destroyWindows();
    EXPECT_EQ(storedLanguage(), "");
}

TEST_F(CaptionsTest, StoredUnknownCodeKeepsTheDesignedTextsAndAnEmptyBanner) {
    storeLanguage("de");
    createWindows();
    const QMap<QString, QString> designed = allTexts();
    window_->show();
    EXPECT_EQ(allTexts(), designed);
    stepBanner(1);
    EXPECT_EQ(bannerText(), QString());
}

TEST_F(CaptionsTest, BannerMovesAfterFortyThreeStepsAndComesBackAfterThreeHundredFortyTwo) {
    createWindows();
    window_->show();
    const QStringList lines = captions::bannerLines(u"es");
    EXPECT_EQ(bannerText(), product_links::kBaseUrl);  // the designed text until the first step
    stepBanner(42);
    EXPECT_EQ(bannerText(), lines[0]);
    stepBanner(1);
    EXPECT_EQ(bannerText(), lines[1]);
    stepBanner(342 - 43);
    EXPECT_EQ(bannerText(), lines[0]);
}

TEST_F(CaptionsTest, LanguageChangeKeepsTheBannerPhase) {
    createWindows();
    window_->show();
    stepBanner(100);  // line 2
    window_->English1Click();
    stepBanner(1);
    EXPECT_EQ(bannerText(), captions::bannerLines(u"uk")[2]);
}

TEST_F(CaptionsTest, DialogGoneBeforeTheWindowIsSkipped) {
    createWindows();
    dialog_.reset();
    window_->English1Click();
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("Labelret"))->text(),
              QStringLiteral("Delay"));
}

}  // namespace
