#include "event_recorder.h"
#include "test_server.h"

#include "transfer/file_transfer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Download : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server.Started());
        ASSERT_TRUE(Folder.isValid());
        Transfer.SetShowDialog(false);
    }
    TFileTransferItem* Add(const QString& path) {
        TFileTransferItem* item = Transfer.Items().Add();
        item->SetURL(Server.Url(path));
        item->SetTargetDir(Folder.path());
        return item;
    }
    QString Target(const QString& name) const { return Folder.filePath(name); }

    TestServer Server;
    QTemporaryDir Folder;
    TFileTransfer Transfer;
    EventRecorder Recorder{Transfer};
};

} // namespace

TEST_F(Download, SeveralFilesWithAMissingOneInTheMiddle) {
    Add("/data/10000/a.bin");
    Add("/status/404/b.bin");
    Add("/data/5000/c.bin");
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(Recorder.Events,
              QStringList({"FileStart 0", "Progress 1 4096 10000", "Progress 1 8192 10000",
                           "Progress 1 10000 10000", "Progress 1 10000 10000", "FileDone 0", "FileStart 1",
                           "Error 404", "ErrorInfo 404 Returned http error code 404", "FileDone 1",
                           "FileStart 2", "Progress 3 4096 5000", "Progress 3 5000 5000",
                           "Progress 3 5000 5000", "FileDone 2", "CopyDone"}));
    EXPECT_EQ(ReadFile(Target("a.bin")), Pattern(10000));
    EXPECT_EQ(ReadFile(Target("c.bin")), Pattern(5000));
    EXPECT_FALSE(QFile::exists(Target("b.bin")));
}
