// The hyperlink opener: hands a web address, a file or an e-mail address to the user's browser or
// mail program. On Linux the browser is reached through the desktop's handlers (Shell): to
// "navigate" is to open the target in the default handler; when that fails twice, the browser
// program itself is started with the target. A browser window already open is brought to the
// front first, unless a new browser is asked for. Results are honest: True only when a program
// took the target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "component/hyperlink_state.h"
#include "component/platform.h"

namespace quelo {

enum class LinkMode : int16_t {
  OpenTarget = 0,  // a web address or a file
  Mail = 1,        // an e-mail address: a new message to it
};

// The titles of the Linux browsers' windows, as patterns. The one list of them.
const std::vector<std::string>& browserTitlePatterns();

// ActivateLink. In Mail mode "mailto:" goes in front of the target (unless it is there already);
// `newInstance` (OpenTarget only) skips looking for an open browser window. `state` is the
// component's: the windows found and the browser program last started.
bool activateLink(Platform& platform, HyperlinkState& state, LinkMode mode,
                  const std::string& target, bool newInstance);

// OpenHyperlink: the destination trimmed of spaces; nothing for an empty one; any destination
// holding "@" is an e-mail address (the new-instance flag is not used for it).
bool openHyperlink(Platform& platform, HyperlinkState& state, const std::string& destination,
                   bool startNewInstanceOfBrowser);

}  // namespace quelo
