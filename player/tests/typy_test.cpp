#include "testing/test_server.h"

#include "platform/types.h"
#include "player/typy.h"
#include "testing/test_files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace player;
using lanterna::testing::TestServer;

namespace {

// The player's one download against the fault server, into a folder that already holds the file.
class Download : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server.Started());
        Put(Folder.filePath("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    }
    static void Put(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(lanterna::testing::WriteFileBytes(path, bytes)) << path.toStdString();
    }
    QByteArray Read(const QString& name) const {
        QFile file(Folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The error text of the download, empty when it succeeded.
    QString Failure(const QString& path, const QString& name, const TDownloadBounds& bounds) {
        try {
            StahnoutSoubor(Server.Url(path), Folder.filePath(name), bounds);
        } catch (const lanterna::Exception& e) {
            return e.Message().isEmpty() ? QStringLiteral("<empty message>") : e.Message();
        }
        return {};
    }
    QStringList Files() const {
        return QDir(Folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // The headers of the last request before the reading of the log.
    QJsonObject LastHeaders() const {
        const QJsonArray log = Server.Log();
        return log.size() < 2 ? QJsonObject() : log[log.size() - 2].toObject()["headers"].toObject();
    }

    QTemporaryDir Folder;
    TestServer Server{Folder.path(), Folder.path()};
};

} // namespace

TEST_F(Download, AnswersWithoutEndStopAtTheDescriptionsCap) {
    for (const char* path : {"/chunked/UpDate.dat", "/endless/UpDate.dat"}) {
        const QString failure = Failure(path, "UpDate.dat", kDescriptionDownload);
        EXPECT_TRUE(failure.endsWith(" is larger than 1048576 bytes"))
            << path << ": " << failure.toStdString();
        EXPECT_EQ(Read("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    }
    EXPECT_EQ(Failure("/data/1048576/UpDate.dat", "UpDate.dat", kDescriptionDownload), QString());
    EXPECT_EQ(Read("UpDate.dat").size(), 1048576);
    EXPECT_EQ(Failure("/status/404/UpDate.dat", "UpDate.dat", kDescriptionDownload),
              "HTTP/1.1 404 Not Found");
    EXPECT_EQ(Files(), QStringList({"UpDate.dat"})) << "no temporary file is left";
}

TEST_F(Download, TheUpdaterMustBeAProgramOfThisSystem) {
    Put(Folder.filePath("UpDate"), "\x7f"
                                   "ELF previous");
    for (const char* path : {"/empty/UpDate", "/data/5000/UpDate", "/status/200/UpDate"}) {
        EXPECT_TRUE(Failure(path, "UpDate", kUpdaterDownload).endsWith(" is not a program for this system"))
            << path;
        EXPECT_EQ(Read("UpDate"), "\x7f"
                                  "ELF previous");
    }
    const QByteArray program = QByteArray("\x7f"
                                          "ELF\x02\x01\x01") +
                               QByteArray(2000, '\0');
    Put(Folder.filePath("served"), program);
    EXPECT_EQ(Failure("/static/served", "UpDate", kUpdaterDownload), QString());
    EXPECT_EQ(Read("UpDate"), program);
    EXPECT_TRUE(Files().filter(".part").isEmpty());
}

TEST_F(Download, SlowServersEndWithinTheLimits) {
    // A byte every 0.2 s: the overall limit ends it, and so does the low-speed limit.
    const TDownloadBounds overall{1024 * 1024, 2, 1, 1000};
    const TDownloadBounds lowSpeed{1024 * 1024, 600, 300, 2};
    EXPECT_TRUE(Failure("/trickle/0.2/UpDate.dat", "UpDate.dat", overall).startsWith("Operation timed out"));
    EXPECT_TRUE(Failure("/trickle/0.2/UpDate.dat", "UpDate.dat", lowSpeed).startsWith("Operation too slow"));
    EXPECT_EQ(Read("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    EXPECT_EQ(Files(), QStringList({"UpDate.dat"}));
}

TEST_F(Download, AConditionalRequestLeavesTheFileWhenTheServerSaysNotModified) {
    const QString path = Folder.filePath("UpDate.dat");
    THttpValidators validators;
    ASSERT_TRUE(
        StahnoutSoubor(Server.Url("/etag/v1/100/UpDate.dat"), path, kDescriptionDownload, &validators));
    EXPECT_EQ(validators, (THttpValidators{"\"v1\"", "Thu, 01 Jan 1970 00:00:00 GMT"}));
    EXPECT_EQ(Read("UpDate.dat").size(), 100);

    Put(path, "kept");
    EXPECT_FALSE(
        StahnoutSoubor(Server.Url("/etag/v1/100/UpDate.dat"), path, kDescriptionDownload, &validators));
    EXPECT_EQ(Read("UpDate.dat"), "kept");
    const QJsonObject asked = LastHeaders();
    EXPECT_EQ(asked["if-none-match"].toString(), "\"v1\"");
    EXPECT_EQ(asked["if-modified-since"].toString(), "Thu, 01 Jan 1970 00:00:00 GMT");

    // A changed body comes with its own validators, and one without any clears them.
    EXPECT_TRUE(
        StahnoutSoubor(Server.Url("/etag/v2/50/UpDate.dat"), path, kDescriptionDownload, &validators));
    EXPECT_EQ(validators.ETag, "\"v2\"");
    EXPECT_TRUE(StahnoutSoubor(Server.Url("/data/10/UpDate.dat"), path, kDescriptionDownload, &validators));
    EXPECT_TRUE(validators.Empty());
    EXPECT_EQ(Read("UpDate.dat").size(), 10);

    // "Not Modified" to a request that did not ask is an error; a value that would make a second
    // header line is never sent.
    THttpValidators forged{"\"v1\"\r\nX-Forged: 1", {}};
    EXPECT_EQ(Failure("/status/304/UpDate.dat", "UpDate.dat", kDescriptionDownload),
              "HTTP/1.1 304 Not Modified");
    try {
        StahnoutSoubor(Server.Url("/status/304/UpDate.dat"), path, kDescriptionDownload, &forged);
        FAIL() << "no error";
    } catch (const lanterna::Exception& e) {
        EXPECT_EQ(e.Message(), "HTTP/1.1 304 Not Modified");
    }
    EXPECT_FALSE(LastHeaders().contains("if-none-match"));
    EXPECT_EQ(Read("UpDate.dat").size(), 10);
    EXPECT_EQ(Files(), QStringList({"UpDate.dat"}));
}
