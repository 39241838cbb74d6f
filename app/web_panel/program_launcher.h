#pragma once

#include <QString>
#include <QStringList>

// Starts a file the way the desktop would: an executable runs detached with
// the parameters in the directory (the current one when empty); any other file
// opens with its desktop application. False when nothing could be started.
bool launchProgram(const QString& file, const QStringList& parameters = {},
                   const QString& directory = {});
