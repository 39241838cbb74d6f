#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/web_panel/file_download.h"
#include "app/web_panel/update_dialog.h"
#include "tests/app_web_panel/local_http_server.h"

namespace {

// The dialog over the local server, fetching for real and recording what it starts.
class UpdateDialogTest : public ::testing::Test {
  protected:
    UpdateDialogTest()
        : dialog(server.base(), UpdateServices{downloadFile, [this](const QString& file) {
                                                   launched.push_back(file);
                                                   return true;
                                               }}) {
        dialog.setDirectory(scratch.path());
    }

    void serveBoth() {
        server.answer(QStringLiteral("/update/quillanverosoftware.exe"), {200, "new program"});
        server.answer(QStringLiteral("/update/update.exe"), {200, "#!/bin/sh\nexit 0\n"});
    }
    QString inScratch(const char* name) const {
        return scratch.filePath(QString::fromLatin1(name));
    }
    QPushButton* button() const {
        return dialog.findChild<QPushButton*>(QStringLiteral("SpeedDescargar"));
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    LocalHttpServer server;
    QTemporaryDir scratch;
    QStringList launched;
    TActualitza dialog;
};

TEST_F(UpdateDialogTest, DesignedTexts) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("   Actualitzación"));
    EXPECT_EQ(dialog.informa(), QStringLiteral("    Se requiere actualizar su versión.... "));
    ASSERT_NE(button(), nullptr);
    EXPECT_EQ(button()->text(), QStringLiteral("&Descargar Actualización"));
    EXPECT_EQ(dialog.size(), QSize(390, 70));
}

TEST_F(UpdateDialogTest, BothFilesArriveThenTheUpdaterStartsAndTheDialogCloses) {
    serveBoth();
    button()->click();
    EXPECT_EQ(contents(inScratch("quillanverosoftware2.exe")), QByteArray("new program"));
    EXPECT_EQ(contents(inScratch("update.exe")), QByteArray("#!/bin/sh\nexit 0\n"));
    EXPECT_TRUE(QFile::permissions(inScratch("update.exe")).testFlag(QFileDevice::ExeOwner));
    EXPECT_EQ(launched, QStringList{inScratch("update.exe")});
    EXPECT_EQ(dialog.informa(), QStringLiteral("Proceso finalizado. Cerrando programa..."));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(UpdateDialogTest, FailedDownloadStartsNothingAndOffersTheButtonAgain) {
    struct Case {
        const char* name;
        bool programServed;
        bool updaterServed;
        QStringList expectedRequests;
    };
    const Case cases[] = {
        {"no program", false, true, {"/update/quillanverosoftware.exe"}},
        {"no updater", true, false, {"/update/quillanverosoftware.exe", "/update/update.exe"}},
    };
    for (const Case& c : cases) {
        LocalHttpServer own;
        if (c.programServed) {
            own.answer(QStringLiteral("/update/quillanverosoftware.exe"), {200, "new program"});
        }
        if (c.updaterServed) {
            own.answer(QStringLiteral("/update/update.exe"), {200, "updater"});
        }
        dialog.setServerBase(own.base());
        button()->click();
        EXPECT_EQ(own.requested(), c.expectedRequests) << c.name;
        EXPECT_TRUE(launched.isEmpty()) << c.name;
        EXPECT_FALSE(QFile::exists(inScratch("update.exe"))) << c.name;
        EXPECT_TRUE(button()->isEnabled()) << c.name;
        EXPECT_EQ(button()->text(), QStringLiteral("&Descargar Actualización")) << c.name;
        EXPECT_TRUE(dialog.informa().contains(QStringLiteral("Error en la descarga"))) << c.name;
    }
    // The second press, with the server mended, goes through.
    dialog.setServerBase(server.base());
    serveBoth();
    button()->click();
    EXPECT_EQ(launched, QStringList{inScratch("update.exe")});
}

TEST_F(UpdateDialogTest, ButtonIsDisabledWhileTheFilesCome) {
    bool enabledDuringDownload = true;
    QString textDuringDownload;
    TActualitza* watched = nullptr;
    const auto download = [&](const QUrl&, const QString&) {
        enabledDuringDownload =
            watched->findChild<QPushButton*>(QStringLiteral("SpeedDescargar"))->isEnabled();
        textDuringDownload = watched->informa();
        return false;
    };
    TActualitza dialogUnderTest(server.base(),
                                UpdateServices{download, [](const QString&) { return true; }});
    watched = &dialogUnderTest;
    dialogUnderTest.setDirectory(scratch.path());
    dialogUnderTest.SpeedDescargarClick();
    EXPECT_FALSE(enabledDuringDownload);
    EXPECT_EQ(textDuringDownload, QStringLiteral("Bajando archivos necesarios..."));
}

}  // namespace
