#include "drawing/fill.h"
#include "drawing/tests/drawing_test_support.h"
#include "platform/profile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

const QString kSection = QStringLiteral("Fill");

const QStringList kKeyOrder = {"Color",
                               "ColorTo",
                               "ColorMirror",
                               "ColorMirrorTo",
                               "GradientType",
                               "GradientMirrorType",
                               "HatchStyle",
                               "HatchStyleMirror",
                               "BackGroundPictureMode",
                               "BackGroundPicturePosition",
                               "BackGroundPictureLeft",
                               "BackGroundPictureTop",
                               "PicturePosition",
                               "PictureLeft",
                               "PictureTop",
                               "PictureSize",
                               "PictureWidth",
                               "PictureHeight",
                               "Opacity",
                               "OpacityTo",
                               "OpacityMirror",
                               "OpacityMirrorTo",
                               "BorderColor",
                               "BorderOpacity",
                               "BorderWidth",
                               "Rounding",
                               "RoundingType",
                               "ShadowOffset",
                               "ShadowColor",
                               "Angle",
                               "Glow",
                               "GlowGradientColor",
                               "GlowRadialColor",
                               "Picture",
                               "PictureHexLength",
                               "BackgroundPicture",
                               "BackgroundPictureSize"};

void LoadBytes(TGPPicture& picture, QByteArray bytes) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&in);
}

// A fill whose every stored setting differs from the default.
void SetEveryStoredValue(TFill& f) {
    f.SetColor(clRed);
    f.SetColorTo(clNone);
    f.SetColorMirror(clBlue);
    f.SetColorMirrorTo(0x80000005); // a system colour: negative as a 32-bit number
    f.SetGradientType(gtAngle);
    f.SetGradientMirrorType(gtHatch);
    f.SetHatchStyle(HatchStyleSolidDiamond);
    f.SetHatchStyleMirror(HatchStyle(7));
    f.SetBackGroundPictureMode(pmInsideFill);
    f.SetBackGroundPicturePosition(ppCustom);
    f.SetBackGroundPictureLeft(-3);
    f.SetBackGroundPictureTop(4);
    f.SetPicturePosition(ppCenterRight);
    f.SetPictureLeft(5);
    f.SetPictureTop(-6);
    f.SetPictureSize(psCustom);
    f.SetPictureWidth(70);
    f.SetPictureHeight(80);
    f.SetOpacity(1);
    f.SetOpacityTo(2);
    f.SetOpacityMirror(3);
    f.SetOpacityMirrorTo(4);
    f.SetBorderColor(clLime);
    f.SetBorderOpacity(9);
    f.SetBorderWidth(3);
    f.SetRounding(12);
    f.SetRoundingType(rtLeft);
    f.SetShadowOffset(4);
    f.SetShadowColor(clNavy);
    f.SetAngle(-45);
    f.SetGlow(gmRadialGradient);
    f.SetGlowGradientColor(clYellow);
    f.SetGlowRadialColor(clAqua);
    LoadBytes(f.Picture(), Encode(Pattern(3, 2), "png"));
    LoadBytes(f.BackGroundPicture(), Encode(Pattern(2, 2), "bmp"));
}

void ExpectSameStoredValues(const TFill& a, const TFill& b) {
    EXPECT_EQ(a.Color(), b.Color());
    EXPECT_EQ(a.ColorTo(), b.ColorTo());
    EXPECT_EQ(a.ColorMirror(), b.ColorMirror());
    EXPECT_EQ(a.ColorMirrorTo(), b.ColorMirrorTo());
    EXPECT_EQ(a.GradientType(), b.GradientType());
    EXPECT_EQ(a.GradientMirrorType(), b.GradientMirrorType());
    EXPECT_EQ(a.HatchStyle(), b.HatchStyle());
    EXPECT_EQ(a.HatchStyleMirror(), b.HatchStyleMirror());
    EXPECT_EQ(a.BackGroundPictureMode(), b.BackGroundPictureMode());
    EXPECT_EQ(a.BackGroundPicturePosition(), b.BackGroundPicturePosition());
    EXPECT_EQ(a.BackGroundPictureLeft(), b.BackGroundPictureLeft());
    EXPECT_EQ(a.BackGroundPictureTop(), b.BackGroundPictureTop());
    EXPECT_EQ(a.PicturePosition(), b.PicturePosition());
    EXPECT_EQ(a.PictureLeft(), b.PictureLeft());
    EXPECT_EQ(a.PictureTop(), b.PictureTop());
    EXPECT_EQ(a.PictureSize(), b.PictureSize());
    EXPECT_EQ(a.PictureWidth(), b.PictureWidth());
    EXPECT_EQ(a.PictureHeight(), b.PictureHeight());
    EXPECT_EQ(a.Opacity(), b.Opacity());
    EXPECT_EQ(a.OpacityTo(), b.OpacityTo());
    EXPECT_EQ(a.OpacityMirror(), b.OpacityMirror());
    EXPECT_EQ(a.OpacityMirrorTo(), b.OpacityMirrorTo());
    EXPECT_EQ(a.BorderColor(), b.BorderColor());
    EXPECT_EQ(a.BorderOpacity(), b.BorderOpacity());
    EXPECT_EQ(a.BorderWidth(), b.BorderWidth());
    EXPECT_EQ(a.Rounding(), b.Rounding());
    EXPECT_EQ(a.RoundingType(), b.RoundingType());
    EXPECT_EQ(a.ShadowOffset(), b.ShadowOffset());
    EXPECT_EQ(a.ShadowColor(), b.ShadowColor());
    EXPECT_EQ(a.Angle(), b.Angle());
    EXPECT_EQ(a.Glow(), b.Glow());
    EXPECT_EQ(a.GlowGradientColor(), b.GlowGradientColor());
    EXPECT_EQ(a.GlowRadialColor(), b.GlowRadialColor());
    EXPECT_EQ(a.Picture().Data(), b.Picture().Data());
    EXPECT_EQ(a.BackGroundPicture().Data(), b.BackGroundPicture().Data());
}

class FillPersistenceTest : public ::testing::Test {
protected:
    QString Path() const { return FDir.filePath(QStringLiteral("fill.ini")); }
    QString Put(const QByteArray& text) { return WriteFile(FDir, QStringLiteral("fill.ini"), text); }
    QStringList Lines() const {
        QFile file(Path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Counts the fill's change announcements.
    int* Count(TFill& f) {
        f.OnChange = [this](TPersistent*) { ++FChanges; };
        return &FChanges;
    }

    QTemporaryDir FDir;
    int FChanges = 0;
};

} // namespace

TEST_F(FillPersistenceTest, RoundTripKeepsStoredValuesAndLeavesTheOthers) {
    TFill saved;
    SetEveryStoredValue(saved);
    saved.SaveToFile(Path(), kSection);

    TFill loaded;
    loaded.SetShadowType(stSurround);
    loaded.SetPictureAspectRatio(true);
    loaded.SetBackGroundPictureAspectMode(pmNormal);
    loaded.SetFocus(true);
    loaded.SetFocusColor(clPurple);
    const int* changes = Count(loaded);
    loaded.LoadFromFile(Path(), kSection);
    EXPECT_EQ(*changes, 1);
    ExpectSameStoredValues(saved, loaded);
    EXPECT_EQ(loaded.ShadowType(), stSurround);
    EXPECT_TRUE(loaded.PictureAspectRatio());
    EXPECT_EQ(loaded.BackGroundPictureAspectMode(), pmNormal);
    EXPECT_TRUE(loaded.Focus());
    EXPECT_EQ(loaded.FocusColor(), clPurple);
}

TEST_F(FillPersistenceTest, StoredFormKeysValuesAndPictureText) {
    TFill f;
    const QByteArray bytes = Encode(Pattern(2, 1), "bmp");
    LoadBytes(f.Picture(), bytes);
    TIniFile ini(Path());
    f.SaveToFile(ini, kSection);

    QStringList keys, values;
    for (const QString& line : Lines().mid(1)) {
        keys << line.section(QLatin1Char('='), 0, 0);
        values << line.section(QLatin1Char('='), 1);
    }
    EXPECT_EQ(Lines().front(), QStringLiteral("[Fill]"));
    EXPECT_EQ(keys, kKeyOrder);
    EXPECT_EQ(values[2], QStringLiteral("536870911")); // clNone
    EXPECT_EQ(values[keys.indexOf("PictureSize")], QStringLiteral("0"));

    const QString text = values[keys.indexOf("Picture")];
    EXPECT_EQ(text.size(), 2 * bytes.size());
    EXPECT_EQ(text, QString::fromLatin1(bytes.toHex().toUpper()));
    const QString lengthKey = keys[keys.indexOf("Picture") + 1];
    EXPECT_NE(lengthKey.compare(QStringLiteral("PictureSize"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(values[keys.indexOf(lengthKey)].toInt(), text.size());
    EXPECT_EQ(values[keys.indexOf("BackgroundPictureSize")], QStringLiteral("0"));
}

TEST_F(FillPersistenceTest, BadDigitRaisesAfterTheSettingsAreTaken) {
    const QByteArray good = Encode(Pattern(1, 1), "png");
    const QByteArray goodHex = good.toHex(); // lower case is read too
    Put("[Fill]\nColor=255\nOpacity=300\nGradientType=99\nPicture=" + goodHex + "7\nPictureHexLength=" +
        QByteArray::number(goodHex.size() + 1) + "\nBackgroundPicture=0G\n" + "BackgroundPictureSize=2\n");
    TFill f;
    const int* changes = Count(f);
    try {
        f.LoadFromFile(Path(), kSection);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("No Hex-Number"));
    }
    EXPECT_EQ(f.Color(), clRed);
    EXPECT_EQ(f.Opacity(), 255);             // out of a byte's range: kept
    EXPECT_EQ(f.GradientType(), gtVertical); // no such ordinal: kept
    EXPECT_EQ(f.Picture().Data(), good);     // the odd last digit is ignored
    EXPECT_TRUE(f.BackGroundPicture().Empty());
    EXPECT_EQ(*changes, 1);
}

TEST_F(FillPersistenceTest, PictureTextIsReadUpToItsStoredLength) {
    const QByteArray hex = Encode(Pattern(2, 2), "png").toHex();
    struct Case {
        QByteArray Length;
        QByteArray Bytes;
    } cases[] = {{QByteArray::number(hex.size() - 4), QByteArray::fromHex(hex.left(hex.size() - 4))},
                 {QByteArray::number(hex.size() - 3), QByteArray::fromHex(hex.left(hex.size() - 4))},
                 {QByteArray::number(hex.size() + 2), QByteArray::fromHex(hex)},
                 {QByteArray("2000000000"), QByteArray::fromHex(hex)}};
    for (const Case& c : cases) {
        Put("[Fill]\nPicture=" + hex + "\nPictureHexLength=" + c.Length + "\n");
        TFill f;
        f.LoadFromFile(Path(), kSection);
        EXPECT_EQ(f.Picture().Data(), c.Bytes) << c.Length.toStdString();
    }

    // A text past the largest picture loads nothing of it; the rest loads and the error says why.
    TFill f;
    const QByteArray kept = Encode(Pattern(1, 1), "bmp");
    LoadBytes(f.Picture(), kept);
    const QByteArray huge(2 * TFill::kMaxStoredPictureBytes + 2, 'A');
    Put("[Fill]\nBorderWidth=7\nPicture=" + huge + "\nPictureHexLength=2000000000\nBackgroundPicture=" + hex +
        "\nBackgroundPictureSize=" + QByteArray::number(hex.size()) + "\n");
    try {
        f.LoadFromFile(Path(), kSection);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The stored Picture is larger than 8388608 bytes"));
    }
    EXPECT_EQ(f.Picture().Data(), kept);
    EXPECT_EQ(f.BackGroundPicture().Data(), QByteArray::fromHex(hex));
    EXPECT_EQ(f.BorderWidth(), 7);
}

TEST_F(FillPersistenceTest, PhotosOfSeveralMegabytesAreSavedWholeAndReadBack) {
    TFill saved;
    SetEveryStoredValue(saved);
    LoadBytes(saved.Picture(), Encode(PhotoLike(2400, 1600, 1), "jpg", 95));
    LoadBytes(saved.BackGroundPicture(), Encode(PhotoLike(1600, 1200, 2), "png"));
    ASSERT_GT(saved.Picture().Data().size(), 1 << 20);
    ASSERT_GT(saved.BackGroundPicture().Data().size(), 2 << 20);

    // A settings file cannot take them: nothing is written, and the file stays readable and writable.
    const QByteArray before = "[Other]\nkeep=1\n";
    Put(before);
    TIniFile settings(Path());
    EXPECT_THROW(saved.SaveToFile(settings, kSection), EInOutError);
    EXPECT_EQ(ReadFileBytes(Path()), before);
    TFill small;
    small.SaveToFile(settings, kSection);
    EXPECT_EQ(settings.ReadString(QStringLiteral("Other"), QStringLiteral("keep"), {}), QStringLiteral("1"));

    // A fill file can, over the small fill's keys, which keep their order.
    saved.SaveToFile(Path(), kSection);
    QStringList keys;
    for (const QString& line : Lines().mid(3))
        keys << line.section(QLatin1Char('='), 0, 0);
    EXPECT_EQ(Lines().mid(0, 3), (QStringList{"[Other]", "keep=1", "[Fill]"}));
    EXPECT_EQ(keys, kKeyOrder);
    TFill loaded;
    loaded.LoadFromFile(Path(), kSection);
    ExpectSameStoredValues(saved, loaded);
}

TEST_F(FillPersistenceTest, ClipboardRoundTripCarriesThePublishedSettings) {
    TFill copied;
    SetEveryStoredValue(copied);
    copied.SetShadowType(stBottom);
    copied.SetPictureAspectRatio(true);
    copied.SetPictureAspectMode(pmNormal);
    copied.SetFocus(true);
    copied.SaveToClipBoard();

    TFill pasted;
    const int* changes = Count(pasted);
    pasted.LoadFromClipBoard();
    EXPECT_EQ(*changes, 1);
    ExpectSameStoredValues(copied, pasted);
    EXPECT_EQ(pasted.ShadowType(), stBottom);
    EXPECT_TRUE(pasted.PictureAspectRatio());
    EXPECT_EQ(pasted.PictureAspectMode(), pmNormal);
    EXPECT_FALSE(pasted.Focus());

    // Other data on the clipboard is no fill.
    QGuiApplication::clipboard()->setText(QStringLiteral("Color=255"));
    pasted.LoadFromClipBoard();
    EXPECT_EQ(*changes, 1);
    EXPECT_EQ(pasted.Color(), clRed);
}
