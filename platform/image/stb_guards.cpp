#include "platform/image/stb_guards.h"

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Chunks after the signature: length, type, data, CRC, up to the end chunk.
bool PngChunksSound(const std::uint8_t* data, std::size_t size) {
  bool imageData = false;
  for (std::size_t at = 8; at + 8 <= size;) {
    const std::uint64_t length = BigEndian32(data + at);
    const std::uint8_t* type = data + at + 4;
    if (at + 12 + length > size) return false;
    if (type[0] == 'I' && type[1] == 'D' && type[2] == 'A' && type[3] == 'T') {
      if (length == 0 && !imageData) return false;
      imageData = true;
    }
    if (type[0] == 'I' && type[1] == 'E' && type[2] == 'N' && type[3] == 'D') break;
    at += 12 + length;
  }
  return true;
}

// The tables a JPEG has defined so far, one bit per slot of each class, and the quantisation
// tables its frame's components name.
struct JpegTables {
  unsigned dc = 0;
  unsigned ac = 0;
  unsigned quant = 0;
  unsigned frameQuant = 0;
  bool progressive = false;
};

// A quantisation-table segment from its length field on: while the length is not used up, a
// precision and slot, then 64 values of one byte, or two for precision 1. stb_image refuses a
// slot past 3.
void ReadQuantSegment(const std::uint8_t* data, std::size_t size, std::size_t at,
                      JpegTables& tables) {
  if (at + 2 > size) return;
  const std::size_t end = at + (std::size_t(data[at]) << 8 | data[at + 1]);
  for (at += 2; at < end && at < size && (data[at] & 15) <= 3; at += data[at] >> 4 ? 129 : 65) {
    tables.quant |= 1u << (data[at] & 15);
  }
}

// A frame header from its length field on: precision, height, width, the number of components,
// then each component's id, sampling and quantisation table.
void ReadFrameHeader(const std::uint8_t* data, std::size_t size, std::size_t at,
                     JpegTables& tables) {
  if (at + 8 > size) return;
  for (std::size_t c = 0; c < data[at + 7] && at + 10 + 3 * c < size; ++c) {
    tables.frameQuant |= 1u << (data[at + 10 + 3 * c] & 3);
  }
}

// One table-definition segment from its length field on, read as stb_image reads it: while the
// length is not used up, a class and slot, 16 code counts and as many symbols as the counts add
// up to, even where a table runs past the segment's end (bytes past the file's end read as 0).
bool ReadHuffmanSegment(const std::uint8_t* data, std::size_t size, std::size_t at,
                        JpegTables& tables) {
  if (at + 2 > size) return true;
  const std::size_t end = at + (std::size_t(data[at]) << 8 | data[at + 1]);
  for (at += 2; at < end && at < size;) {
    std::size_t codes = 0;
    for (std::size_t i = at + 1; i <= at + 16 && i < size; ++i) codes += data[i];
    if (codes > 256) return false;
    const unsigned slot = 1u << (data[at] & 3);
    ((data[at] >> 4) == 0 ? tables.dc : tables.ac) |= slot;
    at += 17 + codes;
  }
  return true;
}

// A scan decodes with tables it names; stb_image reads an undefined one from memory it never
// set. A progressive scan uses the DC tables when it starts at 0, else the AC tables.
bool ScanTablesDefined(const std::uint8_t* data, std::size_t size, std::size_t at,
                       const JpegTables& tables) {
  if (at + 3 > size) return true;
  const std::size_t components = data[at + 2];
  const std::size_t spectralStart = at + 3 + 2 * components;
  if (spectralStart >= size) return true;
  const bool dc = !tables.progressive || data[spectralStart] == 0;
  const bool ac = !tables.progressive || data[spectralStart] != 0;
  for (std::size_t c = 0; c < components; ++c) {
    const std::uint8_t selectors = data[at + 4 + 2 * c];
    if (dc && !(tables.dc >> (selectors >> 4 & 3) & 1)) return false;
    if (ac && !(tables.ac >> (selectors & 3) & 1)) return false;
  }
  return true;
}

// Every place stb_image could take for a marker: a byte after one or more 0xFF, wherever it
// stands, as the reader skips padding and fill between segments. Each scan, and a progressive
// image's last step, dequantises with the tables the frame names: stb_image takes one never
// defined from memory it never set, so these must all be defined before the first scan (as
// encoders write them, before the frame).
bool JpegTablesSound(const std::uint8_t* data, std::size_t size) {
  JpegTables tables;
  for (std::size_t at = 0; at + 1 < size; ++at) {
    if (data[at] != 0xFF || data[at + 1] == 0xFF) continue;
    const std::uint8_t marker = data[at + 1];
    if (marker == 0xC2) tables.progressive = true;
    if (marker >= 0xC0 && marker <= 0xC2) ReadFrameHeader(data, size, at + 2, tables);
    if (marker == 0xDB) ReadQuantSegment(data, size, at + 2, tables);
    if (marker == 0xC4 && !ReadHuffmanSegment(data, size, at + 2, tables)) return false;
    if (marker == 0xDA && (!ScanTablesDefined(data, size, at + 2, tables) ||
                           (tables.frameQuant & ~tables.quant) != 0)) {
      return false;
    }
  }
  return (tables.frameQuant & ~tables.quant) == 0;
}

// stb_image's JPEG signature test skips 0xFF fill before the start marker, so a file that is TGA
// by its first bytes may still be read as a JPEG.
bool ReadAsJpeg(const std::uint8_t* data, std::size_t size, KvImageFormat format) {
  if (format == KvImageFormat::kJpeg) return true;
  if (format != KvImageFormat::kTga) return false;
  std::size_t at = 0;
  while (at < size && data[at] == 0xFF) ++at;
  return at > 0 && at < size && data[at] == 0xD8;
}

}  // namespace

bool KvStbCanRead(const std::uint8_t* data, std::size_t size, KvImageFormat format) {
  if (format == KvImageFormat::kPng) return PngChunksSound(data, size);
  if (ReadAsJpeg(data, size, format)) return JpegTablesSound(data, size);
  return true;
}
