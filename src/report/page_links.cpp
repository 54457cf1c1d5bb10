#include "report/page_links.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/text.h"
#include "files/file_names.h"

namespace quelo {
namespace {

// The page's own file name cut where "<curPage>.htm" (or ".asp") stands, so that any page number
// can be put in its place; a name without a page extension is one piece that takes none.
struct NameTemplate {
  std::vector<std::string> pieces;
  std::string extension;
};

NameTemplate nameTemplate(const std::string& filePath, int32_t curPage) {
  const std::string name = toLower(justFileName(filePath));
  const char* extension = name.ends_with(".htm") || name.ends_with(".html") ? ".htm"
                          : name.ends_with(".asp")                          ? ".asp"
                                                                            : nullptr;
  if (!extension) return {{name}, {}};
  return {splitText(name, std::to_string(curPage) + extension), extension};
}

void appendFilled(std::string& out, const NameTemplate& t, int32_t page) {
  out += t.pieces.front();
  const std::string marker = std::to_string(page) + t.extension;
  for (size_t k = 1; k < t.pieces.size(); ++k) {
    out += marker;
    out += t.pieces[k];
  }
}

}  // namespace

// The links to every page of a report, each with the line break before it.
struct PageNavigation::PageLinks {
  NameTemplate name;
  int32_t totalPage = 0;
  std::shared_ptr<const std::string> text;
  std::vector<size_t> starts;  // where the piece of page i starts; starts[0] unused
  std::vector<size_t> ends;

  PageLinks(NameTemplate t, int32_t total)
      : name(std::move(t)), totalPage(total), starts(total + 1), ends(total + 1) {
    std::string text;
    for (int32_t i = 1; i <= total; ++i) {
      starts[static_cast<size_t>(i)] = text.size();
      if (i % 12 == 1 && i > 1) text += "<Br>";
      text += "<A HRef='";
      appendFilled(text, name, i);
      text += "'>Vol ";
      text += std::to_string(i);
      text += "</A>...";
      ends[static_cast<size_t>(i)] = text.size();
    }
    this->text = std::make_shared<const std::string>(std::move(text));
  }
  bool fits(const NameTemplate& t, int32_t total) const {
    return totalPage == total && name.pieces == t.pieces && name.extension == t.extension;
  }
};

PageNavigation::PageNavigation() = default;
PageNavigation::~PageNavigation() = default;

void PageNavigation::appendLinks(PageText& out, const std::string& filePath, int32_t curPage,
                                 int32_t totalPage) {
  NameTemplate name = nameTemplate(filePath, curPage);
  if (!built_ || !built_->fits(name, std::max(totalPage, 0)))
    built_ = std::make_unique<PageLinks>(std::move(name), std::max(totalPage, 0));
  out.own() += "<HR>";
  const std::string_view text = *built_->text;
  if (curPage < 1 || curPage > built_->totalPage) return out.share(built_->text, text);
  out.share(built_->text, text.substr(0, built_->starts[static_cast<size_t>(curPage)]));
  out.share(built_->text, text.substr(built_->ends[static_cast<size_t>(curPage)]));
}

SectionLinks::SectionLinks(int32_t last)
    : starts_(static_cast<size_t>(std::max(last, 0)) + 1), ends_(starts_.size()) {
  for (int32_t i = 1; i <= last; ++i) {
    if (i % 9 == 1 && i > 1) text_ += "<Br>";
    const std::string number = std::to_string(i);
    starts_[static_cast<size_t>(i)] = text_.size();
    text_ += "<A HRef='#Section";
    text_ += number;
    text_ += "'>Section";
    text_ += number;
    text_ += "</A>...";
    ends_[static_cast<size_t>(i)] = text_.size();
  }
}

void SectionLinks::appendExcept(std::string& out, int32_t own) const {
  if (own < 1 || own > last()) {
    out += text_;
    return;
  }
  const std::string_view text = text_;
  out += text.substr(0, starts_[static_cast<size_t>(own)]);
  out += text.substr(ends_[static_cast<size_t>(own)]);
}

}  // namespace quelo
