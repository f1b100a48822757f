#include "platform/image/jpeg_check.h"

namespace {

// The packaged stb_image (2.27) has two memory errors in its JPEG reader: it writes past its
// Huffman arrays when a table holds more than 256 codes, and it decodes a scan with a table
// that was never defined, indexing out of bounds with the uninitialised heap memory it finds
// there. This check finds both before stb_image sees the file, walking the marker segments as
// the decoder reads them: byte reads past the end give 0, 0xFF fill bytes before a marker are
// skipped, entropy-coded data runs to the next marker that is neither a restart nor a stuffed
// data byte. Where the two could part, the walk visits more segments, never fewer.
class JpegTableCheck {
 public:
  JpegTableCheck(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // False for a JPEG that stb_image would read out of bounds; true for anything else.
  bool Sound() {
    // Without a start of image at the very beginning stb_image reads no JPEG.
    if (size_ == 0 || data_[0] != 0xFF || Marker() != 0xD8) return true;
    for (int marker = Marker(); marker >= 0 && marker != 0xD9; marker = Marker()) {
      if (marker >= 0xD0 && marker <= 0xD7) continue;  // restart markers carry no segment
      if (marker >= 0xC0 && marker <= 0xC2 && frame_ < 0) frame_ = marker;
      segment_ = pos_;
      if (marker == 0xC4) {
        if (!DefineTables()) return false;
        continue;
      }
      if (marker == 0xDA && !ScanTablesDefined()) return false;
      SkipSegment();
      if (marker == 0xDA) SkipEntropyCodedData();
    }
    return true;
  }

 private:
  int Byte() { return pos_ < size_ ? data_[pos_++] : (++pos_, 0); }
  int Word() {
    const int high = Byte();
    return high << 8 | Byte();
  }
  bool AtEnd() const { return pos_ >= size_; }

  // The next marker code, or -1 at the end. Bytes before it are skipped: the decoder does so
  // between the segments before the frame header.
  int Marker() {
    while (!AtEnd() && data_[pos_] != 0xFF) ++pos_;
    while (!AtEnd() && data_[pos_] == 0xFF) ++pos_;
    return AtEnd() ? -1 : data_[pos_++];
  }

  void SkipSegment() {
    pos_ = segment_;
    pos_ = segment_ + std::size_t(Word());
  }

  // In entropy-coded data the decoder reads 0xFF, any further 0xFF bytes and then 0x00 as one
  // data byte; a restart marker continues the data. Anything else after the 0xFF run is a
  // marker, which the walk is left standing in front of.
  void SkipEntropyCodedData() {
    for (; pos_ < size_; ++pos_) {
      if (data_[pos_] != 0xFF) continue;
      std::size_t next = pos_ + 1;
      while (next < size_ && data_[next] == 0xFF) ++next;
      if (next == size_) break;
      const int code = data_[next];
      if (code != 0x00 && !(code >= 0xD0 && code <= 0xD7)) return;
      pos_ = next;
    }
    pos_ = size_;
  }

  // A table definition segment, read table by table as the decoder does.
  bool DefineTables() {
    for (int left = Word() - 2; left > 0;) {
      const int classAndSlot = Byte();
      if ((classAndSlot >> 4) > 1 || (classAndSlot & 15) > 3) return false;
      int codes = 0;
      for (int i = 0; i < 16; ++i) codes += Byte();
      if (codes > 256) return false;
      defined_[classAndSlot >> 4][classAndSlot & 15] = true;
      pos_ += std::size_t(codes);
      left -= 17 + codes;
    }
    return true;
  }

  // A scan header: every table the scan decodes with must have been defined. A progressive
  // scan uses the DC tables in its first pass over the DC terms and the AC tables otherwise.
  bool ScanTablesDefined() {
    Word();
    const int count = Byte();
    if (count < 1 || count > 4) return true;  // the decoder refuses the scan
    int tables[4];
    for (int i = 0; i < count; ++i) {
      Byte();  // the component
      tables[i] = Byte();
    }
    const int first = Byte();
    Byte();  // the last coefficient
    const int high = Byte() >> 4;
    const bool progressive = frame_ == 0xC2;
    const bool dc = !progressive || (first == 0 && high == 0);
    const bool ac = !progressive || first > 0;
    for (int i = 0; i < count; ++i) {
      const int dcSlot = tables[i] >> 4;
      const int acSlot = tables[i] & 15;
      if (dcSlot > 3 || acSlot > 3) return false;
      if ((dc && !defined_[0][dcSlot]) || (ac && !defined_[1][acSlot])) return false;
    }
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t segment_ = 0;  // where the current segment's length is
  int frame_ = -1;           // the first frame marker: 0xC2 is progressive
  bool defined_[2][4] = {};  // DC and AC tables by slot
};

}  // namespace

bool KvJpegTablesSound(const std::uint8_t* data, std::size_t size) {
  return JpegTableCheck(data, size).Sound();
}
