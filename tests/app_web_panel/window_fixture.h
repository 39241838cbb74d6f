#pragma once

#include <gtest/gtest.h>

#include <QFrame>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window/main_window.h"
#include "framework/ini/ini_file.h"
#include "platform/wave/simulated_wave_driver.h"

// A main window over simulated sound cards with a settings file of its own.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest()
        : waveDriver_(std::make_shared<platform::SimulatedWaveDriver>()), scoped_(waveDriver_) {}

    std::string settingsPath() const {
        return scratch_.filePath(QStringLiteral("settings.ini")).toStdString();
    }

    Tc_form_kp2DemoMain& createWindow() {
        MainWindowServices services;
        services.askWavFileName = [](QWidget*, const QString&) { return QString(); };
        services.askSkinFileName = [](QWidget*, const QString&) { return QString(); };
        services.showNotice = [](QWidget*, const QString&) {};
        services.openUrl = [](const QUrl&) {};
        services.screenSize = [] { return QSize(1024, 768); };
        services.settingsFileName = settingsPath();
        window_ = std::make_unique<Tc_form_kp2DemoMain>(services);
        window_->bannerTimer().stop();
        return *window_;
    }

    bool panelShown() const {
        return !window_->findChild<QFrame*>(QStringLiteral("PanelWeb"))->isHidden();
    }
    QString connection() const { return window_->statusPanelText(1); }

    QTemporaryDir scratch_;
    std::shared_ptr<platform::SimulatedWaveDriver> waveDriver_;
    platform::ScopedWaveDriver scoped_;
    std::unique_ptr<Tc_form_kp2DemoMain> window_;
};
