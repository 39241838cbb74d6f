#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/web_panel/file_download.h"
#include "tests/app_web_panel/local_http_server.h"

namespace {

class DownloadTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.listening()); }

    QString target(const char* name = "file.bin") const {
        return scratch.filePath(QString::fromLatin1(name));
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }
    void writeOld(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    QUrl url(const char* path) const { return server.base().resolved(QUrl(path)); }

    LocalHttpServer server;
    QTemporaryDir scratch;
};

TEST_F(DownloadTest, WholeBodyReplacesTheFile) {
    QByteArray body(100000, '\0');
    for (qsizetype i = 0; i < body.size(); ++i) {
        body[i] = char(i * 7);
    }
    server.answer(QStringLiteral("/update/update.exe"), {200, body});
    writeOld(target());
    EXPECT_TRUE(downloadFile(url("update/update.exe"), target()));
    EXPECT_EQ(contents(target()), body);
}

TEST_F(DownloadTest, FailuresLeaveTheEarlierFileAndNoTemporaryOne) {
    struct Case {
        const char* name;
        LocalHttpServer::Answer answer;
    };
    const Case cases[] = {
        {"404", {404, "<html>missing</html>"}},
        {"500", {500, "<html>broken</html>"}},
        {"truncated", {200, QByteArray(50000, 'x'), "application/octet-stream", 20000}},
        {"truncated to nothing", {200, QByteArray(1000, 'x'), "application/octet-stream", 0}},
    };
    for (const Case& c : cases) {
        server.answer(QStringLiteral("/file"), c.answer);
        writeOld(target());
        EXPECT_FALSE(downloadFile(url("file"), target())) << c.name;
        EXPECT_EQ(contents(target()), QByteArray("old")) << c.name;
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), QStringList{"file.bin"}) << c.name;
    }
}

TEST_F(DownloadTest, UnknownPathCreatesNoFile) {
    EXPECT_FALSE(downloadFile(url("update/quillanverosoftware.exe"), target()));
    EXPECT_FALSE(QFile::exists(target()));
}

TEST_F(DownloadTest, EmptyBodyIsAnEmptyFile) {
    server.answer(QStringLiteral("/empty"), {200, {}});
    EXPECT_TRUE(downloadFile(url("empty"), target()));
    EXPECT_EQ(contents(target()), QByteArray());
}

TEST_F(DownloadTest, NoServerOrNoFolderIsAFailure) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    EXPECT_FALSE(
        downloadFile(QUrl(QStringLiteral("http://127.0.0.1:%1/file").arg(port)), target()));
    server.answer(QStringLiteral("/file"), {200, "data"});
    EXPECT_FALSE(downloadFile(url("file"), scratch.filePath(QStringLiteral("no/such/dir/f"))));
}

}  // namespace
