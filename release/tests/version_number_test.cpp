#include "release/version_number.h"

#include <gtest/gtest.h>

using lanterna::IsNewerVersion;
using lanterna::IsVersion;

TEST(VersionNumber, LaterVersionsAreNewerPartByPartAsNumbers) {
    struct Case {
        const char* Candidate;
        const char* Installed;
        bool Newer;
    };
    for (const Case& c :
         {Case{"1.3", "1.2", true}, Case{"1.10", "1.9", true}, Case{"2", "1.99.99", true},
          Case{"1.2.1", "1.2", true}, Case{"1.2", "1.2", false}, Case{"1.2.0", "1.2", false},
          Case{"1.2", "1.2.0.0", false}, Case{"1.1", "1.2", false}, Case{"1.9", "1.10", false},
          Case{"01.3", "1.2", true}, Case{"1.3", "", false}, Case{"1.3a", "1.2", false},
          Case{"1..3", "1.2", false}, Case{"-1.3", "1.2", false}, Case{" 1.3", "1.2", false},
          Case{"1.3", "latest", false}, Case{"1234567890", "1", false}}) {
        EXPECT_EQ(IsNewerVersion(QString::fromLatin1(c.Candidate), QString::fromLatin1(c.Installed)), c.Newer)
            << c.Candidate << " against " << c.Installed;
    }
    EXPECT_TRUE(IsVersion(QStringLiteral("1.2.3.4.5.6.7.8")));
    EXPECT_FALSE(IsVersion(QStringLiteral("1.2.3.4.5.6.7.8.9")));
    EXPECT_FALSE(IsVersion(QStringLiteral("1.")));
}
