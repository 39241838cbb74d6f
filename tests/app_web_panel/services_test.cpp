#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window/product_links.h"
#include "app/web_panel/internet_connection.h"
#include "app/web_panel/program_launcher.h"
#include "app/web_panel/server_address.h"
#include "framework/ini/ini_file.h"

namespace {

TEST(ServerAddress, BuiltInUnlessTheSettingsNameAnother) {
    QTemporaryDir scratch;
    unaIniFile settings(scratch.filePath(QStringLiteral("s.ini")).toStdString());
    EXPECT_EQ(product_links::baseUrl(nullptr), QUrl(product_links::kBaseUrl));
    EXPECT_EQ(product_links::baseUrl(&settings), QUrl(product_links::kBaseUrl));
    settings.setSection("main");
    settings.setString("serverUrl", "http://127.0.0.1:8080/ads");
    const QUrl base = product_links::baseUrl(&settings);
    EXPECT_EQ(base, QUrl(QStringLiteral("http://127.0.0.1:8080/ads/")));
    EXPECT_EQ(server_address::file(base, QLatin1String(server_address::kUpdater)),
              QUrl(QStringLiteral("http://127.0.0.1:8080/ads/update/update.exe")));
}

TEST(InternetConnection, ServerOnThisMachineAlwaysCounts) {
    for (const char* address : {"http://127.0.0.1:8080/", "http://localhost/", "http://[::1]/"}) {
        EXPECT_TRUE(isInternetConnected(QUrl(QString::fromLatin1(address)))) << address;
    }
}

TEST(ProgramLauncher, ExecutableRunsDetachedWithItsParametersAndDirectory) {
    QTemporaryDir scratch;
    const QString script = scratch.filePath(QStringLiteral("updater.sh"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho \"$1 $2\" > started.tmp && mv started.tmp started.txt\n");
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(launchProgram(script, {"one", "two"}, scratch.path()));
    const QString started = scratch.filePath(QStringLiteral("started.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(started); }, 10000));
    QFile result(started);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), QByteArray("one two\n"));
}

TEST(ProgramLauncher, MissingFileStartsNothing) {
    QTemporaryDir scratch;
    EXPECT_FALSE(launchProgram(scratch.filePath(QStringLiteral("absent.exe"))));
}

}  // namespace
