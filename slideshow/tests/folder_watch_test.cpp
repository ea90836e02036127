#include "slideshow/tests/slide_show_test_support.h"

#include "platform/dir_search.h"
#include "slideshow/folder_watch.h"
#include "testing/test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace lanterna::testing {
namespace {

// Generous: a burst of 500 pictures is loaded at the lowest priority, which under a sanitizer on a
// busy machine takes tens of seconds.
constexpr int kWaitMs = 90000;

QStringList Locations(const TSlideShow& show) {
    QStringList locations;
    for (int i = 0; i < show.Items()->Count(); ++i)
        locations << show.Items()->Items(i)->Location();
    return locations;
}

// The folder's files as the directory lists them.
QStringList FolderOrder(const QString& folder) {
    QStringList files;
    for (const TSearchRec& entry : FindFiles(folder + "/*.*")) {
        if (!entry.Directory)
            files << folder + "/" + entry.Name;
    }
    return files;
}

TEST(ListFolder, FilesInDirectoryOrderWithSizeAndTimeButNoFolders) {
    QTemporaryDir dir;
    WritePicture(dir.filePath("a.png"), 4, 4);
    ASSERT_TRUE(WriteFileBytes(dir.filePath("b.txt"), "twelve bytes"));
    QDir(dir.path()).mkdir("sub");
    const TFolderListing listing = ListFolder(dir.path() + "/*.*");
    EXPECT_TRUE(listing.Readable);
    QStringList paths;
    for (const TFolderEntry& entry : listing.Files) {
        paths << entry.Path;
        EXPECT_GT(entry.Modified, 0);
    }
    EXPECT_EQ(paths, FolderOrder(dir.path()));
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(listing.Files[size_t(paths.indexOf(dir.filePath("b.txt")))].Size, 12);

    EXPECT_FALSE(ListFolder(dir.path() + "/missing/*.*").Readable);
    EXPECT_TRUE(ListFolder(dir.path() + "/sub/*.*").Readable);
    EXPECT_TRUE(ListFolder(dir.path() + "/sub/*.*").Files.empty());
}

// A running show of a folder's pictures whose watch keeps the slides in line with the folder, as
// the presentation does.
class LiveFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = Dir.path() + "/pictures";
        ASSERT_TRUE(QDir(Dir.path()).mkdir("pictures"));
        for (const char* name : {"a.png", "b.png", "c.png"})
            WritePicture(Folder + "/" + name, 40, 30);
        Show().resize(400, 300);
        Show().SetThumbNails(false);
        Show().AddItemsFromFolder(Folder + "/*.*", ikImage, true, true, true);
        Show().OnImageLoaded = [this](TSlideShow* sender, int index) {
            Loaded << sender->Items()->Items(index)->Location();
        };
        Watch.OnChange = [this](const TFolderListing& listing, const QStringList& changed) {
            ++Rebuilds;
            QStringList files;
            for (const TFolderEntry& entry : listing.Files)
                files << entry.Path;
            Show().SyncItemsWithFiles(files, changed, ikImage, true, true, true);
        };
        Watch.Watch(Folder + "/*.*");
        ASSERT_TRUE(WaitLoaded(Show()));
        // The first listing is always announced; it finds the slides as they are.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Rebuilds == 1; }, kWaitMs));
        ASSERT_EQ(Locations(Show()), FolderOrder(Folder));
        Show().SetItemIndex(1);
        Selected = Show().Items()->Items(1)->Location();
        EndTransition(Show());
        ASSERT_TRUE(WaitLoaded(Show()));
        Loaded.clear();
    }

    // Waits until the slides are the folder's files, in its order; says how long that took.
    ::testing::AssertionResult FollowsFolder(const char* what) {
        QElapsedTimer clock;
        clock.start();
        if (!QTest::qWaitFor([&] { return Locations(Show()) == FolderOrder(Folder) && !Show().Loading(); },
                             kWaitMs))
            return ::testing::AssertionFailure()
                   << what << ": slides " << Locations(Show()).join(", ").toStdString() << ", folder "
                   << FolderOrder(Folder).join(", ").toStdString()
                   << (Show().Loading() ? ", still loading" : ", loaded");
        std::printf("%s: the show followed in %lld ms\n", what, clock.elapsed());
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult StillShowsTheSelectedSlide() {
        const int index = Show().ItemIndex();
        if (index < 0 || index >= Show().Items()->Count() ||
            Show().Items()->Items(index)->Location() != Selected)
            return ::testing::AssertionFailure() << "the selection moved to " << index;
        if (Show().Items()->Items(index)->OriginalImage().isNull())
            return ::testing::AssertionFailure() << "the selected slide lost its picture";
        return ::testing::AssertionSuccess();
    }

    TSlideShow& Show() { return Still.Show; }

    QTemporaryDir Dir;
    QString Folder;
    TStillShow Still;
    TFolderWatch Watch;
    int Rebuilds = 0;
    QString Selected;
    QStringList Loaded;
};

TEST_F(LiveFolder, AddedFilesJoinRemovedOnesLeaveAndChangedOnesAreReadAgain) {
    WritePicture(Folder + "/d.png", 50, 30);
    ASSERT_TRUE(FollowsFolder("added"));
    EXPECT_TRUE(StillShowsTheSelectedSlide());
    EXPECT_EQ(Loaded, QStringList{Folder + "/d.png"}) << "only the new picture is read";
    const TSlideShowItem* added = Show().Items()->Items(Locations(Show()).indexOf(Folder + "/d.png"));
    EXPECT_EQ(added->Description(), Folder + "/d.png");
    EXPECT_EQ(added->PictureSize(), QSize(50, 30));

    Loaded.clear();
    const QString other = Selected == Folder + "/a.png" ? Folder + "/c.png" : Folder + "/a.png";
    ASSERT_TRUE(QFile::remove(other));
    ASSERT_TRUE(FollowsFolder("removed"));
    EXPECT_TRUE(StillShowsTheSelectedSlide());
    EXPECT_TRUE(Loaded.isEmpty());

    WritePicture(Folder + "/d.png", 60, 20);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const int index = Locations(Show()).indexOf(Folder + "/d.png");
            return index >= 0 && Show().Items()->Items(index)->PictureSize() == QSize(60, 20);
        },
        kWaitMs))
        << "a picture replaced under the same name is read again";
    EXPECT_TRUE(StillShowsTheSelectedSlide());
}

TEST_F(LiveFolder, WhenTheSelectedFileLeavesTheSlideInItsPlaceStands) {
    ASSERT_TRUE(QFile::remove(Selected));
    ASSERT_TRUE(FollowsFolder("selected removed"));
    ASSERT_EQ(Show().Items()->Count(), 2);
    EXPECT_EQ(Show().ItemIndex(), 1);
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 1);
}

TEST_F(LiveFolder, WhenTheSelectedFileLeavesAsAnotherArrivesTheSlideInItsPlaceStands) {
    // One pass takes both: the new slide is made after the selected one is gone, and is no
    // stand-in for it whatever memory it is given.
    QStringList files = Locations(Show());
    files.removeAt(1);
    files << Folder + "/d.png";
    Show().SyncItemsWithFiles(files, {}, ikImage, true, true, true);
    ASSERT_EQ(Locations(Show()), files);
    EXPECT_EQ(Show().ItemIndex(), 1);
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 1);
    EXPECT_FALSE(Show().Transition().Running());
}

TEST_F(LiveFolder, FiveHundredFilesCopiedAtOnceAreOneRebuild) {
    const QByteArray picture = ReadFileBytes(Folder + "/a.png");
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(
            WriteFileBytes(Folder + QStringLiteral("/burst%1.png").arg(i, 3, 10, QLatin1Char('0')), picture));
    ASSERT_TRUE(FollowsFolder("500 copied"));
    EXPECT_TRUE(StillShowsTheSelectedSlide());
    // Two more rescans of the settled folder: neither finds anything more to do.
    const int scans = Watch.Scans();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Watch.Scans() >= scans + 2; }, kWaitMs));
    EXPECT_EQ(Rebuilds, 2) << "the first listing, then one rebuild for the whole burst";
}

TEST_F(LiveFolder, AFolderThatVanishesKeepsTheShowAndOneThatReturnsIsWatchedAgain) {
    const QString away = Dir.path() + "/away";
    ASSERT_TRUE(QDir().rename(Folder, away));
    const int scans = Watch.Scans();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Watch.Scans() >= scans + 2; }, kWaitMs));
    EXPECT_EQ(Show().Items()->Count(), 3) << "the slides stay while the folder cannot be read";
    EXPECT_EQ(Rebuilds, 1);
    EXPECT_TRUE(StillShowsTheSelectedSlide());

    ASSERT_TRUE(QDir().rename(away, Folder));
    WritePicture(Folder + "/e.png", 20, 20);
    ASSERT_TRUE(FollowsFolder("returned"));
    EXPECT_TRUE(StillShowsTheSelectedSlide());
    // Changes in the folder are heard again.
    WritePicture(Folder + "/f.png", 20, 20);
    ASSERT_TRUE(FollowsFolder("added after return"));
}

} // namespace
} // namespace lanterna::testing
