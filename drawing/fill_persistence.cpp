// Saving and loading a fill: its stored INI form and its clipboard copy. Both are lists of keys with
// whole numbers, and the two pictures as hexadecimal text with the length of that text beside it.

#include "drawing/fill.h"

#include "platform/numbers.h"
#include "platform/profile.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace lanterna {

namespace {

// One stored setting: its key, how it is read from and written to the fill, and the range of values
// it accepts (an enumeration's ordinals, a byte); a value outside the range keeps the current one.
struct StoredSetting {
    const char* Key;
    int (*Get)(const TFill&);
    void (*Set)(TFill&, int);
    int Min;
    int Max;
};

constexpr int kAny = 0; // Min == Max == kAny: every 32-bit value
constexpr int kByte = 255;

#define LANTERNA_FILL_COLOR(name)                                                                            \
    StoredSetting {                                                                                          \
#name, [](const TFill& f) { return int(f.name()); }, [](TFill & f,                                   \
                                                                int v) { f.Set##name(TColor(v)); }, kAny,    \
                                                                                                 kAny        \
    }
#define LANTERNA_FILL_INT(name, type, min, max)                                                              \
    StoredSetting {                                                                                          \
#name, [](const TFill& f) { return int(f.name()); }, [](TFill & f,                                   \
                                                                int v) { f.Set##name(type(v)); }, min, max   \
    }

// The stored form, in the order its keys are written.
const std::array kStoredSettings = {
    LANTERNA_FILL_COLOR(Color),
    LANTERNA_FILL_COLOR(ColorTo),
    LANTERNA_FILL_COLOR(ColorMirror),
    LANTERNA_FILL_COLOR(ColorMirrorTo),
    LANTERNA_FILL_INT(GradientType, TGradientType, gtSolid, gtNone),
    LANTERNA_FILL_INT(GradientMirrorType, TGradientType, gtSolid, gtNone),
    LANTERNA_FILL_INT(HatchStyle, HatchStyle, HatchStyleHorizontal, HatchStyleTotal - 1),
    LANTERNA_FILL_INT(HatchStyleMirror, HatchStyle, HatchStyleHorizontal, HatchStyleTotal - 1),
    LANTERNA_FILL_INT(BackGroundPictureMode, TFillPictureMode, pmInsideFill, pmOutsideFill),
    LANTERNA_FILL_INT(BackGroundPicturePosition, TFillPicturePosition, ppTopLeft, ppCustom),
    LANTERNA_FILL_INT(BackGroundPictureLeft, int, kAny, kAny),
    LANTERNA_FILL_INT(BackGroundPictureTop, int, kAny, kAny),
    LANTERNA_FILL_INT(PicturePosition, TFillPicturePosition, ppTopLeft, ppCustom),
    LANTERNA_FILL_INT(PictureLeft, int, kAny, kAny),
    LANTERNA_FILL_INT(PictureTop, int, kAny, kAny),
    LANTERNA_FILL_INT(PictureSize, TFillPictureSize, psOriginal, psCustom),
    LANTERNA_FILL_INT(PictureWidth, int, kAny, kAny),
    LANTERNA_FILL_INT(PictureHeight, int, kAny, kAny),
    LANTERNA_FILL_INT(Opacity, std::uint8_t, 0, kByte),
    LANTERNA_FILL_INT(OpacityTo, std::uint8_t, 0, kByte),
    LANTERNA_FILL_INT(OpacityMirror, std::uint8_t, 0, kByte),
    LANTERNA_FILL_INT(OpacityMirrorTo, std::uint8_t, 0, kByte),
    LANTERNA_FILL_COLOR(BorderColor),
    LANTERNA_FILL_INT(BorderOpacity, std::uint8_t, 0, kByte),
    LANTERNA_FILL_INT(BorderWidth, int, kAny, kAny),
    LANTERNA_FILL_INT(Rounding, int, kAny, kAny),
    LANTERNA_FILL_INT(RoundingType, TFillRoundingType, rtNone, rtRight),
    LANTERNA_FILL_INT(ShadowOffset, int, kAny, kAny),
    LANTERNA_FILL_COLOR(ShadowColor),
    LANTERNA_FILL_INT(Angle, int, kAny, kAny),
    LANTERNA_FILL_INT(Glow, TGlowMode, gmNone, gmRadialGradient),
    LANTERNA_FILL_COLOR(GlowGradientColor),
    LANTERNA_FILL_COLOR(GlowRadialColor),
};

// The published settings that only the clipboard copy carries.
const std::array kClipboardOnlySettings = {
    LANTERNA_FILL_INT(ShadowType, TShadowType, stRightBottom, stSurround),
    LANTERNA_FILL_INT(PictureAspectRatio, bool, 0, 1),
    LANTERNA_FILL_INT(PictureAspectMode, TPictureMode, pmStretch, pmNormal),
    LANTERNA_FILL_INT(BackGroundPictureAspectRatio, bool, 0, 1),
    LANTERNA_FILL_INT(BackGroundPictureAspectMode, TPictureMode, pmStretch, pmNormal),
};

#undef LANTERNA_FILL_COLOR
#undef LANTERNA_FILL_INT

// The two pictures: the key of the text and the key of its length.
struct StoredPicture {
    const char* Key;
    const char* LengthKey;
    TGPPicture& (*Of)(TFill&);
    const TGPPicture& (*OfConst)(const TFill&);
};

const std::array kStoredPictures = {
    StoredPicture{"Picture", "PictureHexLength", [](TFill& f) -> TGPPicture& { return f.Picture(); },
                  [](const TFill& f) -> const TGPPicture& { return f.Picture(); }},
    StoredPicture{"BackgroundPicture", "BackgroundPictureSize",
                  [](TFill& f) -> TGPPicture& { return f.BackGroundPicture(); },
                  [](const TFill& f) -> const TGPPicture& { return f.BackGroundPicture(); }},
};

constexpr qsizetype kMaxPictureText = 2 * TFill::kMaxStoredPictureBytes;

// Where the keys come from and go to: a section of an INI file or the clipboard's text.
class KeyReader {
public:
    virtual ~KeyReader() = default;
    // The value, cut at `maxLength` characters; a null string when the key is missing.
    virtual QString Read(const char* key, qsizetype maxLength) const = 0;
};

class KeyWriter {
public:
    virtual ~KeyWriter() = default;
    virtual void Write(const char* key, const QString& value) = 0;
};

class IniReader : public KeyReader {
public:
    IniReader(const TIniFile& ini, const QString& section) : FIni(ini), FSection(section) {}
    QString Read(const char* key, qsizetype maxLength) const override {
        return FIni.ReadString(FSection, QLatin1String(key), QString(), maxLength);
    }

private:
    const TIniFile& FIni;
    const QString& FSection;
};

// Collects the keys, so that the file is rewritten once with all of them.
class IniWriter : public KeyWriter {
public:
    void Write(const char* key, const QString& value) override {
        FEntries.push_back({QLatin1String(key), value});
    }
    void WriteTo(TIniFile& ini, const QString& section) const { ini.WriteStrings(section, FEntries); }

private:
    std::vector<TIniFile::TEntry> FEntries;
};

// "Key=Value" lines; the first line with a key wins, as in an INI section.
class KeyLines : public KeyReader, public KeyWriter {
public:
    KeyLines() = default;
    explicit KeyLines(const QByteArray& text) {
        for (const QByteArray& line : text.split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                FValues.try_emplace(line.left(eq), line.mid(eq + 1));
        }
    }
    QString Read(const char* key, qsizetype maxLength) const override {
        const auto found = FValues.find(QByteArray(key));
        return found == FValues.end() ? QString() : QString::fromLatin1(found->second.left(maxLength));
    }
    void Write(const char* key, const QString& value) override {
        FText += QByteArray(key) + '=' + value.toLatin1() + '\n';
    }
    const QByteArray& Text() const { return FText; }

private:
    std::map<QByteArray, QByteArray> FValues;
    QByteArray FText;
};

// The clipboard copy holds the settings and the two picture texts; anything larger is no fill of ours.
constexpr qsizetype kMaxClipboardBytes = 2 * kMaxPictureText + 4096;

const QString& ClipboardFormat() {
    // Qt hands a MIME type of this form to the Windows clipboard as the format registered under the
    // quoted name; elsewhere it is a private MIME type of that name.
    static const QString format = QStringLiteral("application/x-qt-windows-mime;value=\"GDI+ Fill\"");
    return format;
}

// The bytes of hexadecimal text in pairs of digits (either case); an odd last digit is ignored.
QByteArray FromHex(const QString& text) {
    const auto digit = [](QChar c) {
        const char16_t u = c.toUpper().unicode();
        if (u >= '0' && u <= '9')
            return u - '0';
        if (u >= 'A' && u <= 'F')
            return u - 'A' + 10;
        throw EConvertError(QStringLiteral("No Hex-Number"));
    };
    QByteArray bytes(text.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(digit(text[2 * i]) << 4 | digit(text[2 * i + 1]));
    return bytes;
}

void Save(const TFill& fill, KeyWriter& store, bool withClipboardOnly) {
    for (const StoredSetting& s : kStoredSettings)
        store.Write(s.Key, QString::number(s.Get(fill)));
    if (withClipboardOnly)
        for (const StoredSetting& s : kClipboardOnlySettings)
            store.Write(s.Key, QString::number(s.Get(fill)));
    for (const StoredPicture& p : kStoredPictures) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        p.OfConst(fill).SaveToStream(&buffer);
        const QString text = QString::fromLatin1(buffer.data().toHex().toUpper());
        store.Write(p.Key, text);
        store.Write(p.LengthKey, QString::number(text.size()));
    }
}

void LoadSettings(TFill& fill, const KeyReader& store, const auto& settings) {
    for (const StoredSetting& s : settings) {
        const std::optional<int> v = ParseInteger(store.Read(s.Key, TIniFile::kMaxValueLength));
        if (v && (s.Min == s.Max || (*v >= s.Min && *v <= s.Max)))
            s.Set(fill, *v);
    }
}

// Loads one picture unless its text is missing: the text up to its stored length, or what there is
// of it when it is shorter. A text beyond the cap loads nothing and is reported through
// `tooLarge`, so that the rest still loads.
void LoadPicture(TFill& fill, const KeyReader& store, const StoredPicture& p, QString& tooLarge) {
    const std::optional<int> length = ParseInteger(store.Read(p.LengthKey, TIniFile::kMaxValueLength));
    if (!length || *length <= 0)
        return;
    // One character more than the cap tells a text past the cap from one at the cap.
    const QString text = store.Read(p.Key, std::min<qsizetype>(*length, kMaxPictureText + 1));
    if (text.size() > kMaxPictureText) {
        tooLarge = QLatin1String(p.Key);
        return;
    }
    QByteArray bytes = FromHex(text);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    p.Of(fill).LoadFromStream(&buffer);
}

} // namespace

void TFill::SaveToFile(const QString& fileName, const QString& section) const {
    TIniFile ini(fileName, kMaxFileBytes);
    SaveToFile(ini, section);
}

void TFill::SaveToFile(TIniFile& ini, const QString& section) const {
    IniWriter store;
    Save(*this, store, false);
    store.WriteTo(ini, section);
}

void TFill::LoadFromFile(const QString& fileName, const QString& section) {
    const TIniFile ini(fileName, kMaxFileBytes);
    LoadFromFile(ini, section);
}

namespace {

// Reads the settings and then the pictures with the change announcements held back, and announces
// once at the end, also when a bad digit stops the loading half way.
template <typename Announce>
void LoadAll(TFill& fill, const KeyReader& store, bool withClipboardOnly, Announce announce) {
    QString tooLarge;
    fill.BeginUpdate();
    try {
        LoadSettings(fill, store, kStoredSettings);
        if (withClipboardOnly)
            LoadSettings(fill, store, kClipboardOnlySettings);
        for (const StoredPicture& p : kStoredPictures)
            LoadPicture(fill, store, p, tooLarge);
    } catch (...) {
        fill.EndUpdate();
        announce();
        throw;
    }
    fill.EndUpdate();
    announce();
    if (!tooLarge.isEmpty())
        throw EConvertError(QStringLiteral("The stored %1 is larger than %2 bytes")
                                .arg(tooLarge)
                                .arg(TFill::kMaxStoredPictureBytes));
}

} // namespace

void TFill::LoadFromFile(const TIniFile& ini, const QString& section) {
    LoadAll(*this, IniReader(ini, section), false, [this] { Changed(); });
}

void TFill::SaveToClipBoard() const {
    KeyLines store;
    Save(*this, store, true);
    auto data = std::make_unique<QMimeData>();
    data->setData(ClipboardFormat(), store.Text());
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void TFill::LoadFromClipBoard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ClipboardFormat()))
        return;
    const QByteArray text = data->data(ClipboardFormat());
    if (text.size() > kMaxClipboardBytes)
        throw EConvertError(QStringLiteral("The fill on the clipboard is too large"));
    LoadAll(*this, KeyLines(text), true, [this] { Changed(); });
}

} // namespace lanterna
