#include "app/web_panel/update_dialog.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window/pictures.h"
#include "app/web_panel/file_download.h"
#include "app/web_panel/program_launcher.h"
#include "app/web_panel/server_address.h"

namespace {

const QString kButtonText = QStringLiteral("&Descargar Actualización");
const QString kAskText = QStringLiteral("    Se requiere actualizar su versión.... ");
const QString kDownloadingButton = QStringLiteral("Descargando....");
const QString kDownloadingText = QStringLiteral("Bajando archivos necesarios...");
const QString kDoneText = QStringLiteral("Proceso finalizado. Cerrando programa...");
const QString kFailedText = QStringLiteral("    Error en la descarga. Vuelva a intentarlo. ");

}  // namespace

UpdateServices UpdateServices::system() {
    return UpdateServices{downloadFile, [](const QString& file) { return launchProgram(file); }};
}

TActualitza::TActualitza(const QUrl& serverBase, UpdateServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      serverBase_(serverBase),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TActualitza"));
    setWindowTitle(QStringLiteral("   Actualitzación"));
    setFixedSize(390, 70);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setAlignment(Qt::AlignCenter);
    image->setPixmap(
        pictures::productLogo().scaled(401, 41, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    column->addWidget(image, 1);

    Panelinforma_ = new QLabel(kAskText, this);
    Panelinforma_->setObjectName(QStringLiteral("Panelinforma"));
    Panelinforma_->setFixedHeight(24);
    Panelinforma_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addWidget(Panelinforma_);

    auto* row = new QHBoxLayout(Panelinforma_);
    row->setContentsMargins(0, 1, 2, 1);
    row->addStretch(1);
    SpeedDescargar_ = new QPushButton(kButtonText, Panelinforma_);
    SpeedDescargar_->setObjectName(QStringLiteral("SpeedDescargar"));
    SpeedDescargar_->setFixedSize(143, 22);
    SpeedDescargar_->setFont(QFont(QStringLiteral("Arial"), 7));
    row->addWidget(SpeedDescargar_);
    connect(SpeedDescargar_, &QPushButton::clicked, this, &TActualitza::SpeedDescargarClick);
}

QString TActualitza::informa() const {
    return Panelinforma_->text();
}

void TActualitza::SpeedDescargarClick() {
    const QDir dir(directory_.isEmpty() ? QDir::currentPath() : directory_);
    SpeedDescargar_->setText(kDownloadingButton);
    SpeedDescargar_->setEnabled(false);  // no second press while the files come
    Panelinforma_->setText(kDownloadingText);

    const QString program = dir.filePath(QString::fromLatin1(kNewProgramFile));
    const QString updater = dir.filePath(QString::fromLatin1(kUpdaterFile));
    const QUrl base = serverBase_;
    if (!services_.download(server_address::file(base, QLatin1String(server_address::kNewProgram)),
                            program) ||
        !services_.download(server_address::file(base, QLatin1String(server_address::kUpdater)),
                            updater)) {
        downloadFailed();
        return;
    }
    // A fetched file carries no execute permission; the updater must run.
    QFile::setPermissions(updater, QFile::permissions(updater) | QFileDevice::ExeOwner);
    Panelinforma_->setText(kDoneText);
    services_.launch(updater);  // a failed start changes nothing: the program still closes
    accept();
}

void TActualitza::downloadFailed() {
    Panelinforma_->setText(kFailedText);
    SpeedDescargar_->setText(kButtonText);
    SpeedDescargar_->setEnabled(true);
}
