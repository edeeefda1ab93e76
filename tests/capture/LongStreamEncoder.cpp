// A stand-in for the PNG encoder, linked into a build of the plug-in of the
// tests' own: whatever the frame, it gives a PNG whose compressed stream is
// 2^31 bytes long, one byte more than its IDAT chunk can hold; for a frame
// one pixel wide, 2^31 - 1 bytes, the longest it holds (a file of 2 GiB and
// 56 bytes). Only the chunks before the stream are written: the rest of the
// block is mapped memory that is never touched, so no 2 GiB are encoded or
// held.
#include <cstddef>
#include <cstring>

#include "capture/EncoderMemory.h"

// lodepng_encode32(unsigned char**, size_t*, const unsigned char*, unsigned,
// unsigned), by its C++ name: the link's --wrap sends the writer's call here.
extern "C" unsigned __wrap__Z16lodepng_encode32PPhPmPKhjj(unsigned char** png, std::size_t* size,
                                                          const unsigned char*, unsigned width,
                                                          unsigned) {
  const std::size_t stream = (std::size_t{1} << 31) - (width == 1 ? 1 : 0);
  const unsigned char head[] = {
      0x89, 'P',  'N',  'G',  '\r', '\n', 0x1A, '\n',  // signature
      0,    0,    0,    13,   'I',  'H',  'D',  'R',  0,
      0,    0,    1,    0,    0,    0,    1,    8,    6,  // a 1 x 1 RGBA image
      0,    0,    0,    0x1F, 0x15, 0xC4, 0x89,           // its checksum
      0xFF, 0xFF, 0xFF, 0xFF, 'I',  'D',  'A',  'T',      // the stream follows
  };
  *size = sizeof head + stream + 4 + 12;  // its checksum, then IEND
  *png = static_cast<unsigned char*>(lodepng_malloc(*size));
  std::memcpy(*png, head, sizeof head);
  return 0;
}
