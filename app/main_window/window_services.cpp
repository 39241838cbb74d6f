#include "app/main_window/window_services.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {

QString askWavFile(QWidget* parent, const QString& initialDirectory) {
    QFileDialog dialog(parent, QString(), initialDirectory,
                       QStringLiteral("WAV files (*.wav);;All files (*)"));
    dialog.setObjectName(QStringLiteral("c_saveDialog_main"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);  // the folder must exist, the file need not
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString askSkinFile(QWidget* parent, const QString& initialDirectory) {
    QFileDialog dialog(parent, QString(), initialDirectory,
                       QStringLiteral("Skin files (*.skn *.SKN)"));
    dialog.setObjectName(QStringLiteral("Dialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void showNoticeBox(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QGuiApplication::applicationDisplayName(), text,
                             QMessageBox::Ok);
}

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
}

}  // namespace

MainWindowServices MainWindowServices::system() {
    MainWindowServices services;
    services.askWavFileName = askWavFile;
    services.askSkinFileName = askSkinFile;
    services.showNotice = showNoticeBox;
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    services.screenSize = primaryScreenSize;
    return services;
}
