#include "fakes/fake_window_system.h"

namespace quelo::testing {

WindowHandle FakeWindowSystem::add(WindowHandle parent, std::string title, std::string className,
                                   std::optional<int32_t> controlId) {
  const WindowHandle w = next_++;
  nodes_[w] = Node{parent, {}, std::move(title), std::move(className), controlId};
  nodes_[parent].children.push_back(w);
  return w;
}

const FakeWindowSystem::Node& FakeWindowSystem::find(WindowHandle window) const {
  static const Node none;
  auto it = nodes_.find(window);
  return it == nodes_.end() ? none : it->second;
}

std::vector<WindowHandle> FakeWindowSystem::children(WindowHandle window) { return find(window).children; }

WindowHandle FakeWindowSystem::parent(WindowHandle window) {
  const WindowHandle p = find(window).parent;
  return p == kDesktop ? 0 : p;
}

Status FakeWindowSystem::activate(WindowHandle window) {
  if (refuseActivation || !nodes_.count(window)) return makeError(err::kInvalidProcedureCall, "cannot activate");
  activated.push_back(window);
  return Status::ok();
}

}  // namespace quelo::testing
