#include "slideshow/internal/slide_builder.h"

#include "slideshow/internal/file_preview.h"
#include "slideshow/internal/picture_decoder.h"

#include <optional>

namespace lanterna {

namespace {

// The picture data of a slide as the build leaves it: the bytes to decode, or a bitmap drawn here.
// Drawn bitmaps that cannot be made again from a file are kept by the slide as encoded bytes.
struct TPictureData {
    bool Filled = false;
    TPictureSource Bytes;
    QImage Drawn;
    QByteArray KeepBytes;
};

TPictureData FromHolder(const TLoadJob& job) {
    return {job.HolderFilled, job.HolderBytes, {}, {}};
}

TPictureData FromBitmap(const QImage& bitmap, const char* keepFormat = nullptr) {
    return {true, {}, bitmap, keepFormat ? EncodeBitmap(bitmap, keepFormat) : QByteArray()};
}

TPictureData LoadImage(const TLoadJob& job) {
    if (job.HolderFilled)
        return FromHolder(job);
    // Read as it is decoded: a photo's file is not held whole beside its pictures.
    std::optional<TPictureSource> file = TPictureSource::File(job.Location);
    return {file.has_value(), std::move(file).value_or(TPictureSource()), {}, {}};
}

TTextStyle StyleOf(const TLoadJob& job) {
    TTextStyle style = job.TextStyle;
    style.Font.fromString(job.TextFontDescription);
    return style;
}

// A surface on a slide bitmap: high-quality smoothing and anti-aliased text.
void PrepareSurface(TGPGraphics& g) {
    g.SetSmoothingMode(SmoothingModeHighQuality);
    g.SetTextRenderingHint(TextRenderingHintAntiAlias);
}

void CustomDraw(const TLoadJob& job, TGPGraphics& g, QSize size) {
    if (job.CustomDraw)
        job.CustomDraw(job.ItemIndex, g, TGPRectF{0, 0, float(size.width()), float(size.height())}, job.Kind);
}

TPictureData RenderText(const TLoadJob& job) {
    if (job.TextStyle.Text.isEmpty())
        return FromHolder(job);
    const TTextStyle style = StyleOf(job);
    const QSize box = MeasureTextBox(style);
    QImage bitmap = NewBitmap(box + QSize(4, 4));
    if (bitmap.isNull())
        return FromHolder(job);
    {
        TGPGraphics g(bitmap);
        PrepareSurface(g);
        DrawText(g, style, TGPRectF{2, 2, float(box.width()), float(box.height())});
        CustomDraw(job, g, bitmap.size());
    }
    return FromBitmap(bitmap, "PNG");
}

TPictureData ComposeImageText(const TLoadJob& job) {
    if (job.TextStyle.Text.isEmpty())
        return LoadImage(job);
    const std::optional<QByteArray> file = ReadWholeFile(job.Location);
    if (!file)
        return FromHolder(job);
    const QSize pictureSize = PictureSize(*file);
    const TTextStyle style = StyleOf(job);
    const TImageTextLayout layout = LayoutImageText(pictureSize, MeasureTextBox(style), job.TextLocation);
    QImage bitmap = NewBitmap(layout.Bitmap);
    if (bitmap.isNull())
        return FromHolder(job);
    {
        TGPGraphics g(bitmap);
        PrepareSurface(g);
        DrawText(g, style, layout.TextRect);
        const TGPImage picture(DecodePicture(*file, pictureSize, pictureSize));
        g.DrawImage(&picture, layout.PictureRect);
        CustomDraw(job, g, bitmap.size());
    }
    return FromBitmap(bitmap, "PNG");
}

TPictureData RenderCustom(const TLoadJob& job) {
    QImage bitmap = NewBitmap(job.CustomSize);
    if (bitmap.isNull())
        return FromHolder(job);
    {
        TGPGraphics g(bitmap);
        PrepareSurface(g);
        CustomDraw(job, g, bitmap.size());
    }
    return FromBitmap(bitmap, "PNG");
}

TPictureData Preview(const TLoadJob& job) {
    if (!ReadWholeFile(job.Location))
        return FromHolder(job);
    QString error;
    const QImage preview = GetFileThumbnail(job.Location, kPreviewSize, kPreviewSize, error);
    if (preview.isNull())
        return FromHolder(job);
    return FromBitmap(preview);
}

TPictureData Capture(const TLoadJob& job) {
    if (job.ControlCapture.isNull())
        return FromHolder(job);
    return FromBitmap(job.ControlCapture, "BMP");
}

TPictureData BuildData(const TLoadJob& job) {
    switch (job.Kind) {
    case ikImage:
        return LoadImage(job);
    case ikControl:
        return Capture(job);
    case ikPreview:
        return Preview(job);
    case ikText:
        return RenderText(job);
    case ikImageText:
        return ComposeImageText(job);
    case ikCustom:
        return RenderCustom(job);
    }
    return {};
}

QSize ThumbnailSize(const TLoadJob& job, QSize natural) {
    const TSizeD fit = AspectSize(job.ThumbRule, natural.width(), natural.height(), job.ThumbBox.width(),
                                  job.ThumbBox.height(), 100);
    return QSize(int(Round(fit.Width)), int(Round(fit.Height))).expandedTo(QSize(1, 1));
}

} // namespace

TLoadResult BuildSlide(const TLoadJob& job) {
    TLoadResult result;
    result.Tag = job.Tag;
    const TPictureData data = job.Redecode && job.HolderFilled ? FromHolder(job) : BuildData(job);
    if (!data.Filled)
        return result;
    result.Built = true;
    result.KeepBytes = data.KeepBytes;
    result.NaturalSize = data.Drawn.isNull() ? PictureSize(data.Bytes) : data.Drawn.size();
    if (result.NaturalSize.isEmpty())
        return result;
    const auto decode = [&](QSize size) {
        if (data.Drawn.isNull())
            return DecodePicture(data.Bytes, result.NaturalSize, size);
        return DrawableBitmap(ScaledBitmap(data.Drawn, size));
    };
    if (!job.DecodeBound.isEmpty())
        result.Picture =
            decode(DecodeSize(result.NaturalSize, job.DecodeBound,
                              DrawnSizeFor(job.DrawnSize, job.PictureLayout, result.NaturalSize)));
    if (!job.ThumbBox.isEmpty()) {
        const QSize thumbSize = ThumbnailSize(job, result.NaturalSize);
        result.Thumbnail = ScaledBitmap(
            result.Picture.isNull() ? decode(FitWithin(result.NaturalSize, thumbSize)) : result.Picture,
            thumbSize);
    }
    return result;
}

} // namespace lanterna
