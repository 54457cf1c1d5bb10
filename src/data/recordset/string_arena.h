// StringArena: the bytes of many short texts in a few large blocks, so a table of millions of
// text cells makes no heap allocation per cell. A text is addressed by a 64-bit handle (block
// and offset) and stored after its length; texts are never freed one by one, only all at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quelo {

class StringArena {
 public:
  uint64_t add(std::string_view text);
  // REQUIRES: a handle returned by add() since the last clear().
  std::string_view get(uint64_t handle) const;
  // Forgets every text; keeps the largest block for reuse, so a table refilled row by row
  // (a forward-only cursor) stops allocating once it has seen its longest row.
  void clear();

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    size_t used = 0;
  };
  Block& blockWithRoom(size_t bytes);

  std::vector<Block> blocks_;
};

}  // namespace quelo
