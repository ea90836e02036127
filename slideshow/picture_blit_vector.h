#pragma once
// The resampler's inner loops over whole vectors, written once and compiled for every instruction set
// the processor family has (AVX2 and AVX-512 on x86, NEON on arm64); the best one the processor runs is
// chosen when first called. They give exactly the pixels of the portable loop.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lanterna {

// Premultiplied pixels are worked on as two pairs of 8-bit channels in 16-bit fields (red and blue,
// alpha and green), so one multiplication weighs two channels at once.
constexpr std::uint32_t kPairMask = 0x00ff00ffu;
// Added to each channel's weighted sum before it is cut to 8 bits, rounds it to the nearest.
constexpr std::uint32_t kRound = 0x00800080u;
// Coordinates of the inner loops are 16.16 fixed point.
constexpr int kOne = 1 << 16;

struct TSource {
    const std::uint32_t* Bits;
    int Stride; // in pixels
    int Width;
    int Height;
    // From a pixel of the picture to the one the target pixel some rows down reads, in pixels: what the
    // loops ask the memory for ahead.
    std::ptrdiff_t Ahead;
};

// How a sampled pixel goes into the target: it replaces the target's pixel, goes over it, or, a pixel of an
// opaque picture, is mixed with it by the opacity alone: half the work of putting a translucent pixel over
// another.
enum class TPut : std::uint8_t { Write, Over, Mix };

// What a run draws: from (U, V) on, a step of (DU, DV) a target pixel (16.16 picture pixels), each pixel
// filtered between the picture's four nearest (Bilinear) or the nearest one, weighted by Weight out of
// 256 and put by Put; a mixed pixel takes Opacity out of 256 of itself, and
// Opaque (0xff000000 or 0) forces the target's alpha whole.
struct TRun {
    bool Bilinear;
    int U, V, DU, DV;
    std::uint32_t Weight;
    TPut Put;
    std::uint32_t Opacity;
    std::uint32_t Opaque;
};

// Draws `count` pixels from `out` on as `run` says, as many as fill whole vectors; returns how many it drew.
int RunVector(std::uint32_t* out, int count, const TSource& s, const TRun& run);

// Draws `count` 2 x 2 blocks over the rows `top` and `bottom`, each given the picture's nearest pixel at
// the run's position, a step of (DU, DV) a block; returns how many blocks it drew, whole vectors of them.
int RunBlocksVector(std::uint32_t* top, std::uint32_t* bottom, int count, const TSource& s, const TRun& run);

// Whether the processor runs one of the vector loops (not the one-lane fallback).
bool VectorRunsAvailable();

// The instruction sets the vector loops were compiled for and this processor runs, best first, as the
// vector library's target bits: for measuring and testing each of them.
std::vector<std::int64_t> VectorTargets();

// Makes the loops use `target` (one of VectorTargets()) from now on, or, with 0, the best again.
void UseVectorTarget(std::int64_t target);

// The name of the instruction set the loops use now.
const char* VectorTargetName();

} // namespace lanterna
