// Frames a composition can show, made at any size: a test card and seeded
// noise, premultiplied as the host renders them. The command-line host
// renders them; tests and benchmarks can too.
#pragma once

#include "substitute_host/Frame.h"

#include <cstdint>

namespace glimster::substitute_host {

// A width × height test card (both at least 1), rows exactly 4 × width bytes.
// Its top half holds seven opaque 75% colour bars (white, yellow, cyan,
// green, magenta, red, blue from the left), the next quarter an opaque grey
// ramp from black at the left edge to white at the right edge, the bottom
// quarter the same colour bars fading from opaque at the left edge to fully
// transparent at the right edge (premultiplied: darkening with their alpha).
Frame TestCardFrame(A_long width, A_long height);

// A width × height frame of noise (both at least 1), rows exactly 4 × width
// bytes: each pixel's straight alpha, red, green and blue taken in order from
// the bytes of one std::mt19937 number (seeded with `seed`, so one seed gives
// the same frame on every platform), then premultiplied.
Frame NoiseFrame(A_long width, A_long height, std::uint32_t seed);

}  // namespace glimster::substitute_host
