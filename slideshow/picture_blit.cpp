#include "slideshow/picture_blit.h"

#include "slideshow/picture_blit_vector.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace lanterna {

namespace {

// The inner loops' 16.16 fixed point holds no larger picture: those take the painting library's path.
constexpr int kLargestSide = 16384;

// How many rows of the target ahead the vector loops ask for the picture's pixels.
constexpr int kRowsAhead = 16;

// a * wa + b * wb with weights out of 256 (wa + wb <= 256), `bias` added to each channel before it is cut.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t wa, std::uint32_t wb,
                         std::uint32_t bias = 0) {
    const std::uint32_t rb = (((a & kPairMask) * wa + (b & kPairMask) * wb + bias) >> 8) & kPairMask;
    const std::uint32_t ag = (((a >> 8) & kPairMask) * wa + ((b >> 8) & kPairMask) * wb + bias) & ~kPairMask;
    return rb | ag;
}

// Each channel of x times a / 255, rounded as the painting library rounds, so that an opaque target
// stays opaque under a translucent pixel.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t rb = (x & kPairMask) * a;
    rb = ((rb + ((rb >> 8) & kPairMask) + 0x800080u) >> 8) & kPairMask;
    std::uint32_t ag = ((x >> 8) & kPairMask) * a;
    ag = (ag + ((ag >> 8) & kPairMask) + 0x800080u) & ~kPairMask;
    return rb | ag;
}

// A premultiplied pixel over another, the result's alpha forced whole by `opaque` (0xff000000 or 0).
inline std::uint32_t Over(std::uint32_t src, std::uint32_t dst, std::uint32_t opaque) {
    return (src + ByteMul(dst, 255 - (src >> 24))) | opaque;
}

inline int Clamp(int v, int high) {
    return std::clamp(v, 0, high);
}

// The picture at (u, v) in 16.16 picture pixels, weighted by o out of 256.
inline std::uint32_t Sample(const TSource& s, TSampling sampling, int u, int v, std::uint32_t o) {
    if (sampling == smNearest) {
        const std::uint32_t px =
            s.Bits[Clamp(v >> 16, s.Height - 1) * s.Stride + Clamp(u >> 16, s.Width - 1)];
        return Mix(px, 0, o, 0);
    }
    // Pixel centres lie at half-pixel positions.
    const int fx = u - kOne / 2, fy = v - kOne / 2;
    const int ix = fx >> 16, iy = fy >> 16;
    const std::uint32_t wx = (fx >> 8) & 0xff, wy = (fy >> 8) & 0xff;
    const int x0 = Clamp(ix, s.Width - 1), x1 = Clamp(ix + 1, s.Width - 1);
    const std::uint32_t* r0 = s.Bits + Clamp(iy, s.Height - 1) * s.Stride;
    const std::uint32_t* r1 = s.Bits + Clamp(iy + 1, s.Height - 1) * s.Stride;
    const std::uint32_t top = Mix(r0[x0], r0[x1], 256 - wx, wx);
    const std::uint32_t bottom = Mix(r1[x0], r1[x1], 256 - wx, wx);
    return Mix(top, bottom, ((256 - wy) * o) >> 8, (wy * o) >> 8);
}

// A row of the target: where it starts reading the picture, and the pixels that lie wholly inside it.
struct TRow {
    std::uint32_t* Out;
    double U0, V0;
    std::pair<int, int> Inner;
};

// The pixels x in [0, width) with lo < start + step * x < hi.
std::pair<int, int> Span(double start, double step, double lo, double hi, int width) {
    if (std::abs(step) < 1e-12)
        return start > lo && start < hi ? std::pair{0, width} : std::pair{0, 0};
    double a = (lo - start) / step, b = (hi - start) / step;
    if (a > b)
        std::swap(a, b);
    const double first = std::clamp(std::floor(a) + 1, 0.0, double(width));
    const double end = std::clamp(std::ceil(b), 0.0, double(width));
    return {int(first), std::max(int(first), int(end))};
}

std::pair<int, int> Both(std::pair<int, int> a, std::pair<int, int> b) {
    const int first = std::max(a.first, b.first);
    return {first, std::max(first, std::min(a.second, b.second))};
}

int Fixed(double v) {
    return int(std::lround(v * kOne));
}

// Draws the picture into the target row by row: one call's mapping, weights and way of putting pixels,
// worked out once, and the drawing of a row, of the pixels inside the picture, and of 2 x 2 blocks.
class TRowBlitter {
public:
    TRowBlitter(QImage& target, const QImage& picture, const QTransform& inverse, std::uint8_t opacity,
                const TBlitOptions& options)
        : FTarget(target),
          FInverse(inverse), FSource{reinterpret_cast<const std::uint32_t*>(picture.constBits()),
                                     int(picture.bytesPerLine() / 4), picture.width(), picture.height(),
                                     std::ptrdiff_t(std::lround(kRowsAhead * inverse.m22()) *
                                                        int(picture.bytesPerLine() / 4) +
                                                    std::lround(kRowsAhead * inverse.m21()))},
          FW(FSource.Width), FH(FSource.Height),
          // Half a target pixel measured in picture pixels across each pair of edges.
          FMu(options.Antialiased ? 0.5 * std::hypot(inverse.m11(), inverse.m21()) : 0.0),
          FMv(options.Antialiased ? 0.5 * std::hypot(inverse.m12(), inverse.m22()) : 0.0),
          FO(opacity + (opacity >> 7)), // 255 becomes a whole 256
          FVector(options.Vector && VectorBlitAvailable()), FWidth(target.width()), FDu(Fixed(inverse.m11())),
          FDv(Fixed(inverse.m12())), FBlend(options.Blend),
          FOpaque(target.format() == QImage::Format_RGB32 ? 0xff000000u : 0u),
          // Blocks are sampled from the nearest pixel, and so are the pixels of their rows that no whole
          // block covers.
          FSampling(options.Sampling == smBlocks ? smNearest : options.Sampling),
          // The edge's pixels, translucent by their coverage, always go over the target; the inner ones of
          // an opaque picture are mixed with it, sampled at full weight.
          FMode(!FBlend ? TPut::Write : (picture.format() == QImage::Format_RGB32 ? TPut::Mix : TPut::Over)),
          FWeight(FMode == TPut::Mix ? 256 : FO), FPut{FMode, FBlend, FO, FOpaque} {}

    // Row by row: a row of the target reads the picture along a slanted line, and the next row reads the
    // line beside it, so the picture's pixels a row brings into the cache are still there for the rows
    // after it; those a row reads first are asked for while the rows above are drawn (PrefetchAhead).
    void Draw(bool blocks) const {
        const int height = FTarget.height();
        for (int y = 0; y < height; ++y) {
            const TRow a = Row(y);
            if (blocks && y + 1 < height) {
                Blocks(a, Row(y + 1), y);
                ++y;
            } else {
                Pixels(a, a.Inner.first, a.Inner.second);
            }
        }
    }

private:
    // How a pixel goes into the target. The loops copy it, and the source, into locals: the target's
    // pixels are of the same type as these fields, so each store would otherwise read them again.
    struct TPutter {
        TPut Mode;
        bool Blend;
        std::uint32_t O, Opaque;
        void PutOver(std::uint32_t* at, std::uint32_t px) const { *at = Blend ? Over(px, *at, Opaque) : px; }
        void operator()(std::uint32_t* at, std::uint32_t px) const {
            if (Mode == TPut::Mix)
                *at = Mix(px, *at, O, 256 - O, kRound) | Opaque;
            else
                PutOver(at, px);
        }
    };

    // What the vector loops draw from a position on, with the step of a pixel or of a block.
    TRun Run(TSampling sampling, int u, int v, int du, int dv) const {
        return TRun{sampling == smBilinear, u, v, du, dv, FWeight, FMode, FO, FOpaque};
    }

    // An edge pixel at x of the row starting at (u0, v0), weighted by how much of it the picture covers.
    void Edge(std::uint32_t* out, double u0, double v0, int x) const {
        const double u = u0 + FInverse.m11() * x, v = v0 + FInverse.m12() * x;
        const double cu = FMu > 0 ? std::clamp(std::min(u, FW - u) / (2 * FMu) + 0.5, 0.0, 1.0) : 1.0;
        const double cv = FMv > 0 ? std::clamp(std::min(v, FH - v) / (2 * FMv) + 0.5, 0.0, 1.0) : 1.0;
        const auto coverage = std::uint32_t(std::lround(cu * cv * 256));
        FPut.PutOver(out + x, Sample(FSource, FSampling, Fixed(u), Fixed(v), (FO * coverage) >> 8));
    }

    // Clears what the picture does not reach, draws the edge's pixels and tells where the inner ones are.
    TRow Row(int y) const {
        auto* out = reinterpret_cast<std::uint32_t*>(FTarget.scanLine(y));
        const QTransform& m = FInverse;
        const double u0 = m.m11() * 0.5 + m.m21() * (y + 0.5) + m.dx();
        const double v0 = m.m12() * 0.5 + m.m22() * (y + 0.5) + m.dy();
        const auto outer =
            Both(Span(u0, m.m11(), -FMu, FW + FMu, FWidth), Span(v0, m.m12(), -FMv, FH + FMv, FWidth));
        auto inner = Both(Span(u0, m.m11(), FMu, FW - FMu, FWidth), Span(v0, m.m12(), FMv, FH - FMv, FWidth));
        inner.first = std::clamp(inner.first, outer.first, outer.second);
        inner.second = std::clamp(inner.second, inner.first, outer.second);
        if (!FBlend) {
            std::fill(out, out + outer.first, 0u);
            std::fill(out + outer.second, out + FWidth, 0u);
        }
        for (int x = outer.first; x < inner.first; ++x)
            Edge(out, u0, v0, x);
        for (int x = inner.second; x < outer.second; ++x)
            Edge(out, u0, v0, x);
        return TRow{out, u0, v0, inner};
    }

    // The inner pixels from x to end, each sampled on its own.
    void Pixels(const TRow& r, int x, int end) const {
        int u = Fixed(r.U0 + FInverse.m11() * x), v = Fixed(r.V0 + FInverse.m12() * x);
        if (FVector && x < end) {
            const int done = RunVector(r.Out + x, end - x, FSource, Run(FSampling, u, v, FDu, FDv));
            x += done;
            u += FDu * done;
            v += FDv * done;
        }
        const TPutter put = FPut;
        const TSource s = FSource;
        const TSampling sampling = FSampling;
        const std::uint32_t weight = FWeight;
        const int du = FDu, dv = FDv;
        for (; x < end; ++x, u += du, v += dv)
            put(r.Out + x, Sample(s, sampling, u, v, weight));
    }

    // Rows y and y + 1 in 2 x 2 blocks where both rows lie inside the picture, each block read at the
    // corner its four pixels share.
    void Blocks(const TRow& a, const TRow& b, int y) const {
        int first = std::max(a.Inner.first, b.Inner.first), end = std::min(a.Inner.second, b.Inner.second);
        first += first & 1;
        end -= end & 1;
        if (first >= end) {
            Pixels(a, a.Inner.first, a.Inner.second);
            Pixels(b, b.Inner.first, b.Inner.second);
            return;
        }
        for (const TRow* r : {&a, &b}) {
            Pixels(*r, r->Inner.first, first);
            Pixels(*r, end, r->Inner.second);
        }
        const QTransform& m = FInverse;
        const int du2 = Fixed(2 * m.m11()), dv2 = Fixed(2 * m.m12());
        int u = Fixed(m.m11() * (first + 1) + m.m21() * (y + 1) + m.dx());
        int v = Fixed(m.m12() * (first + 1) + m.m22() * (y + 1) + m.dy());
        int x = first;
        if (FVector && x < end) {
            const int done =
                RunBlocksVector(a.Out + x, b.Out + x, (end - x) / 2, FSource, Run(smNearest, u, v, du2, dv2));
            x += 2 * done;
            u += du2 * done;
            v += dv2 * done;
        }
        const TPutter put = FPut;
        const TSource s = FSource;
        const std::uint32_t weight = FWeight;
        for (; x < end; x += 2, u += du2, v += dv2) {
            const std::uint32_t px = Sample(s, smNearest, u, v, weight);
            for (std::uint32_t* out : {a.Out + x, b.Out + x}) {
                put(out, px);
                put(out + 1, px);
            }
        }
    }

    QImage& FTarget;
    const QTransform FInverse;
    const TSource FSource;
    const double FW, FH;
    const double FMu, FMv;
    const std::uint32_t FO;
    const bool FVector;
    const int FWidth;
    const int FDu, FDv;
    const bool FBlend;
    const std::uint32_t FOpaque;
    const TSampling FSampling;
    const TPut FMode;
    const std::uint32_t FWeight;
    const TPutter FPut;
};

} // namespace

bool VectorBlitAvailable() {
    return VectorRunsAvailable();
}

bool RenderTransformed(QImage& target, const QImage& picture, const QTransform& transform,
                       std::uint8_t opacity, const TBlitOptions& options) {
    const bool opaqueTarget = target.format() == QImage::Format_RGB32;
    if (target.isNull() || picture.isNull() ||
        (target.format() != QImage::Format_ARGB32_Premultiplied && !(options.Blend && opaqueTarget)))
        return false;
    if (picture.format() != QImage::Format_ARGB32_Premultiplied && picture.format() != QImage::Format_RGB32)
        return false;
    if (picture.width() > kLargestSide || picture.height() > kLargestSide || !transform.isAffine())
        return false;
    bool invertible = false;
    const QTransform inverse = transform.inverted(&invertible);
    if (!invertible)
        return false;
    TRowBlitter(target, picture, inverse, opacity, options).Draw(options.Sampling == smBlocks);
    return true;
}

} // namespace lanterna
