#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWebEngineView;
class Tc_form_kp2DemoMain;
class TActualitza;

// The advertising panel: a browser in the main window's PanelWeb that loads
// the server's page at every showing until the page has carried the update
// marker, reads the page's description lines and, 1.5 s later, scans them.
class AdvertisingPanel : public QObject {
    Q_OBJECT

  public:
    // `isConnected` decides whether a showing loads the page.
    AdvertisingPanel(Tc_form_kp2DemoMain& window, TActualitza& updateDialog, const QUrl& serverBase,
                     std::function<bool(const QUrl&)> isConnected);

    // The panel as the program runs it: the server from the window's settings
    // and the system's connection check. Owned by the window.
    static AdvertisingPanel& attach(Tc_form_kp2DemoMain& window, TActualitza& updateDialog);

    QWebEngineView& browser() const { return *EmbeddedWB1_; }
    const QStringList& documentLines() const { return documentLines_; }
    QUrl advertisingPage() const;

    // ---- handlers (public for the tests) ----
    void FormShow();
    void EmbeddedWB1DocumentComplete();
    void timerpublicitatTimer();

  signals:
    void documentLinesRead();  // after each reading of the lines

  private:
    void readDocumentLines();
    void offerUpdate();

    Tc_form_kp2DemoMain& window_;
    TActualitza& updateDialog_;
    QUrl serverBase_;
    std::function<bool(const QUrl&)> isConnected_;
    QWebEngineView* EmbeddedWB1_ = nullptr;  // owned by PanelWeb
    QStringList documentLines_;
};
