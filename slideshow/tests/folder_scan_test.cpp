#include "slideshow/tests/slide_show_test_support.h"

#include "platform/dir_search.h"

#include <QDir>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

QStringList Locations(const TSlideShow& show) {
    QStringList locations;
    for (int i = 0; i < show.Items()->Count(); ++i)
        locations << show.Items()->Items(i)->Location();
    return locations;
}

class FolderScan : public ::testing::Test {
protected:
    void SetUp() override {
        WritePicture(Dir.filePath("a.jpg"), 4, 4);
        ASSERT_TRUE(WriteFileBytes(Dir.filePath("b.txt"), "text"));
        ASSERT_TRUE(WriteFileBytes(Dir.filePath(".hidden"), "hidden"));
        QDir(Dir.path()).mkdir("x");
        WritePicture(Dir.filePath("x/inner.png"), 4, 4);
    }
    QTemporaryDir Dir;
    TStillShow Still;
};

TEST_F(FolderScan, EveryFileOfTheFolderInDirectoryOrderButNoFolders) {
    const QString mask = Dir.path() + "/*.*";
    Still.Show.AddItemsFromFolder(mask, ikPreview, false, false, false);
    QStringList expected;
    for (const TSearchRec& entry : FindFiles(mask)) {
        if (!entry.Directory)
            expected << Dir.path() + "/" + entry.Name;
    }
    EXPECT_EQ(expected.size(), 3);
    EXPECT_EQ(Locations(Still.Show), expected);
    const TSlideShowItem* item = Still.Show.Items()->Items(0);
    EXPECT_EQ(item->Kind(), ikPreview);
    EXPECT_EQ(item->Text(), "Slide Show Item");
    EXPECT_EQ(item->Hint(), "");
    EXPECT_EQ(item->Description(), "");
}

TEST_F(FolderScan, FlagsPutThePathIntoDescriptionTextAndHint) {
    Still.Show.AddItemsFromFolder(Dir.path() + "/*.jpg", ikImage, true, false, true);
    ASSERT_EQ(Still.Show.Items()->Count(), 1);
    const TSlideShowItem* item = Still.Show.Items()->Items(0);
    const QString path = Dir.filePath("a.jpg");
    EXPECT_EQ(item->Location(), path);
    EXPECT_EQ(item->Description(), path);
    EXPECT_EQ(item->Hint(), path);
    EXPECT_EQ(item->Text(), "Slide Show Item");

    Still.Show.AddItemsFromFolder(Dir.path() + "/*.jpg", ikImage, false, true, false);
    ASSERT_EQ(Still.Show.Items()->Count(), 2);
    EXPECT_EQ(Still.Show.Items()->Items(1)->Text(), path);
    EXPECT_EQ(Still.Show.Items()->Items(1)->Description(), "");
}

TEST_F(FolderScan, FolderWithoutWildcardMissingFolderAndBareMask) {
    Still.Show.AddItemsFromFolder(Dir.path(), ikImage, true, true, true);
    Still.Show.AddItemsFromFolder(Dir.path() + "/missing/*.*", ikImage, true, true, true);
    EXPECT_EQ(Still.Show.Items()->Count(), 0);

    const QString previous = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    Still.Show.AddItemsFromFolder("*.jpg", ikImage, false, false, false);
    QDir::setCurrent(previous);
    EXPECT_EQ(Locations(Still.Show), QStringList{"a.jpg"});
}

TEST_F(FolderScan, InsideAnUpdateTheLoaderWaitsForTheEnd) {
    Still.Show.BeginUpdate();
    Still.Show.AddItemsFromFolder(Dir.path() + "/*.jpg", ikImage, false, false, false);
    QTest::qWait(50);
    EXPECT_EQ(Still.Show.Items()->Items(0)->ThreadStatus(), stInitialized);
    Still.Show.EndUpdate();
    ASSERT_TRUE(WaitLoaded(Still.Show));
    EXPECT_EQ(Still.Show.Items()->Items(0)->ThreadStatus(), stLoaded);
}

} // namespace
} // namespace lanterna::testing
