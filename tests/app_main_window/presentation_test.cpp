#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "app/main_window/opacity_form.h"
#include "app/main_window/skin_engine.h"
#include "main_window_fixture.h"

namespace {

TEST_F(MainWindowTest, CompactModeIsAStripAtTheTopRight) {
    createWindow();
    window().show();
    window().Minimizar1Click();
    EXPECT_EQ(window().pos(), QPoint(834, 1));
    EXPECT_EQ(window().outerSize(), QSize(190, 600));
    EXPECT_FALSE(child<QFrame>("PanelPlayRecord")->isVisibleTo(&window()));
    EXPECT_FALSE(child<QStatusBar>("c_statusBar_main")->isVisibleTo(&window()));
    EXPECT_FALSE(child<QAction>("Minimizar1")->isVisible());
    EXPECT_TRUE(child<QAction>("Maximizar1")->isVisible());
}

TEST_F(MainWindowTest, FullModeComesBackCentredAtTheDesignedSize) {
    createWindow();
    window().show();
    window().Minimizar1Click();
    int shows = 0;
    window().setShowStep([&shows] { ++shows; });
    window().JvTrayIcon1DblClick();
    EXPECT_EQ(window().pos(), QPoint(1024 / 2 - 300, 768 / 2 - 220));
    EXPECT_EQ(window().outerSize(), QSize(600, 440));
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(child<QFrame>("PanelPlayRecord")->isVisible());
    EXPECT_TRUE(child<QStatusBar>("c_statusBar_main")->isVisible());
    EXPECT_TRUE(child<QAction>("Minimizar1")->isVisible());
    EXPECT_FALSE(child<QAction>("Maximizar1")->isVisible());
    EXPECT_EQ(shows, 1);  // showing again runs the show step
}

TEST_F(MainWindowTest, OpacityTrackSetsTheWindowAlpha) {
    createWindow();
    auto* track = child<QSlider>("TrackOpaciti");
    struct Step {
        int position;
        bool active;
        int alpha;
        const char* hint;
    };
    for (const Step& step : {Step{50, true, 205, "30 %"}, Step{100, true, 155, "80 %"},
                             Step{21, true, 234, "1 %"}, Step{20, false, 255, "0 %"}}) {
        track->setValue(step.position);
        EXPECT_EQ(window().opacityHelper().Active(), step.active) << step.position;
        EXPECT_EQ(window().opacityHelper().alpha(), step.alpha) << step.position;
        EXPECT_NEAR(window().windowOpacity(), step.alpha / 255.0, 0.01) << step.position;
        EXPECT_EQ(track->toolTip(), QString::fromLatin1(step.hint));
    }
}

TEST_F(MainWindowTest, OpacityMenuItemToggles) {
    createWindow();
    auto* item = child<QAction>("Intensity1");
    window().Intensity1Click();
    EXPECT_EQ(child<QSlider>("TrackOpaciti")->value(), 50);
    EXPECT_EQ(window().opacityHelper().alpha(), 205);
    EXPECT_EQ(item->text(), QStringLiteral("&Opaco 100%"));
    window().Intensity1Click();
    EXPECT_EQ(child<QSlider>("TrackOpaciti")->value(), 20);
    EXPECT_FALSE(window().opacityHelper().Active());
    EXPECT_EQ(item->text(), QStringLiteral("&Opaco 50%"));
}

TEST(OpacityForm, LevelChangesAreAnnouncedAndBounded) {
    QWidget owner;
    TOpacityForm helper(&owner);
    std::vector<int> seenBefore;
    helper.OnChage = [&](QObject* sender) {
        EXPECT_EQ(sender, &owner);
        seenBefore.push_back(helper.Level());
    };
    helper.setLevel(40);
    helper.setLevel(40);   // unchanged
    helper.setLevel(256);  // out of range
    helper.setLevel(-1);
    helper.setLevel(0);
    EXPECT_EQ(seenBefore, (std::vector<int>{0, 40}));
    EXPECT_THROW(TOpacityForm(nullptr), std::invalid_argument);
}

TEST_F(MainWindowTest, SkinFilesReplaceTheBuiltInSkin) {
    createWindow();
    SkinEngine& skins = window().skinEngine();
    EXPECT_TRUE(skins.isActive());
    EXPECT_EQ(skins.styleSheet(), SkinEngine::builtInStyleSheet());
    EXPECT_FALSE(skins.styleSheet().isEmpty());

    skinAnswer_ = QStringLiteral(QV_SOURCE_DIR "/data/skins/night.skn");
    window().LoadBtnClick();
    EXPECT_TRUE(skins.styleSheet().contains(QStringLiteral("Night")));
    EXPECT_EQ(window().styleSheet(), skins.styleSheet());
    destroyWindow();
    EXPECT_EQ(stored("skin", "skin"), skinAnswer_.toStdString());

    createWindow();  // the stored skin comes back
    EXPECT_TRUE(window().skinEngine().styleSheet().contains(QStringLiteral("Night")));
}

TEST_F(MainWindowTest, UnreadableSkinFileKeepsTheBuiltInSkin) {
    store("skin", "skin", "/nonexistent/broken.skn");
    createWindow();
    EXPECT_EQ(window().skinEngine().styleSheet(), SkinEngine::builtInStyleSheet());
}

TEST_F(MainWindowTest, DefaultSkinNoticesClearsAndCloses) {
    store("skin", "skin", QV_SOURCE_DIR "/data/skins/meadow.skn");
    createWindow();
    window().show();
    window().DefaultSkin1Click();
    EXPECT_EQ(notices_, QStringList{QStringLiteral("Debe reeniciar el programa...")});
    EXPECT_FALSE(window().isVisible());
    destroyWindow();
    EXPECT_EQ(stored("skin", "skin"), "");
}

TEST_F(MainWindowTest, LinksOpenTheSiteAndTheManual) {
    createWindow();
    window().SpeedlogoClick();
    window().PdfManualClick();
    ASSERT_EQ(urls_.size(), 2);
    EXPECT_TRUE(urls_[0].startsWith(QStringLiteral("https://")));
    EXPECT_EQ(urls_[1], urls_[0] + QStringLiteral("quillanverosoftware.pdf"));
}

TEST_F(MainWindowTest, LinksFollowTheStoredServer) {
    store("main", "serverUrl", "http://127.0.0.1:8123/site");
    createWindow();
    window().SpeedlogoClick();
    window().PdfManualClick();
    EXPECT_EQ(urls_,
              (QStringList{QStringLiteral("http://127.0.0.1:8123/site/"),
                           QStringLiteral("http://127.0.0.1:8123/site/quillanverosoftware.pdf")}));
}

TEST_F(MainWindowTest, ShowingAppliesTheStoredLanguageOrSpanish) {
    QStringList applied;
    createWindow();
    window().setLanguageStep([&applied](const QString& code) { applied.push_back(code); });
    window().show();
    window().English1Click();
    EXPECT_EQ(applied, (QStringList{QStringLiteral("es"), QStringLiteral("uk")}));
    EXPECT_EQ(window().languageCode(), QStringLiteral("uk"));
}

TEST_F(MainWindowTest, BannerRotatesThroughItsLines) {
    createWindow();
    window().bannerTimer().stop();
    QStringList lines;
    for (int i = 0; i < 8; ++i) {
        lines.push_back(QString::number(i));
    }
    window().setBannerLines(lines);
    auto* banner = child<QLabel>("Panel1");
    window().Timer_bannerTimer();
    EXPECT_EQ(banner->text(), QStringLiteral("0"));
    for (int step = 1; step < 43; ++step) {
        window().Timer_bannerTimer();
    }
    EXPECT_EQ(banner->text(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, RecordingSourceButtonRunsTheWiredDialog) {
    createWindow();
    window().SpeedButton1Click();  // nothing wired: nothing happens
    int opened = 0;
    window().setRecordingSourceOpener([&opened] { ++opened; });
    child<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, AdvertisingPanelIsAHiddenPlaceholderAndTheTimersAreSet) {
    createWindow();
    window().show();
    EXPECT_FALSE(child<QFrame>("PanelWeb")->isVisible());
    EXPECT_EQ(window().adTimer().interval(), 1500);
    EXPECT_TRUE(window().adTimer().isSingleShot());
    EXPECT_FALSE(window().adTimer().isActive());
    EXPECT_TRUE(window().bannerTimer().isActive());
    EXPECT_EQ(window().bannerTimer().interval(), 200);
}

}  // namespace
