#include "app/entry/window_program.h"

#include <QApplication>

#include "app/captions/caption_applier.h"
#include "app/headless/headless_runner.h"
#include "app/main_window/main_window.h"
#include "app/mixer_dialog/mixer_dialog.h"

int runWindowProgram(int argc, char** argv, const CommandLine& commandLine) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuillanveroSoftware v.1.0.10"));
    quitOnTerminationSignals();  // a logout or kill still saves the settings

    MainWindowServices services = MainWindowServices::system();
    if (commandLine.settingsFile) {
        services.settingsFileName = *commandLine.settingsFile;
    }
    // The three windows in their order: the main window (its creation reads the
    // settings and builds the audio graph), then the recording-source dialog.
    Tc_form_kp2DemoMain window(services);
    Tc_form_main recordingSource(nullptr, &window);
    window.setRecordingSourceDialog(&recordingSource);
    captions::installLanguageStep(window, &recordingSource);
    window.show();
    return QApplication::exec();  // the settings are written when the window goes
}
