// Draws the main window, on two simulated sound cards, into a PNG:
//   main_window_snapshot <output.png> [settings.ini]
#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/main_window/main_window.h"
#include "platform/wave/simulated_wave_driver.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output.png> [settings.ini]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    auto driver = std::make_shared<platform::SimulatedWaveDriver>();
    for (const char* name : {"Line In (simulated)", "USB radio (simulated)"}) {
        platform::SimulatedDeviceConfig capture;
        capture.name = name;
        driver->addDevice(platform::WaveDirection::capture, capture);
    }
    platform::SimulatedDeviceConfig speakers;
    speakers.name = "Speakers (simulated)";
    driver->addDevice(platform::WaveDirection::playback, speakers);
    const platform::ScopedWaveDriver scoped(driver);

    QTemporaryDir scratch;
    MainWindowServices services = MainWindowServices::system();
    services.settingsFileName =
        argc > 2 ? argv[2] : scratch.filePath(QStringLiteral("snapshot.ini")).toStdString();
    int status = 1;
    {
        Tc_form_kp2DemoMain window(services);
        window.setBannerLines({QStringLiteral("¡ Vive el fútbol en su momento !")});
        window.move(40, 40);
        window.show();
        QTimer::singleShot(500, &window, [&] {
            window.bannerTimer().stop();
            window.Timer_bannerTimer();  // the first banner line
            status = window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
            window.close();
        });
        app.exec();
    }
    return status;
}
