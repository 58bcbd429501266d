#pragma once

// The video system of a conversion: 0 is PAL (25 frames per second), any other value NTSC
// (30000/1001 frames per second, counted in 30-frame caption steps).
using VideoSystem = int;

inline constexpr VideoSystem kPal = 0;
inline constexpr VideoSystem kNtsc = 1;
