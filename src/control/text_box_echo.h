// The echo of a logged message into a text-editing control of the host, reached by name through
// Dispatch, so any host object with these members will do:
//   Locked, Enabled   Boolean, read, then written (unlocked and enabled for the insertion, put
//                     back afterwards)
//   Visible           Boolean, read
//   SetFocus          method
//   Text              String, read (only for a visible box)
//   SelStart          Long, written (only for a visible box): places the caret before the
//                     character (Unicode code point) of Text with that index, and clears the
//                     selection, as a text box does; Text's length puts it at the end
//   SelText           String, written: replaces the selection at the caret
// A visible box gets the focus and the caret at the end of its text first; a hidden one takes the
// text at its caret, unfocused. Each member that the object refuses is skipped.
#pragma once

#include <string_view>

#include "automation/dispatch.h"

namespace quelo {

// Inserts CR LF and the message, unchanged, at the end of a visible box's text.
void echoToTextBox(Dispatch& box, std::string_view message);

}  // namespace quelo
