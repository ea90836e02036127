#include "slideshow/tests/slide_show_test_support.h"

#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

TEST(Loader, FolderOfThreePicturesAndATextFile) {
    QTemporaryDir dir;
    WritePicture(dir.filePath("a.png"), 40, 30);
    WritePicture(dir.filePath("b.jpg"), 60, 20);
    WriteText(dir.filePath("c.txt"), "not a picture");
    WritePicture(dir.filePath("d.bmp"), 10, 50);
    TStillShow still;
    still.Show.AddItemsFromFolder(dir.path() + "/*.*", ikImage, true, true, true);
    ASSERT_EQ(still.Show.Items()->Count(), 4);
    ASSERT_TRUE(WaitLoaded(still.Show));
    for (int i = 0; i < 4; ++i) {
        const TSlideShowItem* item = still.Show.Items()->Items(i);
        const bool text = item->Location().endsWith(".txt");
        EXPECT_EQ(item->ThreadStatus(), stLoaded) << item->Location().toStdString();
        EXPECT_EQ(item->ThumbThreadStatus(), text ? stInitialized : stLoaded)
            << item->Location().toStdString();
        EXPECT_EQ(item->PictureSize().isEmpty(), text);
    }
}

} // namespace
} // namespace lanterna::testing
