#include "event_recorder.h"
#include "testing/test_server.h"

#include "transfer/file_transfer.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

class Upload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Source.isValid());
        ASSERT_TRUE(Received.isValid());
        ASSERT_TRUE(Server.Started());
        Transfer.SetShowDialog(false);
    }
    void MakeSource(const QString& name, const QByteArray& bytes) {
        QFile file(Source.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    TFileTransferItem* Add(const QString& url, TFileTransferHTTPCommand command) {
        TFileTransferItem* item = Transfer.Items().Add();
        item->SetProtocol(wpHttpUpload);
        item->SetHTTPCommand(command);
        item->SetURL(url);
        item->SetTargetDir(Source.path());
        return item;
    }
    QByteArray ReceivedFile(const QString& name) const {
        QFile file(Received.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nothing received)");
    }

    QTemporaryDir Source;
    QTemporaryDir Received;
    TestServer Server{Received.path()};
    TFileTransfer Transfer;
    EventRecorder Recorder{Transfer};
};

} // namespace

TEST_F(Upload, PostAndPutArriveIntact) {
    MakeSource("post.bin", Pattern(10000));
    MakeSource("put.bin", Pattern(8192));
    MakeSource("empty.bin", {});
    Add(Server.Url("/upload/post.bin"), hcPost);
    Add(Server.Url("/upload/put.bin"), hcPut);
    Add(Server.Url("/upload/empty.bin"), hcPut);
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(ReceivedFile("POST-post.bin"), Pattern(10000));
    EXPECT_EQ(ReceivedFile("PUT-put.bin"), Pattern(8192));
    EXPECT_EQ(ReceivedFile("PUT-empty.bin"), QByteArray());
    // Blocks of 4096 until a short one; a size of whole blocks ends with an empty one.
    EXPECT_EQ(Recorder.Only("Progress"),
              QStringList({"Progress 1 4096 10000", "Progress 1 8192 10000", "Progress 1 10000 10000",
                           "Progress 2 4096 8192", "Progress 2 8192 8192", "Progress 2 8192 8192",
                           "Progress 3 0 0"}));
    EXPECT_TRUE(Recorder.Only("Error").isEmpty());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Transfer.Items()[i]->Success()) << i;
    // The body goes as it is, without a form content type, once the server is ready for it.
    for (const auto& entry : Server.Log()) {
        const QJsonObject headers = entry.toObject()["headers"].toObject();
        const QString path = entry.toObject()["path"].toString();
        if (path.startsWith("/upload/") && !path.endsWith("empty.bin")) {
            EXPECT_EQ(headers["expect"].toString(), "100-continue");
        }
        EXPECT_FALSE(headers.contains("content-type"));
    }
}

TEST_F(Upload, FailuresAreReported) {
    MakeSource("big.bin", Pattern(50000));
    MakeSource("local.bin", Pattern(100));
    Add(Server.Url("/upload/missing.bin"), hcPost);
    Add(Server.Url("/reject/500/whatever"), hcPut)->SetTargetFilename("big.bin");
    // Refused before the body, with the connection closed under the sender's feet.
    MakeSource("huge.bin", Pattern(8 * 1024 * 1024));
    Add(Server.Url("/refuse/413/huge.bin"), hcPost);
    Add(Server.Url("/refuse/403/huge.bin"), hcPut);
    Add(QStringLiteral("http://127.0.0.1:%1/upload/local.bin").arg(ClosedPort()), hcPost);
    Add(Server.Url("/upload/local.bin"), hcPost);
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(Recorder.Only("FileStart").size(), 6);
    // A missing source fails without a word; a refused upload is no success.
    EXPECT_EQ(Recorder.Only("Error"), QStringList({"Error 500", "Error 413", "Error 403", "Error 12029"}));
    EXPECT_EQ(Recorder.Only("ErrorInfo").mid(0, 3),
              QStringList({"ErrorInfo 500 Returned http error code 500",
                           "ErrorInfo 413 Returned http error code 413",
                           "ErrorInfo 403 Returned http error code 403"}));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(Transfer.Items()[i]->Success()) << i;
    EXPECT_TRUE(Transfer.Items()[5]->Success());
    EXPECT_EQ(ReceivedFile("POST-local.bin"), Pattern(100));
}

TEST_F(Upload, CancelStopsSending) {
    MakeSource("large.bin", Pattern(400000));
    Add(Server.Url("/upload/large.bin"), hcPut);
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t size, std::uint32_t) {
        Recorder.Events << QStringLiteral("Progress %1").arg(size);
        if (size == 3 * 4096)
            sender->CancelCopy();
    };
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(Recorder.Only("Progress").size(), 3);
    EXPECT_EQ(Recorder.Events.last(), "CopyDone");
    EXPECT_TRUE(Recorder.Only("FileDone").isEmpty());
    EXPECT_FALSE(Transfer.Items()[0]->Success());
    EXPECT_TRUE(Transfer.Items()[0]->Cancelled());
    EXPECT_EQ(ReceivedFile("PUT-large.bin"), "(nothing received)");
}
