// A window tree held in memory: windows are added under a parent, each below the siblings added
// before it (so children list in the order they were added, topmost first). Activations are
// recorded; a window can be made to refuse activation.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace quelo::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  static constexpr WindowHandle kDesktop = 1;

  // A new window under `parent` (kDesktop for a top-level one).
  WindowHandle add(WindowHandle parent, std::string title, std::string className = "Frame",
                   std::optional<int32_t> controlId = std::nullopt);

  WindowHandle desktop() override { return kDesktop; }
  std::vector<WindowHandle> children(WindowHandle window) override;
  std::string title(WindowHandle window) override { return find(window).title; }
  std::string className(WindowHandle window) override { return find(window).className; }
  WindowHandle parent(WindowHandle window) override;
  std::optional<int32_t> controlId(WindowHandle window) override { return find(window).controlId; }
  Status activate(WindowHandle window) override;

  std::vector<WindowHandle> activated;
  bool refuseActivation = false;

 private:
  struct Node {
    WindowHandle parent = 0;
    std::vector<WindowHandle> children;
    std::string title, className;
    std::optional<int32_t> controlId;
  };
  const Node& find(WindowHandle window) const;

  std::map<WindowHandle, Node> nodes_{{kDesktop, Node{}}};
  WindowHandle next_ = 0x100;
};

}  // namespace quelo::testing
