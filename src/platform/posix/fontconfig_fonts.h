// The installed fonts as fontconfig knows them: the system's configuration, or (for tests and
// sandboxes) a private one that holds only the fonts of the given folders.
#pragma once

#include <string>
#include <vector>

#include "platform/fonts.h"

namespace quelo {

class FontconfigFonts : public Fonts {
 public:
  FontconfigFonts() = default;
  explicit FontconfigFonts(std::vector<std::string> folders) : folders_(std::move(folders)), ownConfig_(true) {}

  // The first (preferred) family name of each font.
  std::vector<std::string> families() override;

 private:
  std::vector<std::string> folders_;
  bool ownConfig_ = false;
};

}  // namespace quelo
