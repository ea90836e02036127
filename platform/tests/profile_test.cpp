#include "platform/numbers.h"
#include "platform/profile.h"
#include "platform/types.h"
#include "testing/test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

using namespace lanterna;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QString Path() const { return FDir.filePath(QStringLiteral("test.ini")); }
    void Put(const QByteArray& bytes) { ASSERT_TRUE(lanterna::testing::WriteFileBytes(Path(), bytes)); }
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
    ini.WriteString(QStringLiteral("Global"), QStringLiteral("FullScreen"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("global"), QStringLiteral("RotateInterval"), QStringLiteral("12"));
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

TEST_F(ProfileTest, ForeignLinesKeepTheirBytesWhateverTheirEncoding) {
    // "Příliš" in Windows-1250, a Latin-1 comment, a lone CR line ending and no final line break.
    const QByteArray foreign =
        "[Legacy]\r\nname=P\xF8\xEDli\xB9\r\n; \xE9t\xE9\r\n[Global]\r\nFullScreen=0\r\n"
        "odd=\xFF\xFE\r\n[Tail]\r\nlast=1";
    Put(foreign);
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("Global"), QStringLiteral("FullScreen"), QStringLiteral("1"));
    ini.WriteString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"),
                    QStringLiteral("/média/Obrázky"));
    QByteArray expected = foreign;
    expected.replace("FullScreen=0\r\nodd=\xFF\xFE\r\n",
                     "FullScreen=1\r\nodd=\xFF\xFE\r\nSlideDirectory=/m\xC3\xA9"
                     "dia/Obr\xC3\xA1zky\r\n");
    EXPECT_EQ(Get(), expected + "\n");
    EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("global"), QStringLiteral("slidedirectory"), {}),
              QStringLiteral("/média/Obrázky"));
}

TEST_F(ProfileTest, AFileThatCannotBeReadIsNeverReplaced) {
    const auto refused = [](TIniFile& ini, const QString& value) {
        try {
            ini.WriteString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"), value);
        } catch (const EInOutError& e) {
            return e.Message();
        }
        return QString();
    };
    // Too large to be a settings file, a folder of that name, and (for a user who is not root) a
    // file without read permission.
    Put("[Global]\nx=" + QByteArray(TIniFile::kMaxFileBytes, 'a') + "\n");
    const QByteArray large = Get();
    TIniFile tooLarge(Path());
    EXPECT_EQ(tooLarge.ReadString(QStringLiteral("Global"), QStringLiteral("x"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(refused(tooLarge, QStringLiteral("/x")), QStringLiteral("Unable to write to ") + Path());
    EXPECT_EQ(Get(), large);

    const QString folder = FDir.filePath(QStringLiteral("folder.cfg"));
    ASSERT_TRUE(QDir().mkdir(folder));
    TIniFile onFolder(folder);
    EXPECT_EQ(refused(onFolder, QStringLiteral("/x")), QStringLiteral("Unable to write to ") + folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    if (::geteuid() != 0) {
        Put("[Global]\nFullScreen=1\n");
        QFile::setPermissions(Path(), QFileDevice::WriteOwner);
        TIniFile locked(Path());
        EXPECT_EQ(refused(locked, QStringLiteral("/x")), QStringLiteral("Unable to write to ") + Path());
        QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(Get(), QByteArray("[Global]\nFullScreen=1\n"));
    }
}

TEST_F(ProfileTest, AValueWithALineBreakIsRefusedAndNothingIsWritten) {
    Put("[Global]\nSlideDirectory=/old\n");
    TIniFile ini(Path());
    for (const QString& value : {QStringLiteral("/a\nFullScreen=1"), QStringLiteral("/a\rb")}) {
        try {
            ini.WriteString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"), value);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Unable to write to %1: the value of SlideDirectory holds a "
                                     "line break")
                          .arg(Path()));
        }
    }
    EXPECT_EQ(Get(), QByteArray("[Global]\nSlideDirectory=/old\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"), {}),
              QStringLiteral("/old"));
}

TEST_F(ProfileTest, AWriteThatWouldPassTheSizeLimitIsRefusedWhole) {
    // A foreign section that leaves room for a few short keys, but not for a long one.
    const QByteArray before =
        "[Global]\nFullScreen=0\n[Foreign]\nx=" + QByteArray(TIniFile::kMaxFileBytes - 100, 'a') + "\n";
    Put(before);
    TIniFile ini(Path());
    const std::vector<TIniFile::TEntry> entries = {{QStringLiteral("FullScreen"), QStringLiteral("1")},
                                                   {QStringLiteral("SlideDirectory"), QString(60, 'd')}};
    const QString refusal =
        QStringLiteral("Unable to write to %1: the file would grow past 1048576 bytes").arg(Path());
    for (const auto& write : {std::function([&] { ini.CheckWrite(QStringLiteral("Global"), entries); }),
                              std::function([&] { ini.WriteStrings(QStringLiteral("Global"), entries); })}) {
        try {
            write();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), refusal);
        }
    }
    EXPECT_EQ(Get(), before) << "not even the key that fitted is written";
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Global"), QStringLiteral("FullScreen"), 7), 0);

    ini.WriteStrings(QStringLiteral("Global"), {entries[0], {QStringLiteral("RotateInterval"), "9"}});
    EXPECT_TRUE(Get().startsWith("[Global]\nFullScreen=1\nRotateInterval=9\n[Foreign]\n"));
    TIniFile larger(Path(), 2 * TIniFile::kMaxFileBytes);
    larger.WriteStrings(QStringLiteral("Global"), entries);
    EXPECT_EQ(larger.ReadString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"), {}).size(), 60);
}

TEST_F(ProfileTest, AValueThatReadsTheSameKeepsItsBytes) {
    // A Latin-1 folder name reads with replacement characters; written back as read, its line stays.
    const QByteArray before = "[Global]\r\nSlideDirectory=/m\xE9"
                              "dia/Obr\xE1zky\r\nQuoted = \"a b\" \r\n";
    Put(before);
    TIniFile ini(Path());
    const QString folder = ini.ReadString(QStringLiteral("Global"), QStringLiteral("SlideDirectory"), {});
    EXPECT_TRUE(folder.contains(QChar::ReplacementCharacter));
    ini.WriteStrings(QStringLiteral("global"), {{QStringLiteral("slidedirectory"), folder},
                                                {QStringLiteral("Quoted"), QStringLiteral("a b")}});
    EXPECT_EQ(Get(), before);
    ini.WriteString(QStringLiteral("Global"), QStringLiteral("Quoted"), QStringLiteral("a  b"));
    EXPECT_EQ(Get(), "[Global]\r\nSlideDirectory=/m\xE9"
                     "dia/Obr\xE1zky\r\nQuoted=a  b\r\n");
}

TEST_F(ProfileTest, ThousandKeysOfAMegabyteFileAreReadWithoutRescanningIt) {
    // An update description padded with junk keys before its list, as a broken server could send.
    QByteArray text = "[UPDATE]\nProductName=Lanterna\nFiles=999\n";
    for (int i = 0; text.size() < TIniFile::kMaxFileBytes - 40000; ++i)
        text += 'j' + QByteArray::number(i) + "=\n";
    for (int i = 1; i <= 999; ++i)
        text += "File" + QByteArray::number(i) + "=http://h/f" + QByteArray::number(i) + '\n';
    ASSERT_LE(text.size(), TIniFile::kMaxFileBytes);
    Put(text);
    QElapsedTimer timer;
    timer.start();
    const TIniFile ini(Path());
    for (int i = 1; i <= 999; ++i)
        ASSERT_EQ(ini.ReadString(QStringLiteral("update"), QStringLiteral("FILE%1").arg(i), {}),
                  QStringLiteral("http://h/f%1").arg(i));
    // A rescan of the whole file per key took tens of seconds; one pass takes milliseconds.
    EXPECT_LT(timer.elapsed(), 5000);
}
