// Fonts that a test chooses, in the order given.
#pragma once

#include <string>
#include <vector>

#include "platform/fonts.h"

namespace quelo::testing {

class FakeFonts : public Fonts {
 public:
  FakeFonts() = default;
  explicit FakeFonts(std::vector<std::string> names) : names(std::move(names)) {}
  std::vector<std::string> families() override { return names; }

  std::vector<std::string> names{"Times New Roman", "DejaVu Sans", "Arial"};
};

}  // namespace quelo::testing
