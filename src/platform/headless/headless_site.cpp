#include "platform/headless/headless_site.h"

namespace quelo {
namespace {
Error windowFailure() { return makeError(err::kIoError, "The control's window refused the call"); }
}  // namespace

Result<bool> HeadlessSite::ambientUserMode() {
  if (failUserMode) return makeError(err::kMemberNotFound, "Ambient property unavailable");
  return userMode;
}

Status HeadlessSite::propertyChanged(std::string_view key) {
  if (failAnnouncements) return makeError(err::kIoError, "The host refused the change");
  announced.emplace_back(key);
  return Status::ok();
}

std::shared_ptr<Dispatch> HeadlessSite::findControl(std::string_view name) {
  auto it = controls.find(std::string(name));
  return it == controls.end() ? nullptr : it->second;
}

void HeadlessSite::fireEvent(std::string_view name, int32_t, Args& args) {
  events.emplace_back(name);
  if (onEvent) onEvent(name, args);
}

Result<uint32_t> HeadlessWindow::backColor() {
  if (fail) return windowFailure();
  return backColor_;
}

Status HeadlessWindow::setBackColor(uint32_t color) {
  if (fail) return windowFailure();
  backColor_ = color;
  return Status::ok();
}

Result<bool> HeadlessWindow::enabled() {
  if (fail) return windowFailure();
  return enabled_;
}

Status HeadlessWindow::setEnabled(bool on) {
  if (fail) return windowFailure();
  enabled_ = on;
  return Status::ok();
}

Status HeadlessWindow::setSize(SizeTwips s) {
  size_ = s;
  ++resizes;
  return Status::ok();
}

}  // namespace quelo
