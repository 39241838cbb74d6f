#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMap>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "app/captions/caption_applier.h"
#include "app/main_window/main_window.h"
#include "app/mixer_dialog/mixer_dialog.h"
#include "framework/ini/ini_file.h"
#include "platform/mixer/simulated_mixer.h"
#include "platform/wave/simulated_wave_driver.h"

// The main window and the recording-source dialog over simulated cards, with
// the caption step installed, and a settings file of their own.
class CaptionsTest : public ::testing::Test {
  protected:
    CaptionsTest()
        : waveDriver_(std::make_shared<platform::SimulatedWaveDriver>()), scoped_(waveDriver_) {}

    std::string settingsPath() const {
        return scratch_.filePath(QStringLiteral("settings.ini")).toStdString();
    }

    void storeLanguage(const std::string& code) {
        unaIniFile file(settingsPath());
        file.setSection("form");
        file.setString("language", code);
    }
    std::string storedLanguage() {
        unaIniFile file(settingsPath());
        file.setSection("form");
        return file.getString("language", "<absent>");
    }

    void createWindows() {
        MainWindowServices services;
        services.askWavFileName = [](QWidget*, const QString&) { return QString(); };
        services.askSkinFileName = [](QWidget*, const QString&) { return QString(); };
        services.showNotice = [](QWidget*, const QString&) {};
        services.openUrl = [](const QUrl&) {};
        services.screenSize = [] { return QSize(1024, 768); };
        services.settingsFileName = settingsPath();
        dialog_ =
            std::make_unique<Tc_form_main>(std::make_shared<qv::platform::SimulatedMixerDriver>(
                std::vector<qv::platform::SimulatedMixer>{}));
        window_ = std::make_unique<Tc_form_kp2DemoMain>(services);
        window_->bannerTimer().stop();  // the tests step the banner themselves
        captions::installLanguageStep(*window_, dialog_.get());
    }
    void destroyWindows() {
        window_.reset();
        dialog_.reset();
    }

    // Every text a caption row could touch, by window and object name.
    QMap<QString, QString> allTexts() const {
        QMap<QString, QString> texts;
        const auto collect = [&texts](const QString& prefix, QWidget& root) {
            texts[prefix + QStringLiteral("title")] = root.windowTitle();
            for (QWidget* widget : root.findChildren<QWidget*>()) {
                QString text = widget->toolTip();
                if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                    text += QLatin1Char('|') + button->text();
                } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                    text += QLatin1Char('|') + label->text();
                }
                texts[prefix + widget->objectName()] += text;
            }
            for (QAction* action : root.findChildren<QAction*>()) {
                texts[prefix + action->objectName()] += action->text() + action->toolTip();
            }
        };
        collect(QStringLiteral("main/"), *window_);
        collect(QStringLiteral("dialog/"), *dialog_);
        return texts;
    }

    // The caption or hint a row sets, read back from its window.
    QString shown(const captions::CaptionRow& row) const {
        QWidget& root = row.window == captions::CaptionWindow::main
                            ? static_cast<QWidget&>(*window_)
                            : static_cast<QWidget&>(*dialog_);
        const bool caption = row.property == captions::CaptionProperty::caption;
        if (root.objectName() == row.control) {
            return caption ? root.windowTitle() : root.toolTip();
        }
        if (auto* widget = root.findChild<QWidget*>(row.control)) {
            if (!caption) {
                return widget->toolTip();
            }
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                return button->text();
            }
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                return label->text();
            }
            return QStringLiteral("<no caption>");
        }
        if (auto* action = root.findChild<QAction*>(row.control)) {
            return caption ? action->text() : action->toolTip();
        }
        return QStringLiteral("<missing>");
    }

    QString bannerText() const {
        return window_->findChild<QLabel*>(QStringLiteral("Panel1"))->text();
    }
    void stepBanner(int steps) {
        for (int i = 0; i < steps; ++i) {
            QMetaObject::invokeMethod(&window_->bannerTimer(), "timeout");
        }
    }

    QTemporaryDir scratch_;
    std::shared_ptr<platform::SimulatedWaveDriver> waveDriver_;
    platform::ScopedWaveDriver scoped_;
    std::unique_ptr<Tc_form_main> dialog_;
    std::unique_ptr<Tc_form_kp2DemoMain> window_;
};
