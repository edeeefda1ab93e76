// What the PNG encoder and one PNG chunk can hold, checked around encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace glimster {

// Whether the encoder can take a width x height RGBA frame: it sizes the
// bits of one row (32 x width + 7) in 32-bit arithmetic, and writes the
// length of the compressed stream of its filtered rows (height x
// (4 x width + 1) bytes) in 32 bits, so that stream must stay below 2^32
// bytes whatever the pixels.
bool EncoderTakesFrame(unsigned width, unsigned height);

// The length of the compressed stream in the encoded `png` (`size` bytes):
// the data of its one IDAT chunk, which only IEND (12 bytes) follows.
// Reckoned from the chunks before it and the file's size, since IDAT's own
// length field wraps past 32 bits. nullopt when the chunks before the end
// hold no IDAT.
std::optional<std::uint64_t> CompressedStreamLength(const unsigned char* png, std::size_t size);

// Whether the encoded `png` (`size` bytes) is a valid PNG file as far as its
// length goes: its compressed stream fits the one IDAT chunk it is in,
// whose data can be 2^31 - 1 bytes at most.
bool FitsOneChunk(const unsigned char* png, std::size_t size);

}  // namespace glimster
