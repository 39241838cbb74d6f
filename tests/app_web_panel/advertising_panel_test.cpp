#include <QSignalSpy>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/web_panel/update_dialog.h"
#include "app/web_panel/web_panel.h"
#include "tests/app_web_panel/local_http_server.h"
#include "tests/app_web_panel/window_fixture.h"

namespace {

constexpr int kPageTimeoutMs = 30000;  // the browser's first start is slow on a loaded machine

// The main window with the panel over the local server: the page, the lines
// read from it and the scan, the browser as the program runs it.
class AdvertisingPanelTest : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.listening());
        createWindow();
        dialog = std::make_unique<TActualitza>(
            server.base(), UpdateServices{[](const QUrl&, const QString&) { return false; },
                                          [](const QString&) { return true; }});
        panel = new AdvertisingPanel(*window_, *dialog, server.base(),
                                     [this](const QUrl&) { return connected; });
    }

    void servePage(const QString& title, const QByteArray& script = {}) {
        server.answer(QStringLiteral("/publicidad.htm"),
                      {200,
                       "<html><head><title>" + title.toUtf8() + "</title><script>" + script +
                           "</script></head><body><p>Radio in step</p></body></html>",
                       "text/html"});
    }

    // Shows the window and waits until the page's lines have been read.
    bool showAndRead() {
        QSignalSpy read(panel, &AdvertisingPanel::documentLinesRead);
        window_->show();
        return read.wait(kPageTimeoutMs);
    }

    LocalHttpServer server;
    std::unique_ptr<TActualitza> dialog;
    AdvertisingPanel* panel = nullptr;  // owned by the window
    bool connected = true;
};

TEST_F(AdvertisingPanelTest, BrowserShowsNoScrollBarsAndNoContextMenu) {
    QWebEngineView& browser = panel->browser();
    EXPECT_EQ(browser.objectName(), QStringLiteral("EmbeddedWB1"));
    EXPECT_EQ(browser.contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(browser.settings()->testAttribute(QWebEngineSettings::ShowScrollBars));
    EXPECT_EQ(panel->advertisingPage(), server.base().resolved(QUrl("publicidad.htm")));
}

TEST_F(AdvertisingPanelTest, PageWithTheOwnVersionShowsThePanel) {
    servePage(QStringLiteral("Quillanvero_1.0"));
    if (!showAndRead()) {
        GTEST_SKIP() << "the embedded browser did not load a page here";
    }
    const QStringList& lines = panel->documentLines();
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], QStringLiteral("Current Url: ") + panel->advertisingPage().toString());
    EXPECT_EQ(lines[1], QStringLiteral("Current Title: Quillanvero_1.0"));
    EXPECT_EQ(lines[11], QStringLiteral("Protocol: http:"));
    EXPECT_TRUE(window_->adTimer().isActive());
    EXPECT_FALSE(panelShown());  // not before the scan
    QMetaObject::invokeMethod(&window_->adTimer(), "timeout");
    EXPECT_TRUE(window_->markerFound);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(connection(), QStringLiteral("Connected"));
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(AdvertisingPanelTest, PageWithoutMarkerKeepsThePanelHiddenAndLoadsAgainAtTheNextShow) {
    servePage(QStringLiteral("Radio"));
    if (!showAndRead()) {
        GTEST_SKIP() << "the embedded browser did not load a page here";
    }
    QMetaObject::invokeMethod(&window_->adTimer(), "timeout");
    EXPECT_FALSE(window_->markerFound);
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(connection(), QStringLiteral("Not connected"));
    window_->hide();
    ASSERT_TRUE(showAndRead());
    EXPECT_EQ(server.requested().count(QStringLiteral("/publicidad.htm")), 2);
}

struct PageCase {
    const char* name;
    const char* title;
    QByteArray script;
    bool offered;
};

class PageMarker : public AdvertisingPanelTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageMarker, MarkerInThePageShowsThePanelOrOffersTheUpdate) {
    const PageCase& c = GetParam();
    servePage(QString::fromUtf8(c.title), c.script);
    if (!showAndRead()) {
        GTEST_SKIP() << "the embedded browser did not load a page here";
    }
    bool dialogShown = false;
    // The dialog is modal: dismiss it as soon as its own loop runs.
    QTimer::singleShot(0, dialog.get(), [&] {
        dialogShown = dialog->isVisible();
        dialog->reject();
    });
    QMetaObject::invokeMethod(&window_->adTimer(), "timeout");
    EXPECT_TRUE(window_->markerFound);
    EXPECT_EQ(dialogShown, c.offered);
    EXPECT_EQ(window_->isVisible(), !c.offered);  // the program closes after the dialog
    if (!c.offered) {
        EXPECT_TRUE(panelShown());
        EXPECT_EQ(connection(), QStringLiteral("Connected"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageMarker,
    ::testing::Values(PageCase{"OlderVersion", "Quillanvero_0.9", {}, true},
                      PageCase{"Unreadable", "Quillanvero_abc", {}, false},
                      PageCase{"ReadAsOnePointOne", "Quillanvero_1.15", {}, true},
                      PageCase{"TrailingBlanks", "Quillanvero_2  ", {}, true},
                      PageCase{"OnlyTheFirstLineCounts", "Quillanvero_1.0",
                               "document.cookie = 'v=Quillanvero_2.0';", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, AttachedPanelUsesTheServerFromTheSettings) {
    LocalHttpServer server;
    {
        unaIniFile settings(settingsPath());
        settings.setSection("main");
        settings.setString("serverUrl", server.base().toString().toStdString());
    }
    createWindow();
    TActualitza dialog(server.base());
    AdvertisingPanel& panel = AdvertisingPanel::attach(*window_, dialog);
    EXPECT_EQ(panel.parent(), window_.get());
    EXPECT_EQ(panel.advertisingPage(), server.base().resolved(QUrl("publicidad.htm")));
}

TEST_F(AdvertisingPanelTest, NoConnectionLoadsNothing) {
    connected = false;
    servePage(QStringLiteral("Quillanvero_1.0"));
    window_->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.requested().isEmpty());
    EXPECT_FALSE(panelShown());
}

TEST_F(AdvertisingPanelTest, MarkerFoundEarlierLoadsNoMore) {
    window_->markerFound = true;
    panel->FormShow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.requested().isEmpty());
}

}  // namespace
