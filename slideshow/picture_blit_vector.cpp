// Compiled once for each instruction set (the vector library includes this file again per target).
// The boards we aim at (Cortex-A53 to A76) have no scalable vectors, and the loops keep vectors in small
// structs, which scalable vector types cannot be: those targets are left out.
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128)
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "slideshow/picture_blit_vector.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/cache_control.h>
#include <hwy/highway.h>

#include "slideshow/picture_blit_vector.h"

HWY_BEFORE_NAMESPACE();
namespace lanterna {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR

// One lane is no vector: the portable loop draws every pixel.
int Pixels(std::uint32_t*, int, const TSource&, const TRun&) {
    return 0;
}
int Blocks(std::uint32_t*, std::uint32_t*, int, const TSource&, const TRun&) {
    return 0;
}

#else

using D = hn::ScalableTag<std::uint32_t>;
using DI = hn::RebindToSigned<D>;
using D16 = hn::Repartition<std::uint16_t, D>;
using V = hn::Vec<D>;
using VI = hn::Vec<DI>;

HWY_INLINE V Mul16(V a, V b) {
    const D16 d16;
    return hn::BitCast(D(), hn::Mul(hn::BitCast(d16, a), hn::BitCast(d16, b)));
}
HWY_INLINE V Add16(V a, V b) {
    const D16 d16;
    return hn::BitCast(D(), hn::Add(hn::BitCast(d16, a), hn::BitCast(d16, b)));
}
template <int kBits> HWY_INLINE V Shr16(V a) {
    const D16 d16;
    return hn::BitCast(D(), hn::ShiftRight<kBits>(hn::BitCast(d16, a)));
}

// a * wa + b * wb on each pair of channels, the weights out of 256 in both 16-bit halves of every lane.
HWY_INLINE V Mix(V a, V b, V wa, V wb, V bias) {
    const V mask = hn::Set(D(), kPairMask);
    const V rb = Shr16<8>(Add16(Add16(Mul16(hn::And(a, mask), wa), Mul16(hn::And(b, mask), wb)), bias));
    const V ag = Add16(
        Add16(Mul16(hn::And(hn::ShiftRight<8>(a), mask), wa), Mul16(hn::And(hn::ShiftRight<8>(b), mask), wb)),
        bias);
    return hn::Or(rb, hn::AndNot(mask, ag));
}

// Each pixel's channels weighted by w out of 256 (both 16-bit halves of every lane).
HWY_INLINE V Weigh(V px, V w) {
    const V zero = hn::Zero(D());
    return Mix(px, zero, w, zero, zero);
}

// A weight out of 256 in both 16-bit halves of every lane.
HWY_INLINE V Pairs(V w) {
    return hn::Or(w, hn::ShiftLeft<16>(w));
}

HWY_INLINE VI Clamp(VI v, VI high) {
    return hn::Min(hn::Max(v, hn::Zero(DI())), high);
}

// The pixels at the lanes' indices, loaded one by one: on the processors we run on this is faster than a
// gather instruction, whose latency holds up the whole loop. With `ahead`, also asks for the picture's
// pixels that the rows a little further down will read, from every eighth lane's index on. The picture
// is read along a slant, which the processor's own prefetching cannot foresee, and without this a large
// turned picture spent most of its time waiting for memory; a wide vector spans several cache lines of
// that slant. The address may lie outside the picture: a prefetch never faults.
HWY_INLINE V Gather(const TSource& s, VI index, bool ahead = false) {
    const DI di;
    HWY_ALIGN std::int32_t at[hn::MaxLanes(di)];
    HWY_ALIGN std::uint32_t px[hn::MaxLanes(di)];
    hn::Store(index, di, at);
    const size_t n = hn::Lanes(di);
    for (size_t i = 0; ahead && i < n; i += 8) {
        const std::intptr_t offset = (std::intptr_t(at[i]) + s.Ahead) * 4;
        hwy::Prefetch(
            reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(s.Bits) + std::uintptr_t(offset)));
    }
    for (size_t i = 0; i < n; ++i)
        px[i] = s.Bits[at[i]];
    return hn::Load(D(), px);
}

// The picture's bounds and row length in every lane.
struct TBounds {
    VI MaxX, MaxY, Stride;
};

HWY_INLINE TBounds BoundsOf(const TSource& s) {
    const DI di;
    return {hn::Set(di, s.Width - 1), hn::Set(di, s.Height - 1), hn::Set(di, s.Stride)};
}

// The pixels nearest to the lanes' positions (16.16 picture pixels), clamped into the picture.
HWY_INLINE V Nearest(const TSource& s, const TBounds& b, VI us, VI vs) {
    const VI x = Clamp(hn::ShiftRight<16>(us), b.MaxX);
    const VI y = Clamp(hn::ShiftRight<16>(vs), b.MaxY);
    return Gather(s, hn::Add(hn::Mul(y, b.Stride), x), true);
}

// Each channel of x times a / 255 (a in both 16-bit halves), rounded as the painting library rounds.
HWY_INLINE V ByteMul(V x, V a) {
    const D d;
    const V mask = hn::Set(d, kPairMask), half = hn::Set(d, 0x00800080u);
    V rb = Mul16(hn::And(x, mask), a);
    rb = Shr16<8>(Add16(Add16(rb, Shr16<8>(rb)), half));
    V ag = Mul16(hn::And(hn::ShiftRight<8>(x), mask), a);
    ag = Add16(Add16(ag, Shr16<8>(ag)), half);
    return hn::Or(rb, hn::AndNot(mask, ag));
}

// How sampled pixels go into the target (TPut), its weights in every lane.
struct TStore {
    TPut Put;
    V Weight, Rest, Opaque;
};

HWY_INLINE TStore StoreFor(const TRun& run) {
    const D d;
    return {run.Put, Pairs(hn::Set(d, run.Opacity)), Pairs(hn::Set(d, 256 - run.Opacity)),
            hn::Set(d, run.Opaque)};
}

HWY_INLINE void Put(std::uint32_t* out, V px, const TStore& store) {
    const D d;
    if (store.Put == TPut::Over) {
        const V ia = Pairs(hn::Sub(hn::Set(d, 255u), hn::ShiftRight<24>(px)));
        px = hn::Or(hn::Add(px, ByteMul(hn::LoadU(d, out), ia)), store.Opaque);
    } else if (store.Put == TPut::Mix) {
        px = hn::Or(Mix(px, hn::LoadU(d, out), store.Weight, store.Rest, hn::Set(d, kRound)), store.Opaque);
    }
    hn::StoreU(px, d, out);
}

// The positions of a vector of pixels, and the step to the next vector.
struct TLanes {
    VI U, V, StepU, StepV;
};

HWY_INLINE TLanes LanesFrom(const TRun& run) {
    const DI di;
    const VI lanes = hn::Iota(di, 0);
    const int n = int(hn::Lanes(di));
    return {hn::Add(hn::Set(di, run.U), hn::Mul(lanes, hn::Set(di, run.DU))),
            hn::Add(hn::Set(di, run.V), hn::Mul(lanes, hn::Set(di, run.DV))), hn::Set(di, run.DU * n),
            hn::Set(di, run.DV * n)};
}

HWY_INLINE void Advance(TLanes& lanes) {
    lanes.U = hn::Add(lanes.U, lanes.StepU);
    lanes.V = hn::Add(lanes.V, lanes.StepV);
}

// The picture filtered between its four pixels around each lane's position, weighted by `opacity`.
HWY_INLINE V Bilinear(const TSource& s, const TBounds& b, const TLanes& at, VI opacity) {
    const DI di;
    const VI half = hn::Set(di, kOne / 2), one = hn::Set(di, 1);
    const VI byteMask = hn::Set(di, 0xff), full = hn::Set(di, 256);
    const VI fx = hn::Sub(at.U, half), fy = hn::Sub(at.V, half);
    const VI ix = hn::ShiftRight<16>(fx), iy = hn::ShiftRight<16>(fy);
    const VI wx = hn::And(hn::ShiftRight<8>(fx), byteMask), wy = hn::And(hn::ShiftRight<8>(fy), byteMask);
    const VI x0 = Clamp(ix, b.MaxX), x1 = Clamp(hn::Add(ix, one), b.MaxX);
    const VI r0 = hn::Mul(Clamp(iy, b.MaxY), b.Stride);
    const VI r1 = hn::Mul(Clamp(hn::Add(iy, one), b.MaxY), b.Stride);
    const V tl = Gather(s, hn::Add(r0, x0), true), tr = Gather(s, hn::Add(r0, x1));
    const V bl = Gather(s, hn::Add(r1, x0)), br = Gather(s, hn::Add(r1, x1));
    const D d;
    const V wxb = Pairs(hn::BitCast(d, wx)), wxa = Pairs(hn::BitCast(d, hn::Sub(full, wx)));
    const V zero = hn::Zero(d);
    const V top = Mix(tl, tr, wxa, wxb, zero), bottom = Mix(bl, br, wxa, wxb, zero);
    const V wya = Pairs(hn::ShiftRight<8>(hn::BitCast(d, hn::Mul(hn::Sub(full, wy), opacity))));
    const V wyb = Pairs(hn::ShiftRight<8>(hn::BitCast(d, hn::Mul(wy, opacity))));
    return Mix(top, bottom, wya, wyb, zero);
}

int Pixels(std::uint32_t* out, int count, const TSource& s, const TRun& run) {
    const D d;
    const int n = int(hn::Lanes(d));
    const TBounds b = BoundsOf(s);
    const TStore store = StoreFor(run);
    const V weights = Pairs(hn::Set(d, run.Weight));
    TLanes at = LanesFrom(run);
    int done = 0;
    if (!run.Bilinear) {
        for (; done + n <= count; done += n, Advance(at)) {
            const V px = Nearest(s, b, at.U, at.V);
            Put(out + done, run.Weight == 256 ? px : Weigh(px, weights), store);
        }
        return done;
    }
    const VI opacity = hn::Set(DI(), int(run.Weight));
    for (; done + n <= count; done += n, Advance(at))
        Put(out + done, Bilinear(s, b, at, opacity), store);
    return done;
}

int Blocks(std::uint32_t* top, std::uint32_t* bottom, int count, const TSource& s, const TRun& run) {
    const D d;
    const int n = int(hn::Lanes(d));
    const TBounds b = BoundsOf(s);
    const TStore store = StoreFor(run);
    const V weights = Pairs(hn::Set(d, run.Weight));
    // Each block's pixel twice side by side: the first half of the blocks, then the second.
    const V pairs = hn::ShiftRight<1>(hn::Iota(d, 0));
    const auto left = hn::IndicesFromVec(d, pairs);
    const auto right = hn::IndicesFromVec(d, hn::Add(pairs, hn::Set(d, std::uint32_t(n / 2))));
    TLanes at = LanesFrom(run);
    int done = 0;
    for (; done + n <= count; done += n, Advance(at)) {
        V px = Nearest(s, b, at.U, at.V);
        if (run.Weight != 256)
            px = Weigh(px, weights);
        const V first = hn::TableLookupLanes(px, left), second = hn::TableLookupLanes(px, right);
        Put(top + 2 * done, first, store);
        Put(top + 2 * done + n, second, store);
        Put(bottom + 2 * done, first, store);
        Put(bottom + 2 * done + n, second, store);
    }
    return done;
}

#endif

} // namespace

// Entry points of this target, taken by the dispatch below.
int RunPixels(std::uint32_t* out, int count, const TSource& s, const TRun& run) {
    return Pixels(out, count, s, run);
}
int RunBlocks(std::uint32_t* top, std::uint32_t* bottom, int count, const TSource& s, const TRun& run) {
    return Blocks(top, bottom, count, s, run);
}
std::int64_t Target() {
    return HWY_TARGET;
}

} // namespace HWY_NAMESPACE
} // namespace lanterna
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace lanterna {

HWY_EXPORT(RunPixels);
HWY_EXPORT(RunBlocks);
HWY_EXPORT(Target);

int RunVector(std::uint32_t* out, int count, const TSource& s, const TRun& run) {
    return HWY_DYNAMIC_DISPATCH(RunPixels)(out, count, s, run);
}

int RunBlocksVector(std::uint32_t* top, std::uint32_t* bottom, int count, const TSource& s, const TRun& run) {
    return HWY_DYNAMIC_DISPATCH(RunBlocks)(top, bottom, count, s, run);
}

bool VectorRunsAvailable() {
    return HWY_DYNAMIC_DISPATCH(Target)() != HWY_SCALAR;
}

std::vector<std::int64_t> VectorTargets() {
    std::vector<std::int64_t> targets;
    for (std::int64_t left = hwy::SupportedTargets() & HWY_TARGETS & ~HWY_SCALAR; left != 0; left &= left - 1)
        targets.push_back(left & -left);
    return targets;
}

void UseVectorTarget(std::int64_t target) {
    hwy::SetSupportedTargetsForTest(target);
}

const char* VectorTargetName() {
    return hwy::TargetName(HWY_DYNAMIC_DISPATCH(Target)());
}

} // namespace lanterna

#endif
