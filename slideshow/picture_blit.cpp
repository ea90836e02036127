#include "slideshow/picture_blit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LANTERNA_BLIT_AVX2 1
#endif

namespace lanterna {

namespace {

// Premultiplied pixels are worked on as two pairs of 8-bit channels in 16-bit fields (red and blue,
// alpha and green), so one multiplication weighs two channels at once.
constexpr std::uint32_t kPairMask = 0x00ff00ffu;
// Coordinates of the inner loops are 16.16 fixed point; larger pictures take the painting library's path.
constexpr int kLargestSide = 16384;
constexpr int kOne = 1 << 16;

// How many rows of the target ahead the vector loops ask for the picture's pixels.
constexpr int kRowsAhead = 16;

struct TSource {
    const std::uint32_t* Bits;
    int Stride; // in pixels
    int Width;
    int Height;
    // From a pixel of the picture to the one the target pixel kRowsAhead rows down reads, in pixels.
    std::ptrdiff_t Ahead;
};

// Added to each channel's weighted sum before it is cut to 8 bits, rounds it to the nearest.
constexpr std::uint32_t kRound = 0x00800080u;

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

// How a sampled pixel goes into the target: it replaces the target's pixel, goes over it, or, a pixel of an
// opaque picture, is mixed with it by the opacity alone: half the work of putting a translucent pixel over
// another.
enum class TPut : std::uint8_t { Write, Over, Mix };

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

#ifdef LANTERNA_BLIT_AVX2

#define LANTERNA_AVX2 __attribute__((target("avx2")))

LANTERNA_AVX2 inline __m256i MixAvx2(__m256i a, __m256i b, __m256i wa, __m256i wb,
                                     __m256i bias = _mm256_setzero_si256()) {
    const __m256i mask = _mm256_set1_epi32(int(kPairMask));
    const __m256i rb = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(a, mask), wa),
                                          _mm256_mullo_epi16(_mm256_and_si256(b, mask), wb)),
                         bias),
        8);
    const __m256i ag = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(a, 8), mask), wa),
                         _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(b, 8), mask), wb)),
        bias);
    return _mm256_or_si256(rb, _mm256_andnot_si256(mask, ag));
}

// A weight out of 256 in both 16-bit halves of every lane.
LANTERNA_AVX2 inline __m256i Pairs(__m256i w) {
    return _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
}

LANTERNA_AVX2 inline __m256i ClampAvx2(__m256i v, __m256i high) {
    return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), high);
}

// The eight pixels at the lanes' indices, loaded one by one: on the processors we run on this is faster
// than the gather instruction, whose latency holds up the whole loop.
LANTERNA_AVX2 inline __m256i GatherAvx2(const std::uint32_t* bits, __m256i index) {
    alignas(32) std::int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    return _mm256_setr_epi32(int(bits[at[0]]), int(bits[at[1]]), int(bits[at[2]]), int(bits[at[3]]),
                             int(bits[at[4]]), int(bits[at[5]]), int(bits[at[6]]), int(bits[at[7]]));
}

// Asks for the picture's pixels that the rows a little further down will read, from the first lane's
// index on. The picture is read along a slant, which the processor's own prefetching cannot foresee, and
// without this a large turned picture spent most of its time waiting for memory. The address may lie
// outside the picture: a prefetch never faults.
LANTERNA_AVX2 inline void PrefetchAhead(const TSource& s, __m256i index) {
    const std::intptr_t offset = (std::intptr_t(_mm256_cvtsi256_si32(index)) + s.Ahead) * 4;
    _mm_prefetch(
        reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(s.Bits) + std::uintptr_t(offset)),
        _MM_HINT_T0);
}

// The pixels nearest to eight positions (16.16 picture pixels), clamped into the picture.
LANTERNA_AVX2 inline __m256i NearestAvx2(const TSource& s, __m256i us, __m256i vs, __m256i maxX, __m256i maxY,
                                         __m256i stride) {
    const __m256i x = ClampAvx2(_mm256_srai_epi32(us, 16), maxX);
    const __m256i y = ClampAvx2(_mm256_srai_epi32(vs, 16), maxY);
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(y, stride), x);
    PrefetchAhead(s, index);
    return GatherAvx2(s.Bits, index);
}

// ByteMul on eight pixels, the factor in both 16-bit halves of every lane.
LANTERNA_AVX2 inline __m256i ByteMulAvx2(__m256i x, __m256i a) {
    const __m256i mask = _mm256_set1_epi32(int(kPairMask)), half = _mm256_set1_epi16(0x80);
    __m256i rb = _mm256_mullo_epi16(_mm256_and_si256(x, mask), a);
    rb = _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(rb, _mm256_srli_epi16(rb, 8)), half), 8);
    __m256i ag = _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(x, 8), mask), a);
    ag = _mm256_add_epi16(_mm256_add_epi16(ag, _mm256_srli_epi16(ag, 8)), half);
    return _mm256_or_si256(rb, _mm256_andnot_si256(mask, ag));
}

// How eight sampled pixels go into the target (see TPut), with the opacity o and 256 - o in both 16-bit
// halves of every lane and the alpha forced whole by `Opaque`.
struct TStoreAvx2 {
    TPut Put;
    __m256i Weight, Rest, Opaque;
};

LANTERNA_AVX2 inline TStoreAvx2 StoreFor(TPut put, std::uint32_t o, std::uint32_t opaque) {
    return {put, Pairs(_mm256_set1_epi32(int(o))), Pairs(_mm256_set1_epi32(int(256 - o))),
            _mm256_set1_epi32(int(opaque))};
}

LANTERNA_AVX2 inline void StoreAvx2(std::uint32_t* out, __m256i px, const TStoreAvx2& store) {
    auto* at = reinterpret_cast<__m256i*>(out);
    if (store.Put == TPut::Over) {
        const __m256i ia = Pairs(_mm256_sub_epi32(_mm256_set1_epi32(255), _mm256_srli_epi32(px, 24)));
        px = _mm256_or_si256(_mm256_add_epi32(px, ByteMulAvx2(_mm256_loadu_si256(at), ia)), store.Opaque);
    } else if (store.Put == TPut::Mix) {
        px = _mm256_or_si256(
            MixAvx2(px, _mm256_loadu_si256(at), store.Weight, store.Rest, _mm256_set1_epi32(int(kRound))),
            store.Opaque);
    }
    _mm256_storeu_si256(at, px);
}

// The positions of eight pixels a step from (u, v) on, and the step to the next eight.
struct TLanesAvx2 {
    __m256i U, V, StepU, StepV;
};

LANTERNA_AVX2 inline TLanesAvx2 LanesFrom(int u, int v, int du, int dv) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return {_mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(du))),
            _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(lanes, _mm256_set1_epi32(dv))),
            _mm256_set1_epi32(du * 8), _mm256_set1_epi32(dv * 8)};
}

LANTERNA_AVX2 inline void Advance(TLanesAvx2& lanes) {
    lanes.U = _mm256_add_epi32(lanes.U, lanes.StepU);
    lanes.V = _mm256_add_epi32(lanes.V, lanes.StepV);
}

// Eight pixels a step from (u, v) on, sampled weighted by `weight` out of 256 and put by `put`; returns how
// many pixels it wrote, a multiple of eight.
LANTERNA_AVX2 int RunAvx2(std::uint32_t* out, int count, const TSource& s, TSampling sampling, int u, int v,
                          int du, int dv, std::uint32_t weight, const TStoreAvx2& put) {
    TLanesAvx2 at = LanesFrom(u, v, du, dv);
    const __m256i maxX = _mm256_set1_epi32(s.Width - 1), maxY = _mm256_set1_epi32(s.Height - 1);
    const __m256i stride = _mm256_set1_epi32(s.Stride);
    const __m256i weights = Pairs(_mm256_set1_epi32(int(weight)));
    const __m256i zero = _mm256_setzero_si256();
    int done = 0;
    if (sampling == smNearest) {
        for (; done + 8 <= count; done += 8, Advance(at)) {
            const __m256i px = NearestAvx2(s, at.U, at.V, maxX, maxY, stride);
            StoreAvx2(out + done, weight == 256 ? px : MixAvx2(px, zero, weights, zero), put);
        }
        return done;
    }
    const __m256i half = _mm256_set1_epi32(kOne / 2), one = _mm256_set1_epi32(1);
    const __m256i byteMask = _mm256_set1_epi32(0xff), full = _mm256_set1_epi32(256);
    const __m256i opacity = _mm256_set1_epi32(int(weight));
    for (; done + 8 <= count; done += 8, Advance(at)) {
        const __m256i fx = _mm256_sub_epi32(at.U, half), fy = _mm256_sub_epi32(at.V, half);
        const __m256i ix = _mm256_srai_epi32(fx, 16), iy = _mm256_srai_epi32(fy, 16);
        const __m256i wx = _mm256_and_si256(_mm256_srli_epi32(fx, 8), byteMask);
        const __m256i wy = _mm256_and_si256(_mm256_srli_epi32(fy, 8), byteMask);
        const __m256i x0 = ClampAvx2(ix, maxX), x1 = ClampAvx2(_mm256_add_epi32(ix, one), maxX);
        const __m256i r0 = _mm256_mullo_epi32(ClampAvx2(iy, maxY), stride);
        const __m256i r1 = _mm256_mullo_epi32(ClampAvx2(_mm256_add_epi32(iy, one), maxY), stride);
        const __m256i first = _mm256_add_epi32(r0, x0);
        PrefetchAhead(s, first);
        const __m256i tl = GatherAvx2(s.Bits, first);
        const __m256i tr = GatherAvx2(s.Bits, _mm256_add_epi32(r0, x1));
        const __m256i bl = GatherAvx2(s.Bits, _mm256_add_epi32(r1, x0));
        const __m256i br = GatherAvx2(s.Bits, _mm256_add_epi32(r1, x1));
        const __m256i wxb = Pairs(wx), wxa = Pairs(_mm256_sub_epi32(full, wx));
        const __m256i top = MixAvx2(tl, tr, wxa, wxb), bottom = MixAvx2(bl, br, wxa, wxb);
        const __m256i wya =
            Pairs(_mm256_srli_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(full, wy), opacity), 8));
        const __m256i wyb = Pairs(_mm256_srli_epi32(_mm256_mullo_epi32(wy, opacity), 8));
        StoreAvx2(out + done, MixAvx2(top, bottom, wya, wyb), put);
    }
    return done;
}

// Eight 2 x 2 blocks a step from (u, v) on, over the rows `top` and `bottom`, each block given the pixel
// nearest to its position as RunAvx2 gives it to a pixel; returns how many blocks it wrote, a multiple of
// eight.
LANTERNA_AVX2 int RunBlocksAvx2(std::uint32_t* top, std::uint32_t* bottom, int count, const TSource& s, int u,
                                int v, int du, int dv, std::uint32_t weight, const TStoreAvx2& put) {
    TLanesAvx2 at = LanesFrom(u, v, du, dv);
    const __m256i maxX = _mm256_set1_epi32(s.Width - 1), maxY = _mm256_set1_epi32(s.Height - 1);
    const __m256i stride = _mm256_set1_epi32(s.Stride);
    const __m256i weights = Pairs(_mm256_set1_epi32(int(weight)));
    const __m256i zero = _mm256_setzero_si256();
    // Each block's pixel twice side by side: the first four blocks, then the last four.
    const __m256i left = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i right = _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7);
    int done = 0;
    for (; done + 8 <= count; done += 8, Advance(at)) {
        __m256i px = NearestAvx2(s, at.U, at.V, maxX, maxY, stride);
        if (weight != 256)
            px = MixAvx2(px, zero, weights, zero);
        const __m256i first = _mm256_permutevar8x32_epi32(px, left);
        const __m256i second = _mm256_permutevar8x32_epi32(px, right);
        StoreAvx2(top + 2 * done, first, put);
        StoreAvx2(top + 2 * done + 8, second, put);
        StoreAvx2(bottom + 2 * done, first, put);
        StoreAvx2(bottom + 2 * done + 8, second, put);
    }
    return done;
}

#endif

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

} // namespace

bool VectorBlitAvailable() {
#ifdef LANTERNA_BLIT_AVX2
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
#else
    return false;
#endif
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
    const int stride = int(picture.bytesPerLine() / 4);
    const TSource s{reinterpret_cast<const std::uint32_t*>(picture.constBits()), stride, picture.width(),
                    picture.height(),
                    std::ptrdiff_t(std::lround(kRowsAhead * inverse.m22()) * stride +
                                   std::lround(kRowsAhead * inverse.m21()))};
    const double W = s.Width, H = s.Height;
    // Half a target pixel measured in picture pixels across each pair of edges.
    const double mu = options.Antialiased ? 0.5 * std::hypot(inverse.m11(), inverse.m21()) : 0.0;
    const double mv = options.Antialiased ? 0.5 * std::hypot(inverse.m12(), inverse.m22()) : 0.0;
    const std::uint32_t o = opacity + (opacity >> 7); // 255 becomes a whole 256
    [[maybe_unused]] const bool vector = options.Vector && VectorBlitAvailable();
    const int width = target.width();
    const int du = Fixed(inverse.m11()), dv = Fixed(inverse.m12());
    const bool blend = options.Blend;
    const std::uint32_t opaque = opaqueTarget ? 0xff000000u : 0u;
    // Blocks are sampled from the nearest pixel, and so are the pixels of their rows that no whole block
    // covers.
    const TSampling sampling = options.Sampling == smBlocks ? smNearest : options.Sampling;
    // The edge's pixels, translucent by their coverage, always go over the target; the inner ones of an
    // opaque picture are mixed with it, sampled at full weight.
    const auto over = [&](std::uint32_t* at, std::uint32_t px) { *at = blend ? Over(px, *at, opaque) : px; };
    const TPut mode =
        !blend ? TPut::Write : (picture.format() == QImage::Format_RGB32 ? TPut::Mix : TPut::Over);
    const std::uint32_t weight = mode == TPut::Mix ? 256 : o;
    const auto put = [&](std::uint32_t* at, std::uint32_t px) {
        if (mode == TPut::Mix)
            *at = Mix(px, *at, o, 256 - o, kRound) | opaque;
        else
            over(at, px);
    };
#ifdef LANTERNA_BLIT_AVX2
    const TStoreAvx2 store = vector ? StoreFor(mode, o, opaque) : TStoreAvx2{};
#endif
    // Clears what the picture does not reach, draws the edge's pixels and tells where the inner ones are.
    const auto row = [&](int y) {
        auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const double u0 = inverse.m11() * 0.5 + inverse.m21() * (y + 0.5) + inverse.dx();
        const double v0 = inverse.m12() * 0.5 + inverse.m22() * (y + 0.5) + inverse.dy();
        const auto outer =
            Both(Span(u0, inverse.m11(), -mu, W + mu, width), Span(v0, inverse.m12(), -mv, H + mv, width));
        auto inner =
            Both(Span(u0, inverse.m11(), mu, W - mu, width), Span(v0, inverse.m12(), mv, H - mv, width));
        inner.first = std::clamp(inner.first, outer.first, outer.second);
        inner.second = std::clamp(inner.second, inner.first, outer.second);
        if (!blend) {
            std::fill(out, out + outer.first, 0u);
            std::fill(out + outer.second, out + width, 0u);
        }
        // The edge's pixels, weighted by how much of them the picture covers.
        const auto edge = [&](int x) {
            const double u = u0 + inverse.m11() * x, v = v0 + inverse.m12() * x;
            const double cu = mu > 0 ? std::clamp(std::min(u, W - u) / (2 * mu) + 0.5, 0.0, 1.0) : 1.0;
            const double cv = mv > 0 ? std::clamp(std::min(v, H - v) / (2 * mv) + 0.5, 0.0, 1.0) : 1.0;
            const auto coverage = std::uint32_t(std::lround(cu * cv * 256));
            over(out + x, Sample(s, sampling, Fixed(u), Fixed(v), (o * coverage) >> 8));
        };
        for (int x = outer.first; x < inner.first; ++x)
            edge(x);
        for (int x = inner.second; x < outer.second; ++x)
            edge(x);
        return TRow{out, u0, v0, inner};
    };
    // The inner pixels from x to end, each sampled on its own.
    const auto pixels = [&](const TRow& r, int x, int end) {
        int u = Fixed(r.U0 + inverse.m11() * x), v = Fixed(r.V0 + inverse.m12() * x);
#ifdef LANTERNA_BLIT_AVX2
        if (vector && x < end) {
            const int done = RunAvx2(r.Out + x, end - x, s, sampling, u, v, du, dv, weight, store);
            x += done;
            u += du * done;
            v += dv * done;
        }
#endif
        for (; x < end; ++x, u += du, v += dv)
            put(r.Out + x, Sample(s, sampling, u, v, weight));
    };
    // Rows y and y + 1 in 2 x 2 blocks where both rows lie inside the picture, each block read at the
    // corner its four pixels share.
    const auto blocks = [&](const TRow& a, const TRow& b, int y) {
        int first = std::max(a.Inner.first, b.Inner.first), end = std::min(a.Inner.second, b.Inner.second);
        first += first & 1;
        end -= end & 1;
        if (first >= end) {
            pixels(a, a.Inner.first, a.Inner.second);
            pixels(b, b.Inner.first, b.Inner.second);
            return;
        }
        for (const TRow* r : {&a, &b}) {
            pixels(*r, r->Inner.first, first);
            pixels(*r, end, r->Inner.second);
        }
        const int du2 = Fixed(2 * inverse.m11()), dv2 = Fixed(2 * inverse.m12());
        int u = Fixed(inverse.m11() * (first + 1) + inverse.m21() * (y + 1) + inverse.dx());
        int v = Fixed(inverse.m12() * (first + 1) + inverse.m22() * (y + 1) + inverse.dy());
        int x = first;
#ifdef LANTERNA_BLIT_AVX2
        if (vector && x < end) {
            const int done =
                RunBlocksAvx2(a.Out + x, b.Out + x, (end - x) / 2, s, u, v, du2, dv2, weight, store);
            x += 2 * done;
            u += du2 * done;
            v += dv2 * done;
        }
#endif
        for (; x < end; x += 2, u += du2, v += dv2) {
            const std::uint32_t px = Sample(s, smNearest, u, v, weight);
            for (std::uint32_t* out : {a.Out + x, b.Out + x}) {
                put(out, px);
                put(out + 1, px);
            }
        }
    };
    // Row by row: a row of the target reads the picture along a slanted line, and the next row reads the
    // line beside it, so the picture's pixels a row brings into the cache are still there for the rows
    // after it; those a row reads first are asked for while the rows above are drawn (PrefetchAhead).
    const int height = target.height();
    for (int y = 0; y < height; ++y) {
        const TRow a = row(y);
        if (options.Sampling == smBlocks && y + 1 < height) {
            blocks(a, row(y + 1), y);
            ++y;
        } else {
            pixels(a, a.Inner.first, a.Inner.second);
        }
    }
    return true;
}

} // namespace lanterna
