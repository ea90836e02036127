#include "platform/dir_search.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace lanterna;

TEST(DirSearch, MasksMatchLikeTheOriginalPlatform) {
    EXPECT_TRUE(MatchesMask(QStringLiteral("photo.JPG"), QStringLiteral("*.jpg")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("README"), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("a.b.c"), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("."), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("ab1.png"), QStringLiteral("ab?.p*")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("ab12.png"), QStringLiteral("ab?.png")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("photo.jpeg"), QStringLiteral("*.jpg")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("aXbXc"), QStringLiteral("a*b*c")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("aXbXd"), QStringLiteral("a*b*c")));
    EXPECT_EQ(MaskFolder(QStringLiteral("/a/b/*.*")), QStringLiteral("/a/b/"));
    EXPECT_EQ(MaskFolder(QStringLiteral("*.*")), QString());
}

TEST(DirSearch, FindsEveryEntryWithDotsAndAttributes) {
    QTemporaryDir dir;
    for (const char* name : {"one.png", "TWO.PNG", "three.txt", "noext"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("12345");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));

    auto names = [](const std::vector<TSearchRec>& recs) {
        QStringList list;
        for (const auto& r : recs)
            list << r.Name;
        list.sort();
        return list;
    };
    const auto all = FindFiles(dir.path() + QStringLiteral("/*.*"));
    EXPECT_EQ(names(all), (QStringList{".", "..", "TWO.PNG", "noext", "one.png", "sub", "three.txt"}));
    auto sub = std::find_if(all.begin(), all.end(),
                            [](const TSearchRec& r) { return r.Name == QStringLiteral("sub"); });
    ASSERT_NE(sub, all.end());
    EXPECT_TRUE(sub->Directory);
    auto one = std::find_if(all.begin(), all.end(),
                            [](const TSearchRec& r) { return r.Name == QStringLiteral("one.png"); });
    EXPECT_FALSE(one->Directory);
    EXPECT_EQ(one->Size, 5);

    EXPECT_EQ(names(FindFiles(dir.path() + QStringLiteral("/*.png"))), (QStringList{"TWO.PNG", "one.png"}));
    EXPECT_TRUE(FindFiles(dir.path() + QStringLiteral("/missing/*.*")).empty());
}
