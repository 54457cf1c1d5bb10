// The hyperlink opener's share of the component's state: one copy per component
// (Component::hyperlinks), shared by every control on its thread, kept while the component lives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace quelo {

struct HyperlinkState {
  // Browser windows found by the last search of the opener; entry 0 is a placeholder.
  std::vector<WindowHandle> foundWindows{0};
  // Nesting level and matches so far of the running window search.
  int32_t searchDepth = 0;
  int32_t foundCount = 0;
  // The browser program for a direct start, and whether it has started successfully.
  std::string browserProgram;
  bool browserKnown = false;
};

}  // namespace quelo
