#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The desktop's own mixer program, opened on its recording controls.
struct SystemMixerCommand {
    QString program;
    QStringList arguments;
};

// Full path of an installed program, empty when it is not installed.
using ExecutableFinder = std::function<QString(const QString& name)>;
// Starts a program detached from this one; true when it started.
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;

// pavucontrol on its input-devices tab when installed, else alsamixer's capture
// view in a terminal emulator; none when neither can be started.
std::optional<SystemMixerCommand> chooseSystemMixerCommand(const ExecutableFinder& find);

QString findInstalledProgram(const QString& name);
bool startDetachedProgram(const QString& program, const QStringList& arguments);
