#pragma once

#include <QSize>
#include <QString>
#include <QUrl>
#include <functional>
#include <string>

class QWidget;

// Everything of the main window that would block or reach outside the
// process: dialogs, message boxes, the desktop's URL handler, the screen and
// the settings file. The program takes system(); tests replace members.
struct MainWindowServices {
    // The WAV save dialog; the chosen file name, empty when cancelled.
    std::function<QString(QWidget* parent, const QString& initialDirectory)> askWavFileName;
    // The skin file dialog; the chosen file name, empty when cancelled.
    std::function<QString(QWidget* parent, const QString& initialDirectory)> askSkinFileName;
    // A notice with an OK button (the default skin's restart notice).
    std::function<void(QWidget* parent, const QString& text)> showNotice;
    std::function<void(const QUrl& url)> openUrl;
    // Size of the screen the window lives on.
    std::function<QSize()> screenSize;
    // The settings file; empty: the program's own settings file.
    std::string settingsFileName;

    static MainWindowServices system();
};
