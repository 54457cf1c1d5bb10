// A page renderer that renders nothing: it records the pages it is asked for and answers a
// document made of their URLs, or fails when told to.
#pragma once

#include <string>
#include <vector>

#include "platform/page_renderer.h"

namespace quelo::testing {

class FakePageRenderer : public PageRenderer {
 public:
  Result<std::string> renderPdf(const std::vector<PageToRender>& pages) override {
    calls.push_back(pages);
    if (!failure.empty()) return makeError(err::kFileNotFound, failure);
    std::string document = "%PDF-fake";
    for (const PageToRender& page : pages) document += "\n" + page.url + " " + page.title;
    return document;
  }

  std::string failure;  // when set, every render fails with it
  std::vector<std::vector<PageToRender>> calls;
};

}  // namespace quelo::testing
