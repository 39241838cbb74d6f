#include "app/web_panel/web_panel.h"

#include <QFrame>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/main_window/main_window.h"
#include "app/main_window/product_links.h"
#include "app/web_panel/internet_connection.h"
#include "app/web_panel/server_address.h"
#include "app/web_panel/update_check.h"
#include "app/web_panel/update_dialog.h"

namespace {

constexpr int kDialogOffsetX = 100;
constexpr int kDialogOffsetY = 200;

// The page's description, one "Name: value" line each; the marker may stand
// in any value.
const QString kDescribeDocument = QStringLiteral(R"JS(
(function () {
  try {
    var d = document, e = d.documentElement || {};
    var value = function (v) { return v === undefined || v === null ? '' : String(v); };
    return [
      'Current Url: ' + value(d.URL),
      'Current Title: ' + value(d.title),
      'Scroll Height: ' + value(e.scrollHeight),
      'Scroll Width: ' + value(e.scrollWidth),
      'Scroll Top: ' + value(e.scrollTop),
      'Scroll Left: ' + value(e.scrollLeft),
      'Client Height: ' + value(e.clientHeight),
      'Client Width: ' + value(e.clientWidth),
      'Referrer: ' + value(d.referrer),
      'Cookie: ' + value(d.cookie),
      'Last Modified: ' + value(d.lastModified),
      'Protocol: ' + value(location.protocol),
      'Default Charset: ' + value(d.characterSet),
      'Unique ID: ',
      'File Size: ',
      'File Created Date: '
    ];
  } catch (error) {
    return ['It looks like there are errors on the page HTML code!'];
  }
})()
)JS");

QFrame& panelWeb(Tc_form_kp2DemoMain& window) {
    auto* panel = window.findChild<QFrame*>(QStringLiteral("PanelWeb"));
    Q_ASSERT(panel != nullptr);
    return *panel;
}

}  // namespace

AdvertisingPanel::AdvertisingPanel(Tc_form_kp2DemoMain& window, TActualitza& updateDialog,
                                   const QUrl& serverBase,
                                   std::function<bool(const QUrl&)> isConnected)
    : QObject(&window),
      window_(window),
      updateDialog_(updateDialog),
      serverBase_(serverBase),
      isConnected_(std::move(isConnected)) {
    QFrame& panel = panelWeb(window);
    auto* layout = panel.layout() != nullptr ? panel.layout() : new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    EmbeddedWB1_ = new QWebEngineView(&panel);
    EmbeddedWB1_->setObjectName(QStringLiteral("EmbeddedWB1"));
    EmbeddedWB1_->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* settings = EmbeddedWB1_->settings();
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    layout->addWidget(EmbeddedWB1_);

    connect(EmbeddedWB1_, &QWebEngineView::loadFinished, this,
            [this](bool) { EmbeddedWB1DocumentComplete(); });
    connect(&window.adTimer(), &QTimer::timeout, this, &AdvertisingPanel::timerpublicitatTimer);
    window.setShowStep([this] { FormShow(); });
}

AdvertisingPanel& AdvertisingPanel::attach(Tc_form_kp2DemoMain& window, TActualitza& updateDialog) {
    // The window owns the panel as its child object.
    return *new AdvertisingPanel(window, updateDialog, product_links::baseUrl(window.settings()),
                                 isInternetConnected);
}

QUrl AdvertisingPanel::advertisingPage() const {
    return server_address::file(serverBase_, QLatin1String(server_address::kAdvertisingPage));
}

void AdvertisingPanel::FormShow() {
    if (!window_.markerFound && isConnected_(serverBase_)) {
        EmbeddedWB1_->load(advertisingPage());
    }
}

void AdvertisingPanel::EmbeddedWB1DocumentComplete() {
    if (window_.markerFound) {
        panelWeb(window_).setVisible(true);
        return;
    }
    readDocumentLines();
}

void AdvertisingPanel::readDocumentLines() {
    EmbeddedWB1_->page()->runJavaScript(kDescribeDocument, [this](const QVariant& result) {
        documentLines_ = result.toStringList();
        window_.adTimer().start();
        emit documentLinesRead();
    });
}

void AdvertisingPanel::timerpublicitatTimer() {
    runMarkerScan(window_, documentLines_, [this] { offerUpdate(); });
}

void AdvertisingPanel::offerUpdate() {
    updateDialog_.move(window_.x() + kDialogOffsetX, window_.y() + kDialogOffsetY);
    updateDialog_.exec();
}
