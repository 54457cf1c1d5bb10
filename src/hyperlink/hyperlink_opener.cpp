#include "hyperlink/hyperlink_opener.h"

#include "hyperlink/window_search.h"
#include "automation/text.h"

namespace quelo {
namespace {

constexpr std::string_view kMailto = "mailto:";

// Raises the first open browser window, if any.
void bringBrowserToFront(Platform& p, HyperlinkState& state) {
  if (!p.windows || !p.loop) return;
  const int32_t found = findWindowsByPatterns(*p.windows, *p.loop, state, state.foundWindows, 0, browserTitlePatterns(),
                                              "*", Variant::null());
  if (found > 0) (void)p.windows->activate(state.foundWindows[1]);
}

bool navigate(Platform& p, LinkMode mode, const std::string& address) {
  return (mode == LinkMode::Mail ? p.shell->composeMail(address) : p.shell->open(address)).isOk();
}

// Starts the browser program with the address; the program is looked up until it has worked once.
bool startBrowserProgram(Platform& p, HyperlinkState& state, const std::string& address) {
  if (!state.browserKnown) {
    Result<std::string> program = p.shell->defaultBrowser();
    state.browserProgram = program.valueOr("");
    if (!program) return false;
  }
  state.browserKnown = p.shell->start(state.browserProgram, address).isOk();
  return state.browserKnown;
}

}  // namespace

const std::vector<std::string>& browserTitlePatterns() {
  // "?" stands for the separator, a hyphen or a dash depending on the version.
  static const std::vector<std::string> patterns{
      "* ? Mozilla Firefox", "Mozilla Firefox", "* ? Mozilla Firefox Private Browsing",
      "* - Chromium",        "Chromium",        "* - Google Chrome",
      "Google Chrome",       "* - Brave",       "* - Vivaldi",
      "* - Opera",           "* ? Falkon",      "* ? Konqueror",
      "* ? LibreWolf",       "* - qutebrowser",
  };
  return patterns;
}

bool activateLink(Platform& platform, HyperlinkState& state, LinkMode mode, const std::string& target,
                  bool newInstance) {
  if (!platform.shell) return false;
  std::string address = target;
  if (mode == LinkMode::Mail && toLower(address.substr(0, kMailto.size())) != kMailto) address.insert(0, kMailto);
  if (mode == LinkMode::Mail || !newInstance) bringBrowserToFront(platform, state);
  for (int attempt = 0; attempt < 2; ++attempt)  // a failed hand-over gets one retry
    if (navigate(platform, mode, address)) return true;
  return startBrowserProgram(platform, state, address);
}

bool openHyperlink(Platform& platform, HyperlinkState& state, const std::string& destination,
                   bool startNewInstanceOfBrowser) {
  const std::string target = trimSpaces(destination);
  if (target.empty()) return false;
  if (target.find('@') != std::string::npos) return activateLink(platform, state, LinkMode::Mail, target, false);
  return activateLink(platform, state, LinkMode::OpenTarget, target, startNewInstanceOfBrowser);
}

}  // namespace quelo
