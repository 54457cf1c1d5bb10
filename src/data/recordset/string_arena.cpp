#include "data/recordset/string_arena.h"

#include <algorithm>
#include <cstring>

#include "data/recordset/prefault.h"

namespace quelo {
namespace {

constexpr size_t kFirstBlock = 256;
constexpr size_t kLargestBlock = 1 << 20;
constexpr size_t kMaxLengthBytes = 10;  // a 64-bit length as a varint

size_t putLength(char* out, uint64_t n) {
  size_t i = 0;
  while (n >= 0x80) {
    out[i++] = static_cast<char>((n & 0x7F) | 0x80);
    n >>= 7;
  }
  out[i++] = static_cast<char>(n);
  return i;
}

}  // namespace

StringArena::Block& StringArena::blockWithRoom(size_t bytes) {
  if (!blocks_.empty() && blocks_.back().size - blocks_.back().used >= bytes) return blocks_.back();
  // Blocks double up to a megabyte; a longer text gets a block of its own size.
  const size_t last = blocks_.empty() ? kFirstBlock / 2 : blocks_.back().size;
  const size_t size = std::max(bytes, std::min(kLargestBlock, last * 2));
  blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(size), size, 0});
  prefault(blocks_.back().data.get(), size);
  return blocks_.back();
}

uint64_t StringArena::add(std::string_view text) {
  Block& b = blockWithRoom(text.size() + kMaxLengthBytes);
  const uint64_t handle = (static_cast<uint64_t>(&b - blocks_.data()) << 32) | b.used;
  char* at = b.data.get() + b.used;
  const size_t lengthBytes = putLength(at, text.size());
  if (!text.empty()) std::memcpy(at + lengthBytes, text.data(), text.size());
  b.used += lengthBytes + text.size();
  return handle;
}

std::string_view StringArena::get(uint64_t handle) const {
  const Block& b = blocks_[handle >> 32];
  const char* at = b.data.get() + (handle & 0xFFFFFFFFu);
  uint64_t n = 0;
  int shift = 0;
  for (;;) {
    const auto byte = static_cast<unsigned char>(*at++);
    n |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if (byte < 0x80) break;
    shift += 7;
  }
  return {at, static_cast<size_t>(n)};
}

void StringArena::clear() {
  if (blocks_.empty()) return;
  auto largest = std::max_element(blocks_.begin(), blocks_.end(),
                                   [](const Block& a, const Block& b) { return a.size < b.size; });
  Block keep = std::move(*largest);
  keep.used = 0;
  blocks_.clear();
  blocks_.push_back(std::move(keep));
}

}  // namespace quelo
