#include "control/text_box_echo.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "automation/text.h"

namespace quelo {
namespace {

bool isVisible(Dispatch& box) {
  auto visible = box.get("Visible");
  if (!visible) return false;
  auto on = toBool(visible.value());
  return on && on.value();
}

// A direct call instead of keystrokes: nothing reaches whatever window happens to be active.
void moveCaretToEnd(Dispatch& box) {
  auto text = box.get("Text");
  if (!text) return;
  auto value = toString(text.value());
  if (!value) return;
  const int64_t characters = characterCount(value.value());
  (void)box.put("SelStart", Variant(static_cast<int32_t>(std::min<int64_t>(characters, INT32_MAX))));
}

}  // namespace

void echoToTextBox(Dispatch& box, std::string_view message) {
  const auto locked = box.get("Locked");
  const auto enabled = box.get("Enabled");
  (void)box.put("Locked", Variant(false));
  (void)box.put("Enabled", Variant(true));
  if (isVisible(box)) {
    (void)box.call("SetFocus");
    moveCaretToEnd(box);
  }
  (void)box.put("SelText", Variant("\r\n" + std::string(message)));
  if (locked) (void)box.put("Locked", locked.value());
  if (enabled) (void)box.put("Enabled", enabled.value());
}

}  // namespace quelo
