// The installed fonts as the system's fontconfig configuration knows them.
#pragma once

#include <string>
#include <vector>

#include "platform/fonts.h"

namespace quelo {

class FontconfigFonts : public Fonts {
 public:
  // The first (preferred) family name of each font; none when fontconfig cannot be set up.
  std::vector<std::string> families() override;
};

}  // namespace quelo
