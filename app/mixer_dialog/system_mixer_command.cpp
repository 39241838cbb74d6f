#include "app/mixer_dialog/system_mixer_command.h"

#include <QProcess>
#include <QStandardPaths>

std::optional<SystemMixerCommand> chooseSystemMixerCommand(const ExecutableFinder& find) {
    if (const QString pavucontrol = find("pavucontrol"); !pavucontrol.isEmpty()) {
        return SystemMixerCommand{pavucontrol, {"--tab=4"}};
    }
    const QString alsamixer = find("alsamixer");
    if (alsamixer.isEmpty()) {
        return std::nullopt;
    }
    for (const char* terminal : {"x-terminal-emulator", "xterm"}) {
        if (const QString path = find(terminal); !path.isEmpty()) {
            return SystemMixerCommand{path, {"-e", alsamixer, "-V", "capture"}};
        }
    }
    return std::nullopt;
}

QString findInstalledProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

bool startDetachedProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
