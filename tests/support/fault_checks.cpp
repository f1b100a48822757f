#include "tests/support/fault_checks.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <vector>

#include "tests/support/image_files.h"
#include "tests/support/scene_on_recorder.h"

KvWorkingFolder::KvWorkingFolder(const std::string& folder)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(folder);
}

KvWorkingFolder::~KvWorkingFolder() {
  std::filesystem::current_path(previous_);
}

namespace {

using Bytes = std::vector<unsigned char>;

void PutBig32(Bytes& out, uLong value) {
  for (int shift : {24, 16, 8, 0}) out.push_back(BYTE(value >> shift));
}

void PutChunk(Bytes& file, const char* type, const Bytes& data) {
  PutBig32(file, data.size());
  const size_t start = file.size();
  file.insert(file.end(), type, type + 4);
  file.insert(file.end(), data.begin(), data.end());
  PutBig32(file, crc32(0, file.data() + start, uInt(file.size() - start)));
}

// The image data: every row is a filter byte of 0 and the same texels, deflated one at a time.
Bytes CompressedRows(int width, int height, DWORD rgb) {
  Bytes row{0};
  for (int x = 0; x < width; ++x)
    row.insert(row.end(), {BYTE(rgb >> 16), BYTE(rgb >> 8), BYTE(rgb)});
  Bytes out;
  unsigned char buffer[1 << 16];
  z_stream stream{};
  deflateInit(&stream, 6);
  for (int y = 0; y < height; ++y) {
    stream.next_in = row.data(), stream.avail_in = uInt(row.size());
    const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
    int status = Z_OK;
    do {
      stream.next_out = buffer, stream.avail_out = sizeof buffer;
      status = deflate(&stream, flush);
      out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
    } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
  }
  deflateEnd(&stream);
  return out;
}

}  // namespace

void KvWriteSolidPng(const std::string& path, int width, int height, DWORD rgb) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header;
  for (int side : {width, height}) PutBig32(header, uLong(side));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", CompressedRows(width, height, rgb));
  PutChunk(file, "IEND", {});
  KvWriteBytes(path, file);
}

void KvRunFrames(KV_APPLICATION& app, DWORD& now, int count) {
  for (int i = 0; i < count; ++i) {
    KvTestClock::Set(now += 17);
    app.Frame();
  }
}

void KvExpectShutdownReleasesEverything(KV_APPLICATION& app) {
  IDirect3DDevice9* device = app.device;
  IDirect3D9* direct3D = app.direct3D;
  if (device) device->AddRef();
  if (direct3D) direct3D->AddRef();
  app.Shutdown();
  EXPECT_EQ(app.device, nullptr);
  EXPECT_EQ(app.direct3D, nullptr);
  EXPECT_EQ(device ? device->Release() : 0u, 0u) << "something still holds the device";
  EXPECT_EQ(direct3D ? direct3D->Release() : 0u, 0u) << "something still holds Direct3D";
}
