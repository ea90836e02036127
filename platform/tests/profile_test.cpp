#include "platform/numbers.h"
#include "platform/profile.h"
#include "platform/types.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lanterna;

namespace {

class ProfileTest : public testing::Test {
protected:
    QString Path() const { return FDir.filePath(QStringLiteral("test.ini")); }
    void Put(const QByteArray& bytes) {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Get() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir FDir;
};

} // namespace

TEST(Numbers, DecimalHexAndInvalid) {
    EXPECT_EQ(ParseInteger(QStringLiteral("42")), 42);
    EXPECT_EQ(ParseInteger(QStringLiteral("-17")), -17);
    EXPECT_EQ(ParseInteger(QStringLiteral("+5")), 5);
    EXPECT_EQ(ParseInteger(QStringLiteral("0x10")), 16);
    EXPECT_EQ(ParseInteger(QStringLiteral("0X1f")), 31);
    EXPECT_EQ(ParseInteger(QStringLiteral("0xFFFFFFFF")), -1);
    EXPECT_EQ(ParseInteger(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(ParseInteger(QStringLiteral("-2147483648")), -2147483647 - 1);
    for (const char* bad :
         {"", "yes", "0x", "0x1G", "12a", "-", "1.5", "2147483648", "0x100000000", "$10", "1 2"})
        EXPECT_FALSE(ParseInteger(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST_F(ProfileTest, MissingFileGivesDefaults) {
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Global"), QStringLiteral("A"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Global"), QStringLiteral("A"), 6), 6);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Global"), QStringLiteral("A"), true));
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(ProfileTest, ReadsWithWindowsSemantics) {
    Put("\xEF\xBB\xBF; comment\r\n[other]\r\nkey=wrong\r\n[ GLOBAL ]\r\n  Key =  \"quoted value\"  \r\n"
        "key=second\r\nsingle='x'\r\nmixed=\"a'\r\nempty=\r\nnum=0x10\r\nbad=yes\r\nczech=Uložit\r\n");
    TIniFile ini(Path());
    const QString g = QStringLiteral("global");
    EXPECT_EQ(ini.ReadString(g, QStringLiteral("KEY"), {}), QStringLiteral("quoted value"));
    EXPECT_EQ(ini.ReadString(g, QStringLiteral("single"), {}), QStringLiteral("x"));
    EXPECT_EQ(ini.ReadString(g, QStringLiteral("mixed"), {}), QStringLiteral("\"a'"));
    EXPECT_EQ(ini.ReadString(g, QStringLiteral("empty"), QStringLiteral("d")), QString());
    EXPECT_EQ(ini.ReadInteger(g, QStringLiteral("empty"), 6), 6);
    EXPECT_EQ(ini.ReadInteger(g, QStringLiteral("num"), 0), 16);
    EXPECT_EQ(ini.ReadInteger(g, QStringLiteral("bad"), 7), 7);
    EXPECT_FALSE(ini.ReadBool(g, QStringLiteral("bad"), false));
    EXPECT_EQ(ini.ReadString(g, QStringLiteral("czech"), {}), QStringLiteral("Uložit"));
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("OTHER")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("none")));
}

TEST_F(ProfileTest, LongValuesAreCut) {
    Put("[s]\nk=" + QByteArray(5000, 'a') + "\n");
    EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("s"), QStringLiteral("k"), {}).size(),
              TIniFile::kMaxValueLength);
    EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("s"), QStringLiteral("k"), {}, 4500).size(), 4500);
}

TEST_F(ProfileTest, WritesInPlaceAppendsAndKeepsOtherLines) {
    Put("; keep me\r\n[Global]\r\nOld=1\r\nfullscreen=0\r\n\r\n[Other]\r\nx=y\r\n");
    TIniFile ini(Path());
    ini.WriteBool(QStringLiteral("Global"), QStringLiteral("FullScreen"), true);
    ini.WriteInteger(QStringLiteral("global"), QStringLiteral("RotateInterval"), 12);
    ini.WriteString(QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(Get(), QByteArray("; keep me\r\n[Global]\r\nOld=1\r\nFullScreen=1\r\nRotateInterval=12\r\n\r\n"
                                "[Other]\r\nx=y\r\n[New]\r\nk=v\r\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("GLOBAL"), QStringLiteral("rotateinterval"), 0), 12);
}

TEST_F(ProfileTest, CreatesFileAndReportsUnwritable) {
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("Global"), QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(Get(), QByteArray("[Global]\nA=1\n"));

    const QString missing = FDir.filePath(QStringLiteral("no/such/dir/x.ini"));
    TIniFile bad(missing);
    try {
        bad.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to ") + missing);
    }
}
