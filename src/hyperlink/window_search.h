// FindWindowsByPattern: the descendants of a window whose title and class name match patterns.
// Matches are listed at indexes 1 to the returned count (entry 0 is a placeholder) in walk order:
// a window's descendants before the window itself, siblings topmost first. The start window
// itself is never tested. Before each window the thread's pending events run, so host events may
// run in the middle of a search; the depth and count are the component's (`state`), so a second
// search started from such an event with the same state joins the running one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"
#include "component/hyperlink_state.h"
#include "platform/message_loop.h"
#include "platform/window_system.h"

namespace quelo {

// Titles and class names are read up to this many characters.
inline constexpr size_t kWindowTextLimit = 255;

// The windows below `start` whose title matches any of the title patterns and whose class name
// matches the class pattern. start 0 means the desktop. id Null lists every match; a number lists
// only child windows with that control identifier (top-level windows have none).
int32_t findWindowsByPatterns(WindowSystem& windows, MessageLoop& loop, HyperlinkState& state,
                              std::vector<WindowHandle>& list, WindowHandle start,
                              const std::vector<std::string>& titlePatterns,
                              std::string_view classPattern, const Variant& id);

}  // namespace quelo
