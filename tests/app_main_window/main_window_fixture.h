#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QMetaObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/main_window/main_window.h"
#include "framework/ini/ini_file.h"
#include "platform/wave/simulated_wave_driver.h"

// A main window over simulated sound cards, a settings file of its own and
// services that record instead of showing dialogs.
class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest()
        : driver_(std::make_shared<platform::SimulatedWaveDriver>()), scoped_(driver_) {}

    void addDevices(platform::WaveDirection direction, int count) {
        for (int i = 0; i < count; ++i) {
            platform::SimulatedDeviceConfig config;
            config.name = "Card " + std::to_string(i);
            driver_->addDevice(direction, config);
        }
    }

    std::string settingsPath() const {
        return scratch_.filePath(QStringLiteral("settings.ini")).toStdString();
    }

    // A value in the settings file before the window reads it.
    void store(const std::string& section, const std::string& key, const std::string& value) {
        unaIniFile file(settingsPath());
        file.setSection(section);
        file.setString(key, value);
    }

    std::string stored(const std::string& section, const std::string& key) {
        unaIniFile file(settingsPath());
        file.setSection(section);
        return file.getString(key, "<absent>");
    }

    QString settingsText() const {
        QFile file(QString::fromStdString(settingsPath()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    MainWindowServices services() {
        MainWindowServices s;
        s.askWavFileName = [this](QWidget*, const QString& folder) {
            wavFolders_.push_back(folder);
            return wavAnswer_;
        };
        s.askSkinFileName = [this](QWidget*, const QString&) { return skinAnswer_; };
        s.showNotice = [this](QWidget*, const QString& text) { notices_.push_back(text); };
        s.openUrl = [this](const QUrl& url) { urls_.push_back(url.toString()); };
        s.screenSize = [] { return QSize(1024, 768); };
        s.settingsFileName = settingsPath();
        return s;
    }

    Tc_form_kp2DemoMain& createWindow() {
        window_ = std::make_unique<Tc_form_kp2DemoMain>(services());
        return *window_;
    }
    void destroyWindow() { window_.reset(); }
    Tc_form_kp2DemoMain& window() { return *window_; }

    template <typename T>
    T* child(const char* name) {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // One timeout of a timer, without waiting for it.
    static void fire(QTimer& timer) { QMetaObject::invokeMethod(&timer, "timeout"); }

    QTemporaryDir scratch_;
    std::shared_ptr<platform::SimulatedWaveDriver> driver_;
    platform::ScopedWaveDriver scoped_;
    std::unique_ptr<Tc_form_kp2DemoMain> window_;
    QString wavAnswer_, skinAnswer_;
    QStringList wavFolders_, notices_, urls_;
};
