#include "app/entry/window_program.h"

#include <unistd.h>

#include <QApplication>

#include "app/captions/caption_applier.h"
#include "app/headless/headless_runner.h"
#include "app/main_window/main_window.h"
#include "app/main_window/product_links.h"
#include "app/mixer_dialog/mixer_dialog.h"
#include "app/web_panel/update_dialog.h"
#include "app/web_panel/web_panel.h"

int runWindowProgram(int argc, char** argv, const CommandLine& commandLine) {
    // The embedded browser refuses to start as root with its sandbox on; a
    // sandbox cannot confine root anyway.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // the embedded web page needs it
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuillanveroSoftware v.1.0.10"));
    quitOnTerminationSignals();  // a logout or kill still saves the settings

    MainWindowServices services = MainWindowServices::system();
    if (commandLine.settingsFile) {
        services.settingsFileName = *commandLine.settingsFile;
    }
    // The three windows in their order: the main window (its creation reads the
    // settings and builds the audio graph), the update dialog, the
    // recording-source dialog.
    Tc_form_kp2DemoMain window(services);
    TActualitza update(product_links::baseUrl(window.settings()));
    Tc_form_main recordingSource(nullptr, &window);
    window.setRecordingSourceDialog(&recordingSource);
    captions::installLanguageStep(window, &recordingSource);
    AdvertisingPanel::attach(window, update);
    window.show();
    return QApplication::exec();  // the settings are written when the window goes
}
