// The copies of a report's pictures in the folder beside its pages: each picture copied once,
// under its own name or a numbered one (photo-2.jpg ...), a copy of the same picture already
// there used again, and nothing in the folder replaced or written through a link. Only regular
// files that start as a picture are copied, in fixed chunks (memory stays flat whatever their
// size), each built under a temporary name and given its own in one step, never more readable
// than its source. Names are found in time linear in the pictures copied: the folder is read
// once, and copies already there are known by size and a hash of their content, compared
// byte for byte only when both agree.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"

namespace quelo {

class PictureCopies {
 public:
  // `folder` is the copies' folder, without a trailing separator.
  PictureCopies(FileSystem& files, std::string folder);

  // Makes the folder ready: made when missing (one that is a symbolic link is refused), the
  // temporaries of a killed run removed and its names read, under its lock.
  Status prepare();
  // The name in the folder of a copy of the picture at `source`: one already there with the
  // same content, or a new one; else why there is none.
  Result<std::string> copy(const std::string& source);

 private:
  struct Content {
    uint64_t size = 0;
    size_t hash = 0;
  };
  // The copies of one name: the next number to try, and the copies of earlier runs not yet
  // read, by size.
  struct Family {
    int next = 1;
    std::unordered_map<uint64_t, std::vector<std::string>> unread;
  };
  using Key = std::tuple<std::string, uint64_t, size_t>;  // name, size, hash

  Result<Content> readThrough(const std::string& path, RegularFile& picture, OutputFile* copy);
  Result<Content> contentOf(const std::string& path);
  std::optional<std::string> copyAlreadyThere(const std::string& source, const std::string& name,
                                              const Content& content);
  Result<std::string> newCopy(const std::string& source, const std::string& name);
  Family& family(const std::string& name);
  std::string freeName(const std::string& name);
  bool sameContent(const std::string& a, const std::string& b);

  FileSystem& files_;
  std::string folder_;                     // with a trailing "/"
  std::unordered_set<std::string> taken_;  // the names in the folder
  std::unordered_map<std::string, Family> families_;
  std::map<Key, std::vector<std::string>> known_;  // the copies by name and content
  std::unique_ptr<char[]> buffers_;                // two chunks
};

}  // namespace quelo
