#include "updater/target_name.h"
#include "updater/update_description.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace updater;

namespace {

class DescriptionTest : public testing::Test {
protected:
    QString Write(const QByteArray& text) {
        QFile f(Path());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return Path();
    }
    QString Path() const { return FDir.filePath(QStringLiteral("UpDate.dat")); }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(DescriptionTest, MissingOrOversizedFileGivesTheDefaultsAndSaysWhy) {
    TUpdateDescription missing = ReadUpdateDescription(Path(), 999);
    EXPECT_EQ(missing.Error, QStringLiteral("File ") + Path() + QStringLiteral(" NOT found!"));
    EXPECT_EQ(missing.ProductName, QStringLiteral("ERROR!!"));
    EXPECT_FALSE(missing.HasProduct());
    EXPECT_TRUE(missing.Files.isEmpty());

    QByteArray big = "[UPDATE]\nProductName=Big\nFiles=1\nFile1=http://h/a\n";
    big += "; " + QByteArray(TUpdateDescription::kMaxFileSize, 'x') + "\n";
    const TUpdateDescription oversized = ReadUpdateDescription(Write(big), 999);
    EXPECT_EQ(oversized.Error, QStringLiteral("File ") + Path() + QStringLiteral(" is larger than 1 MB!"));
    EXPECT_FALSE(oversized.HasProduct());
    EXPECT_TRUE(oversized.Files.isEmpty());
}

TEST_F(DescriptionTest, ProductNameCountsUnlessItIsTheMissingWordExactly) {
    EXPECT_FALSE(ReadUpdateDescription(Write("[UPDATE]\nVer=1.3\n"), 0).HasProduct());
    EXPECT_FALSE(ReadUpdateDescription(Write("[UPDATE]\nProductName=ERROR!!\n"), 0).HasProduct());
    const TUpdateDescription other = ReadUpdateDescription(Write("[update]\nproductname=Error!!\n"), 0);
    EXPECT_TRUE(other.HasProduct());
    EXPECT_EQ(other.ProductName, QStringLiteral("Error!!"));
    EXPECT_TRUE(other.Error.isEmpty());
    EXPECT_EQ(ReadUpdateDescription(Write("[UPDATE]\nProductName=<b>Kelvra</b> Lide\n"), 0).ProductName,
              QStringLiteral("<b>Kelvra</b> Lide"));
}

TEST_F(DescriptionTest, FileListFollowsTheCountWithGapsAndLimits) {
    struct Case {
        QByteArray Text;
        QStringList Files;
    } cases[] = {
        {"[UPDATE]\nFiles=3\nFile1=http://h/a\nFile3=http://h/c\n",
         {QStringLiteral("http://h/a"), QString(), QStringLiteral("http://h/c")}},
        {"[UPDATE]\nFile1=http://h/a\n", {}},
        {"[UPDATE]\nFiles=0\nFile1=http://h/a\n", {}},
        {"[UPDATE]\nFiles=-4\nFile1=http://h/a\n", {}},
        {"[UPDATE]\nFiles=two\nFile1=http://h/a\n", {}},
        {"[UPDATE]\nFiles=0x2\nFile1=http://h/a\nFile2=http://h/b\nFile3=http://h/c\n",
         {QStringLiteral("http://h/a"), QStringLiteral("http://h/b")}},
        {"[UPDATE]\nFiles=1\nFile01=http://h/zero-padded\n", {QString()}},
        {"[OTHER]\nFiles=1\nFile1=http://h/a\n", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadUpdateDescription(Write(c.Text), 999).Files, c.Files) << c.Text.toStdString();

    const TUpdateDescription many = ReadUpdateDescription(Write("[UPDATE]\nFiles=100000\nFile999=x\n"), 999);
    ASSERT_EQ(many.Files.size(), 999);
    EXPECT_EQ(many.Files.back(), QStringLiteral("x"));
}

TEST(TargetNameTest, NamesThatWouldLandOutsideTheFolderAreRefused) {
    for (const char* url : {"http://h/a/UpDate", "http://h/Lanterna", "http://h/dir/file.bin?x=1",
                            "http://h/a%20b.txt", "http://h/..a", "http://h/a..b"})
        EXPECT_TRUE(IsSafeTargetName(QString::fromLatin1(url))) << url;
    for (const char* url :
         {"http://h/", "http://h/a/.", "http://h/a/..", "http://h/%2E%2E", "http://h/..%2Fetc",
          "http://h/..%2fpasswd", "http://h/x%5C..%5Cy", "http://h/a%00b", "http://h/a\\..", "http://h/%2e"})
        EXPECT_FALSE(IsSafeTargetName(QString::fromLatin1(url))) << url;
}
