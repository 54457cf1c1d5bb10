// Fonts: the family names of the fonts installed on this machine, as the font choosers offer them.
#pragma once

#include <string>
#include <vector>

namespace quelo {

class Fonts {
 public:
  virtual ~Fonts() = default;
  // One entry per installed font face, in no particular order; duplicates are allowed.
  virtual std::vector<std::string> families() = 0;
};

}  // namespace quelo
