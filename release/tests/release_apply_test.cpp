// A staged release moved into its folder all or nothing, kept, taken back, or recovered after a
// cut; one updater at a time per folder.
#include "release/release_apply.h"
#include "testing/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lanterna::TReleaseFolder;
using lanterna::TReleaseLock;
using lanterna::testing::FilesIn;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::WriteFileBytes;

namespace {

// A folder with release 1.2 (UpDate, Lanterna, SlideShow.cfg) and release 1.3 staged: new UpDate,
// Lanterna and logo.png.
class ReleaseApply : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"UpDate", "Lanterna", "SlideShow.cfg"})
            Put(QString::fromLatin1(name), QByteArray("old ") + name);
        ASSERT_TRUE(QFile::setPermissions(Path("Lanterna"), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ExeOwner | QFile::ExeGroup));
        QString error;
        ASSERT_TRUE(FRelease.PrepareStaging(error)) << error.toStdString();
        for (const char* name : {"UpDate", "Lanterna", "logo.png"})
            ASSERT_TRUE(WriteFileBytes(FRelease.StagingFolder() + u'/' + QLatin1String(name),
                                       QByteArray("new ") + name));
    }
    QString Path(const char* name) const { return FDir.filePath(QString::fromLatin1(name)); }
    void Put(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(WriteFileBytes(FDir.filePath(name), bytes));
    }
    QByteArray Read(const char* name) const { return ReadFileBytes(Path(name)); }
    bool Apply(QString& error) {
        return FRelease.Apply(
            QStringLiteral("1.3"), QStringLiteral("1.2"),
            {QStringLiteral("Lanterna"), QStringLiteral("UpDate"), QStringLiteral("logo.png")},
            QStringLiteral("Lanterna"), error);
    }
    void ExpectOldSet() const {
        EXPECT_EQ(Read("UpDate"), "old UpDate");
        EXPECT_EQ(Read("Lanterna"), "old Lanterna");
        EXPECT_EQ(Read("SlideShow.cfg"), "old SlideShow.cfg");
        EXPECT_EQ(FilesIn(FDir.path()), QStringList({"Lanterna", "SlideShow.cfg", "UpDate"}))
            << "no leftovers";
    }

    QTemporaryDir FDir;
    TReleaseFolder FRelease{FDir.path()};
};

} // namespace

TEST_F(ReleaseApply, TheNewSetReplacesTheOldAndIsKeptOrTakenBack) {
    QString error;
    ASSERT_TRUE(Apply(error)) << error.toStdString();
    EXPECT_EQ(Read("UpDate"), "new UpDate");
    EXPECT_EQ(Read("Lanterna"), "new Lanterna");
    EXPECT_EQ(Read("logo.png"), "new logo.png");
    EXPECT_EQ(Read("SlideShow.cfg"), "old SlideShow.cfg");
    EXPECT_EQ(QFile::permissions(Path("Lanterna")) & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther),
              QFile::ExeOwner | QFile::ExeGroup)
        << "a replaced program keeps its permissions";
    EXPECT_TRUE(FRelease.AwaitsHealth());
    EXPECT_EQ(FRelease.Version(), QStringLiteral("1.3"));
    EXPECT_EQ(FRelease.Previous(), QStringLiteral("1.2"));

    ASSERT_TRUE(FRelease.RollBack(error)) << error.toStdString();
    ExpectOldSet();
    EXPECT_FALSE(FRelease.AwaitsHealth());

    ASSERT_TRUE(FRelease.PrepareStaging(error));
    for (const char* name : {"UpDate", "Lanterna", "logo.png"})
        ASSERT_TRUE(
            WriteFileBytes(FRelease.StagingFolder() + u'/' + QLatin1String(name), QByteArray("new ") + name));
    ASSERT_TRUE(Apply(error));
    FRelease.Keep();
    EXPECT_EQ(Read("Lanterna"), "new Lanterna");
    EXPECT_EQ(FilesIn(FDir.path()), QStringList({"Lanterna", "SlideShow.cfg", "UpDate", "logo.png"}));
}

TEST_F(ReleaseApply, AnApplyThatCannotFinishPutsEveryOldFileBack) {
    // The player, moved last, has gone from the staging folder: the others are in place by then.
    ASSERT_TRUE(QFile::remove(FRelease.StagingFolder() + QStringLiteral("/Lanterna")));
    QString error;
    EXPECT_FALSE(Apply(error));
    EXPECT_EQ(error, QStringLiteral("Cannot replace file ") + Path("Lanterna"));
    ExpectOldSet();
    EXPECT_FALSE(FRelease.AwaitsHealth());
}

TEST_F(ReleaseApply, AFolderIsNeverReplacedByAFile) {
    ASSERT_TRUE(QDir(FDir.path()).mkpath(QStringLiteral("logo.png/inside")));
    QString error;
    EXPECT_FALSE(Apply(error));
    EXPECT_EQ(error, QStringLiteral("Cannot replace a folder by file ") + Path("logo.png"));
    EXPECT_EQ(Read("UpDate"), "old UpDate");
    EXPECT_TRUE(QDir(Path("logo.png")).exists(QStringLiteral("inside")));
}

TEST_F(ReleaseApply, RecoveryLeavesAWholeSetAndRespectsARunningUpdater) {
    QString error;
    ASSERT_TRUE(Apply(error));
    {
        TReleaseLock updater(FDir.path());
        ASSERT_TRUE(updater.TryLock());
        TReleaseLock other(FDir.path());
        EXPECT_FALSE(other.TryLock()) << "one updater at a time";
        lanterna::RecoverRelease(FDir.path());
        EXPECT_TRUE(FRelease.AwaitsHealth()) << "the set an updater watches is left to it";
    }
    // The updater that watched it is gone: the whole new set stays.
    lanterna::RecoverRelease(FDir.path());
    EXPECT_FALSE(FRelease.AwaitsHealth());
    EXPECT_EQ(Read("Lanterna"), "new Lanterna");
    EXPECT_EQ(FilesIn(FDir.path()), QStringList({"Lanterna", "SlideShow.cfg", "UpDate", "logo.png"}));
}
