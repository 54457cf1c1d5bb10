#include "hyperlink/window_search.h"

#include <optional>

#include "hyperlink/like_pattern.h"
#include "automation/text.h"

namespace quelo {
namespace {

std::string limited(std::string text) {
  text.resize(utf8PrefixLength(text, kWindowTextLimit));
  return text;
}

class Search {
 public:
  Search(WindowSystem& windows, MessageLoop& loop, HyperlinkState& state, std::vector<WindowHandle>& list,
         const std::vector<std::string>& titles, std::string_view cls, const Variant& id)
      : windows_(windows),
        loop_(loop),
        state_(state),
        list_(list),
        titles_(titles.begin(), titles.end()),
        class_(cls),
        id_(id) {}

  int32_t run(WindowHandle start) {
    if (state_.searchDepth == 0) {
      state_.foundCount = 0;
      list_.assign(1, 0);
      if (start == 0) start = windows_.desktop();
    }
    ++state_.searchDepth;
    for (WindowHandle child : windows_.children(start)) {
      loop_.processEvents();
      run(child);
      if (matches(child)) {
        ++state_.foundCount;
        list_.resize(static_cast<size_t>(state_.foundCount) + 1, 0);
        list_[static_cast<size_t>(state_.foundCount)] = child;
      }
    }
    --state_.searchDepth;
    return state_.foundCount;
  }

 private:
  bool matches(WindowHandle w) {
    if (!titleMatches(limited(windows_.title(w))) || !class_.matches(limited(windows_.className(w)))) return false;
    if (id_.isNull()) return true;
    const std::optional<int32_t> own = windows_.parent(w) != 0 ? windows_.controlId(w) : std::nullopt;
    const Result<double> wanted = toDouble(id_);
    return own && wanted && *own == wanted.value();
  }

  bool titleMatches(const std::string& title) const {
    for (const LikePattern& p : titles_)
      if (p.matches(title)) return true;
    return false;
  }

  WindowSystem& windows_;
  MessageLoop& loop_;
  HyperlinkState& state_;
  std::vector<WindowHandle>& list_;
  std::vector<LikePattern> titles_;
  LikePattern class_;
  const Variant& id_;
};

}  // namespace

int32_t findWindowsByPatterns(WindowSystem& windows, MessageLoop& loop, HyperlinkState& state,
                              std::vector<WindowHandle>& list, WindowHandle start,
                              const std::vector<std::string>& titlePatterns, std::string_view classPattern,
                              const Variant& id) {
  return Search(windows, loop, state, list, titlePatterns, classPattern, id).run(start);
}

}  // namespace quelo
