// What only presents: window modes, opacity, skins, language, banner, links.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "app/main_window/main_window.h"
#include "app/main_window/opacity_form.h"
#include "app/main_window/product_links.h"
#include "app/main_window/skin_engine.h"

namespace {

constexpr int kPanelWebWidth = 185;
constexpr int kPanelWebBorder = 5;
constexpr int kCompactMinHeight = 320;
constexpr int kCompactHeight = 600;
constexpr int kFullMinHeight = 440;
constexpr int kFullWidth = 600;
constexpr int kFullHeight = 440;
constexpr int kMinWidth = 190;
constexpr int kOpacityOff = 20;
constexpr int kOpacityHalf = 50;

}  // namespace

void Tc_form_kp2DemoMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) {
        return;  // the window manager restoring the window is no new showing
    }
    const QString code = languageCode();
    applyLanguage(code.isEmpty() ? QStringLiteral("es") : code);
    if (showStep_) {
        showStep_();
    }
}

QString Tc_form_kp2DemoMain::languageCode() const {
    return QString::fromStdString(session_.config().language);
}

void Tc_form_kp2DemoMain::setLanguageCode(const QString& code) {
    session_.config().language = code.toStdString();
}

void Tc_form_kp2DemoMain::applyLanguage(const QString& code) {
    if (languageStep_) {
        languageStep_(code);
    }
}

void Tc_form_kp2DemoMain::Espaol1Click() {
    setLanguageCode(QStringLiteral("es"));
    applyLanguage(QStringLiteral("es"));
}

void Tc_form_kp2DemoMain::English1Click() {
    setLanguageCode(QStringLiteral("uk"));
    applyLanguage(QStringLiteral("uk"));
}

void Tc_form_kp2DemoMain::SpeedlangClick() {
    MenuLanguage_->popup(QPoint(x() + Speedlang_->x(), y() + Speedlang_->y() + 45));
}

void Tc_form_kp2DemoMain::Timer_bannerTimer() {
    bannerPhase_ += 3;
    const auto line = qsizetype((bannerPhase_ >> 7) & 7);
    Panel1_->setText(line < bannerLines_.size() ? bannerLines_[line] : QString());
}

QString Tc_form_kp2DemoMain::statusPanelText(int panel) const {
    return panel >= 0 && size_t(panel) < statusPanels_.size() ? statusPanels_[size_t(panel)]->text()
                                                              : QString();
}

void Tc_form_kp2DemoMain::setStatusPanelText(int panel, const QString& text) {
    if (panel >= 0 && size_t(panel) < statusPanels_.size()) {
        statusPanels_[size_t(panel)]->setText(text);
    }
}

// ---- window modes ----

void Tc_form_kp2DemoMain::Minimizar1Click() {
    Minimizar1_->setVisible(false);
    Maximizar1_->setVisible(true);
    setSizeLimits(kMinWidth, kCompactMinHeight);
    setOuterSize(std::max(kPanelWebWidth, kMinWidth), outerSize().height());
    PanelPlayRecord_->setVisible(false);
    PanelWeb_->setContentsMargins(0, 0, 0, 0);
    c_statusBar_main_->setVisible(false);
    const QSize screen = services_.screenSize ? services_.screenSize() : QSize(1024, 768);
    move(screen.width() - kPanelWebWidth - kPanelWebBorder, 1);
    setOuterSize(outerSize().width(), kCompactHeight);
}

void Tc_form_kp2DemoMain::Maximizar1Click() {
    Minimizar1_->setVisible(true);
    Maximizar1_->setVisible(false);
    hide();
    setSizeLimits(kMinWidth, kFullMinHeight);
    const QSize screen = services_.screenSize ? services_.screenSize() : QSize(1024, 768);
    move(screen.width() / 2 - 300, screen.height() / 2 - 220);
    c_statusBar_main_->setVisible(true);
    PanelPlayRecord_->setVisible(true);
    PanelWeb_->setContentsMargins(kPanelWebBorder, kPanelWebBorder, kPanelWebBorder,
                                  kPanelWebBorder);
    setOuterSize(outerSize().width(), kFullHeight);
    setOuterSize(kFullWidth, outerSize().height());
    show();
}

// ---- opacity ----

void Tc_form_kp2DemoMain::TrackOpacitiChange() {
    const int position = TrackOpaciti_->value();
    TrackOpaciti_->setToolTip(QString::number(position - kOpacityOff) + QStringLiteral(" %"));
    if (position == kOpacityOff) {
        opacityHelper_->setActive(false);
    } else {
        opacityHelper_->setLevel(position);
        opacityHelper_->setActive(true);
    }
}

void Tc_form_kp2DemoMain::Intensity1Click() {
    const bool wasActive = opacityHelper_->Active();
    opacityHelper_->setActive(!wasActive);
    TrackOpaciti_->setValue(wasActive ? kOpacityOff : kOpacityHalf);
    Intensity1_->setText(wasActive ? QStringLiteral("&Opaco 50%") : QStringLiteral("&Opaco 100%"));
}

// ---- skins ----

void Tc_form_kp2DemoMain::LoadBtnClick() {
    const QString chosen =
        services_.askSkinFileName ? services_.askSkinFileName(this, skinDirectory_) : QString();
    if (chosen.isEmpty()) {
        return;
    }
    skin_->setSkinFile(chosen);
    if (!skin_->isActive()) {
        skin_->activate();
    }
}

void Tc_form_kp2DemoMain::DefaultSkin1Click() {
    if (services_.showNotice) {
        services_.showNotice(this, QStringLiteral("Debe reeniciar el programa..."));
    }
    skin_->setSkinFile(QString());
    close();
}

// ---- links and exit ----

void Tc_form_kp2DemoMain::SpeedlogoClick() {
    if (services_.openUrl) {
        services_.openUrl(product_links::baseUrl(settings()));
    }
}

void Tc_form_kp2DemoMain::PdfManualClick() {
    if (services_.openUrl) {
        services_.openUrl(product_links::manual(product_links::baseUrl(settings())));
    }
}

void Tc_form_kp2DemoMain::Sortir1Click() {
    close();
}
