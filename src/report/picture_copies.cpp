#include "report/picture_copies.h"

#include <functional>
#include <string_view>

#include "files/path_rules.h"
#include "platform/picture.h"

namespace quelo {
namespace {

constexpr size_t kChunk = size_t{1} << 16;

// "photo.jpg" as "photo-2.jpg", "photo-3.jpg" ... for the second and later pictures of a name.
std::string numberedName(const std::string& name, int n) {
  if (n == 1) return name;
  const size_t dot = name.rfind('.');
  const size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, stem) + "-" + std::to_string(n) + name.substr(stem);
}

// A chunk of the file, whole but at its end: the same content always reads as the same chunks.
Result<std::string_view> readChunk(InputFile& file, char* buffer) {
  size_t got = 0;
  while (got < kChunk) {
    auto n = file.read(buffer + got, kChunk - got);
    if (!n) return n.error();
    if (n.value() == 0) break;
    got += n.value();
  }
  return std::string_view(buffer, got);
}

}  // namespace

PictureCopies::PictureCopies(FileSystem& files, std::string folder)
    : files_(files),
      folder_(std::move(folder) + "/"),
      buffers_(std::make_unique<char[]>(2 * kChunk)) {}

Status PictureCopies::prepare() {
  const std::string folder = folder_.substr(0, folder_.size() - 1);
  if (files_.isSymlink(folder))
    return makeError(err::kPermissionDenied, folder + " is a symbolic link");
  if (Status s = files_.ensureDirectory(folder); !s) return s;
  auto lock = files_.lockFolder(folder);
  if (!lock) return lock.error();
  if (Status s = files_.removeUpdateLeftovers(folder); !s) return s;
  auto entries = files_.list(folder);
  if (!entries) return entries.error();
  for (const DirEntry& entry : entries.value()) taken_.insert(entry.name);
  return Status::ok();
}

Result<std::string> PictureCopies::copy(const std::string& source) {
  auto content = contentOf(source);
  if (!content) return content.error();
  const std::string name = source.substr(fileNameStart(source));
  auto lock = files_.lockFolder(folder_.substr(0, folder_.size() - 1));
  if (!lock) return lock.error();
  if (auto there = copyAlreadyThere(source, name, content.value())) return *there;
  return newCopy(source, name);
}

// Reads the picture at `path` through, writing it to `copy` when given; a file that does not
// start as a picture is refused.
Result<PictureCopies::Content> PictureCopies::readThrough(const std::string& path,
                                                          RegularFile& picture, OutputFile* copy) {
  Content content;
  for (;;) {
    auto chunk = readChunk(*picture.file, buffers_.get());
    if (!chunk) return chunk.error();
    if (content.size == 0 && !looksLikePicture(chunk.value()))
      return makeError(err::kIoError, "Not a picture '" + path + "'");
    if (chunk.value().empty()) return content;
    content.size += chunk.value().size();
    content.hash = content.hash * 1099511628211u ^ std::hash<std::string_view>{}(chunk.value());
    if (copy)
      if (Status s = copy->write(chunk.value()); !s) return s.error();
  }
}

Result<PictureCopies::Content> PictureCopies::contentOf(const std::string& path) {
  auto picture = files_.openRegular(path);
  if (!picture) return picture.error();
  return readThrough(path, picture.value(), nullptr);
}

// A copy of the same picture in the folder: one of this run's, or one an earlier run left (read
// when a picture of its name and size first comes).
std::optional<std::string> PictureCopies::copyAlreadyThere(const std::string& source,
                                                           const std::string& name,
                                                           const Content& content) {
  if (auto unread = family(name).unread.extract(content.size)) {
    for (const std::string& earlier : unread.mapped())
      if (auto c = contentOf(folder_ + earlier); c && c.value().size == content.size)
        known_[{name, content.size, c.value().hash}].push_back(earlier);
  }
  const auto same = known_.find({name, content.size, content.hash});
  if (same == known_.end()) return std::nullopt;
  for (const std::string& copy : same->second)
    if (sameContent(source, folder_ + copy)) return copy;
  return std::nullopt;
}

// The picture copied under the first free name; a name taken meanwhile (by another program) is
// passed over.
Result<std::string> PictureCopies::newCopy(const std::string& source, const std::string& name) {
  for (;;) {
    const std::string free = freeName(name);
    auto picture = files_.openRegular(source);
    if (!picture) return picture.error();
    auto copy = files_.beginCreate(folder_ + free, picture.value().mode & 0666u);
    if (!copy) return copy.error();
    auto content = readThrough(source, picture.value(), copy.value().get());
    if (!content) return content.error();
    Status made = copy.value()->close();
    if (made) {
      known_[{name, content.value().size, content.value().hash}].push_back(free);
      return free;
    }
    if (made.error().number != err::kFileAlreadyExists) return made.error();
  }
}

// The copies of `name` that earlier runs left, numbered from 1 on without a gap.
PictureCopies::Family& PictureCopies::family(const std::string& name) {
  auto [at, fresh] = families_.try_emplace(name);
  if (!fresh) return at->second;
  for (int n = 1; taken_.contains(numberedName(name, n)); ++n) {
    const std::string earlier = numberedName(name, n);
    if (auto info = files_.stat(folder_ + earlier); info && !info.value().isDirectory)
      at->second.unread[info.value().size].push_back(earlier);
  }
  return at->second;
}

std::string PictureCopies::freeName(const std::string& name) {
  Family& f = family(name);
  while (taken_.contains(numberedName(name, f.next))) ++f.next;
  const std::string free = numberedName(name, f.next++);
  taken_.insert(free);
  return free;
}

bool PictureCopies::sameContent(const std::string& a, const std::string& b) {
  auto left = files_.openRegular(a);
  auto right = files_.openRegular(b);
  if (!left || !right || left.value().size != right.value().size) return false;
  for (;;) {
    auto l = readChunk(*left.value().file, buffers_.get());
    auto r = readChunk(*right.value().file, buffers_.get() + kChunk);
    if (!l || !r || l.value() != r.value()) return false;
    if (l.value().empty()) return true;
  }
}

}  // namespace quelo
