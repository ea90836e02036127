#include "platform/types.h"
#include "transfer/file_transfer.h"

#include <gtest/gtest.h>

using namespace lanterna;

TEST(TFileTransferItem, DefaultsAndAssign) {
    TFileTransfer transfer;
    TFileTransferItem* source = transfer.Items().Add();
    EXPECT_EQ(source->Protocol(), wpHttp);
    EXPECT_EQ(source->HTTPCommand(), hcPost);
    EXPECT_EQ(source->Authenticate(), waNever);
    EXPECT_EQ(source->FTPPort(), 21);
    EXPECT_TRUE(source->Active());
    EXPECT_FALSE(source->CopyNewerOnly());

    source->SetURL("http://h/a.zip");
    source->SetTargetDir("/t");
    source->SetTargetFilename("b.zip");
    source->SetProtocol(wpHttpUpload);
    source->SetHTTPCommand(hcPut);
    source->SetFTPHost("ftp.h");
    source->SetFTPUserID("u");
    source->SetFTPPassword("p");
    source->SetFTPPort(2121);
    source->SetActive(false);
    source->SetCopyNewerOnly(true);
    source->SetFileDate(44000.25);
    source->SetAuthenticate(waAuto);
    source->SetHTTPUserID("hu");
    source->SetDisplayURL("shown");
    source->SetHTTPPassword("hp");
    source->SetExpectedSize(77);
    source->SetSuccess(true);
    source->SetNoNewFile(true);
    source->SetRemoteFileDate(1);
    source->SetCancelled(true);
    source->SetFileList({"x"});

    TFileTransferItem copy;
    copy.Assign(source);
    EXPECT_EQ(copy.URL(), "http://h/a.zip");
    EXPECT_EQ(copy.TargetDir(), "/t");
    EXPECT_EQ(copy.TargetFilename(), "b.zip");
    EXPECT_EQ(copy.Protocol(), wpHttpUpload);
    EXPECT_EQ(copy.HTTPCommand(), hcPut);
    EXPECT_EQ(copy.FTPHost(), "ftp.h");
    EXPECT_EQ(copy.FTPUserID(), "u");
    EXPECT_EQ(copy.FTPPassword(), "p");
    EXPECT_EQ(copy.FTPPort(), 2121);
    EXPECT_FALSE(copy.Active());
    EXPECT_TRUE(copy.CopyNewerOnly());
    EXPECT_EQ(copy.FileDate(), 44000.25);
    EXPECT_EQ(copy.Authenticate(), waAuto);
    EXPECT_EQ(copy.HTTPUserID(), "hu");
    EXPECT_EQ(copy.DisplayURL(), "shown");
    EXPECT_EQ(copy.HTTPPassword(), "hp");
    // Results and the owner's expected size are not published: they stay.
    EXPECT_EQ(copy.ExpectedSize(), 0u);
    EXPECT_FALSE(copy.Success());
    EXPECT_FALSE(copy.NoNewFile());
    EXPECT_EQ(copy.RemoteFileDate(), 0);
    EXPECT_FALSE(copy.Cancelled());
    EXPECT_TRUE(copy.FileList().isEmpty());

    copy.Assign(nullptr);
    EXPECT_EQ(copy.URL(), "http://h/a.zip");
}

TEST(TFileTransferItems, AddDeleteClear) {
    TFileTransfer transfer;
    TFileTransferItems& items = transfer.Items();
    EXPECT_EQ(items.Owner(), &transfer);
    items.Add()->SetURL("a");
    items.Add()->SetURL("b");
    items.Add()->SetURL("c");
    items.Delete(1);
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items[1]->URL(), "c");
    EXPECT_THROW(items.Delete(2), EListError);
    EXPECT_THROW(items.Delete(-1), EListError);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST(TFileTransfer, VersionIsReadOnly) {
    TFileTransfer transfer;
    transfer.SetVersion("9.9");
    EXPECT_EQ(transfer.Version(), "2.4.0.3");
    EXPECT_EQ(transfer.Agent(), "FileTransfer");
    EXPECT_EQ(transfer.DlgCaption(), "Downloading");
    EXPECT_EQ(transfer.DlgTimeLabel(), "Estimated time left :");
    EXPECT_TRUE(transfer.ShowDialog());
    EXPECT_EQ(transfer.FileLabel(), nullptr) << "no dialog before a run";
}

TEST(TFileTransfer, KeepsAnFtpConnectionOnlyForTheSameServerAndUser) {
    TFileTransfer transfer;
    auto add = [&](TFileTransferProtocol protocol, const QString& host, const QString& user) {
        TFileTransferItem* item = transfer.Items().Add();
        item->SetProtocol(protocol);
        item->SetFTPHost(host);
        item->SetFTPUserID(user);
        item->SetActive(false); // inactive neighbours count all the same
    };
    add(wpFtp, "a", "u");
    add(wpFtpUpload, "a", "u");
    add(wpFtp, "a", "v");
    add(wpMultiFtp, "a", "v");
    add(wpFtp, "a", "v");
    EXPECT_TRUE(transfer.KeepConnection(0));
    EXPECT_FALSE(transfer.KeepConnection(1)) << "another user";
    EXPECT_FALSE(transfer.KeepConnection(2)) << "the next one is a multi-file transfer";
    EXPECT_FALSE(transfer.KeepConnection(3));
    EXPECT_FALSE(transfer.KeepConnection(4)) << "no next item";
}
