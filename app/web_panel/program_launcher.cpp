#include "app/web_panel/program_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool launchProgram(const QString& file, const QStringList& parameters, const QString& directory) {
    const QFileInfo info(file);
    if (!info.exists()) {
        return false;
    }
    if (info.isFile() && info.isExecutable()) {
        return QProcess::startDetached(info.absoluteFilePath(), parameters, directory);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}
