#include "transfer/internal/base64.h"
#include "transfer/internal/date_time.h"
#include "transfer/internal/formats.h"
#include "transfer/internal/library_error.h"
#include "transfer/url_functions.h"

#include <QLocale>
#include <QSet>
#include <curl/curl.h>
#include <gtest/gtest.h>

using namespace lanterna;

TEST(Formats, SizesAndRatesByThreshold) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(SizeText(0), "0 bytes");
    EXPECT_EQ(SizeText(999), "999 bytes");
    EXPECT_EQ(SizeText(1000), "1.00 Kb");
    EXPECT_EQ(SizeText(10000), "10.00 Kb");
    EXPECT_EQ(SizeText(1500000), "1.50 Mb");
    EXPECT_EQ(SizeText(4294967295u), "4294.97 Mb");
    // Two decimals rounded halves to even on the exact value: 1.005 -> 1.00, 1.015 -> 1.02.
    EXPECT_EQ(SizeText(1005), "1.00 Kb");
    EXPECT_EQ(SizeText(1015), "1.02 Kb");
    EXPECT_EQ(SizeText(1006), "1.01 Kb");
    EXPECT_EQ(SizeText(2345000), "2.34 Mb");
    EXPECT_EQ(RateText(999), "999 bytes/sec");
    EXPECT_EQ(RateText(-1500), "-1500 bytes/sec");
    EXPECT_EQ(RateText(2500), "2.50 Kb/sec");
    EXPECT_EQ(RateText(12345678), "12.35 Mb/sec");
}

TEST(Formats, TheUsersDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::Czech));
    EXPECT_EQ(SizeText(1500000), "1,50 Mb");
    QLocale::setDefault(QLocale::c());
}

TEST(Formats, TimesRoundStepByStep) {
    EXPECT_EQ(TimeText(30000, 0, 0), "30 sec.");
    EXPECT_EQ(TimeText(29500, 0, 0), "30 sec.");
    EXPECT_EQ(TimeText(28500, 0, 0), "28 sec.");
    EXPECT_EQ(TimeText(0, 0, 0), "0 sec.");
    EXPECT_EQ(TimeText(90000, 0, 0), "2 minutes");
    EXPECT_EQ(TimeText(31000, 0, 0), "1 minutes");
    EXPECT_EQ(TimeText(2400000, 0, 0), "0h 40");
    EXPECT_EQ(TimeText(7500000, 0, 0), "2h 5");
    // The time left at the rate so far, unless nothing or everything has moved.
    EXPECT_EQ(TimeText(10000, 1000, 3000), "20 sec.");
    EXPECT_EQ(TimeText(10000, 3000, 3000), "10 sec.");
    EXPECT_EQ(TimeText(10000, 5000, 3000), "10 sec.");
    EXPECT_EQ(TimeText(10000, 1000, 0), "10 sec.");
}

TEST(UrlFunctions, NamesAndServers) {
    EXPECT_EQ(LastSegment("http://host/files/setup.exe"), "setup.exe");
    EXPECT_EQ(LastSegment("http://host/get?file=a/b.zip"), "b.zip");
    EXPECT_EQ(LastSegment("http://host/dir\\sub\\x.txt"), "x.txt");
    EXPECT_EQ(LastSegment("http://host/dir/"), "");
    EXPECT_EQ(LastSegment("plain.txt"), "plain.txt");

    EXPECT_EQ(ServerOf("http://host:8080/a/b"), "host:8080");
    EXPECT_EQ(ServerOf("http://user:pw@host/a"), "host");
    EXPECT_EQ(ServerOf("host/a@b"), "host");
    EXPECT_EQ(ServerOf("http://host"), "host");

    EXPECT_EQ(ObjectPath("http://user:pw@host:81/a/b.txt?x=1"), "/a/b.txt?x=1");
    EXPECT_EQ(ObjectPath("http://host/"), "/");
    EXPECT_EQ(LoginHost("http://user:pw@host:81/a"), "user:pw@host:81");
    EXPECT_EQ(LoginHost("http://host\\share/x"), "host");
    EXPECT_EQ(LoginHost("http://host"), "host");
}

TEST(UrlFunctions, ProxyRewriteNeedsBothCredentials) {
    EXPECT_EQ(ProxyRewrite("HTTP://host/a", "u", "p"), "http://u:p@host/a");
    EXPECT_EQ(ProxyRewrite("http://host/a", "u", ""), "http://host/a");
    EXPECT_EQ(ProxyRewrite("https://host/a", "u", "p"), "https://host/a");
}

TEST(UrlFunctions, RequestsCarryEveryCharacterEncodedOnce) {
    EXPECT_EQ(RequestUrl("http://host/my file.bin"), "http://host/my%20file.bin");
    EXPECT_EQ(RequestUrl("http://host/a%20b%2fc"), "http://host/a%20b%2fc") << "already encoded";
    EXPECT_EQ(RequestUrl("http://host/100%/%4g%"), "http://host/100%25/%254g%25");
    EXPECT_EQ(RequestUrl(QStringLiteral("http://host/Obrázek \"1\"<{|}>^`\\\t.png")),
              "http://host/Obr%C3%A1zek%20%221%22%3C%7B%7C%7D%3E%5E%60%5C%09.png");
    const QString plain = "https://u:p@host:81/a/b-c_d.e~f?x=1&y=(2)+[3];z=*!$',#top";
    EXPECT_EQ(RequestUrl(plain), plain.toUtf8()) << "what a URL may hold stays";
}

TEST(UrlFunctions, TargetPathsAndUniqueNames) {
    EXPECT_EQ(TargetPath("/app", "setup.exe"), "/app/setup.exe");
    EXPECT_EQ(TargetPath("/app/", "setup.exe"), "/app/setup.exe");
    EXPECT_EQ(TargetPath("C:\\App\\", "setup.exe"), "C:\\App\\setup.exe");
    EXPECT_EQ(TargetPath("", "setup.exe"), "setup.exe");

    QSet<QString> taken{"/d/report.pdf", "/d/report(1).pdf", "/d/report(2).pdf"};
    auto exists = [&](const QString& path) { return taken.contains(path); };
    EXPECT_EQ(UniqueName("/d/report.pdf", exists), "/d/report(3).pdf");
    EXPECT_EQ(UniqueName("/d/README", exists), "/d/README(1)");
    // A dot in a folder name is no extension.
    EXPECT_EQ(UniqueName("/d.v2/README", exists), "/d.v2/README(1)");
    EXPECT_EQ(UniqueName("/d/archive.tar.gz", exists), "/d/archive.tar(1).gz");
}

TEST(Base64, StandardAlphabetWithPadding) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(Base64Encode(QByteArray("\xfb\xff\xbf", 3)), "+/+/");
}

TEST(DateTimes, DaysSinceTheEightiesOfTheNineteenthCentury) {
    EXPECT_DOUBLE_EQ(DateTimeFromUnixSeconds(0), 25569.0);
    // 2021-06-15 12:00:00 as sent, no zone applied.
    EXPECT_DOUBLE_EQ(DateTimeFromUnixSeconds(1623758400), 44362.5);
    const double now = NowDateTime();
    EXPECT_GT(now, 44362.0);
    EXPECT_LT(now, 80000.0);
}

TEST(LibraryErrors, CodesNeverCollideWithTheEnginesOwn) {
    EXPECT_EQ(EngineErrorCode(CURLE_OPERATION_TIMEDOUT), 12002);
    EXPECT_EQ(EngineErrorCode(CURLE_COULDNT_RESOLVE_HOST), 12007);
    EXPECT_EQ(EngineErrorCode(CURLE_COULDNT_CONNECT), 12029);
    EXPECT_EQ(EngineErrorCode(CURLE_RECV_ERROR), 12031);
    EXPECT_EQ(EngineErrorCode(CURLE_FILESIZE_EXCEEDED), 13063);
    for (int code = 1; code < CURL_LAST; ++code)
        EXPECT_GE(EngineErrorCode(code), 12000) << code;
    const TLibraryError error = LibraryError(CURLE_COULDNT_CONNECT, QByteArray(400, 'x').constData());
    EXPECT_EQ(error.Text.size(), 255);
    EXPECT_FALSE(LibraryError(CURLE_COULDNT_CONNECT).Text.isEmpty());
}
