// A read-only SDL stream over bytes in memory that reads zeros past the end.
#include "platform/image/memory_source.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
};

Source& Of(SDL_RWops* stream) {
  return *static_cast<Source*>(stream->hidden.unknown.data1);
}

Sint64 Size(SDL_RWops* stream) {
  return Sint64(Of(stream).size);
}

Sint64 Seek(SDL_RWops* stream, Sint64 offset, int whence) {
  Source& source = Of(stream);
  const Sint64 base = whence == RW_SEEK_SET   ? 0
                      : whence == RW_SEEK_CUR ? Sint64(source.at)
                                              : Sint64(source.size);
  source.at = std::size_t(std::clamp<Sint64>(base + offset, 0, Sint64(source.size)));
  return Sint64(source.at);
}

// Returns the whole objects read, as SDL's own streams do.
size_t Read(SDL_RWops* stream, void* target, size_t objectSize, size_t count) {
  Source& source = Of(stream);
  if (objectSize == 0 || count == 0 || count > SIZE_MAX / objectSize) return 0;
  const std::size_t wanted = objectSize * count;
  const std::size_t taken = std::min(wanted, source.size - source.at);
  std::memcpy(target, source.data + source.at, taken);
  std::memset(static_cast<std::uint8_t*>(target) + taken, 0, wanted - taken);
  source.at += taken;
  return taken / objectSize;
}

size_t Write(SDL_RWops*, const void*, size_t, size_t) {
  return 0;
}

int Close(SDL_RWops* stream) {
  delete &Of(stream);
  SDL_FreeRW(stream);
  return 0;
}

}  // namespace

SDL_RWops* KvOpenMemorySource(const std::uint8_t* data, std::size_t size) {
  SDL_RWops* stream = SDL_AllocRW();
  if (!stream) return nullptr;
  stream->size = Size;
  stream->seek = Seek;
  stream->read = Read;
  stream->write = Write;
  stream->close = Close;
  stream->type = SDL_RWOPS_UNKNOWN;
  stream->hidden.unknown.data1 = new Source{data, size};
  return stream;
}
