// A page's text as it is written: the page's own text, with pieces of a text that every page of
// the run shares (the links to the other pages, most of a page's bytes) put in at their places.
// The shared pieces are written with the page without being copied into it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quelo {

class PageText {
 public:
  // The page's own text, to append to.
  std::string& own() { return own_; }
  // Puts `piece`, a part of `shared`, at the end of the text; `shared` is kept while the page is.
  void share(std::shared_ptr<const std::string> shared, std::string_view piece) {
    shared_.push_back({own_.size(), piece});
    if (keep_.empty() || keep_.back() != shared) keep_.push_back(std::move(shared));
  }
  // The text in order: pieces of the page's own text and the shared pieces between them.
  std::vector<std::string_view> pieces() const {
    std::vector<std::string_view> out;
    const std::string_view own = own_;
    size_t from = 0;
    for (const Shared& s : shared_) {
      out.push_back(own.substr(from, s.at - from));
      out.push_back(s.piece);
      from = s.at;
    }
    out.push_back(own.substr(from));
    return out;
  }
  // Empties the text, keeping the room of its own text.
  void clear() {
    own_.clear();
    shared_.clear();
    keep_.clear();
  }

 private:
  struct Shared {
    size_t at;  // in the page's own text
    std::string_view piece;
  };
  std::string own_;
  std::vector<Shared> shared_;
  std::vector<std::shared_ptr<const std::string>> keep_;  // the texts the shared pieces are in
};

}  // namespace quelo
