// Pictures as the host's picture properties receive them, and the platform's LoadPicture. A
// picture is an object whose Path names the file it came from; an empty picture has no path.
#pragma once

#include <memory>
#include <string>

#include "automation/member_dispatch.h"

namespace quelo {

class Picture : public MemberDispatch {
 public:
  // Members by name: Path (read only, empty for an empty picture).
  explicit Picture(std::string path);
  const std::string& path() const { return path_; }
  bool empty() const { return path_.empty(); }

 private:
  std::string path_;
};

// Decides whether a file holds a picture the platform can show.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  virtual bool isPicture(const std::string& path) = 0;
};

// Whether bytes start like one of the picture formats above.
bool looksLikePicture(std::string_view bytes);

// LoadPicture: an empty name gives an empty picture; a file that is missing or not a picture
// fails with error 481 "Invalid picture".
Result<std::shared_ptr<Picture>> loadPicture(PictureLoader& loader, const std::string& path);

}  // namespace quelo
