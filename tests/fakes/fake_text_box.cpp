#include "fakes/fake_text_box.h"

#include <algorithm>

namespace quelo::testing {
namespace {

Error refusedError() { return makeError(err::kMemberNotFound, "Object doesn't support this property or method"); }

}  // namespace

std::shared_ptr<FakeTextBox> FakeTextBox::create() {
  std::shared_ptr<FakeTextBox> box(new FakeTextBox);
  box->bindAll();
  return box;
}

void FakeTextBox::bindAll() {
  using K = InvokeKind;
  auto guarded = [this](std::string name, Handler h) -> Handler {
    return [this, name, h](Args& a) -> Result<Variant> {
      if (refused.count(name)) return refusedError();
      return h(a);
    };
  };
  auto boolProperty = [&](const std::string& name, bool& field) {
    bind(name, K::PropertyGet, guarded(name, [&field](Args&) -> Result<Variant> { return Variant(field); }));
    bind(name, K::PropertyPut, guarded(name, [this, name, &field](Args& a) -> Result<Variant> {
           field = toBool(a.back()).valueOr(field);
           writes.push_back(name + "=" + (field ? "True" : "False"));
           return Variant();
         }));
  };
  boolProperty("Locked", locked);
  boolProperty("Enabled", enabled);
  boolProperty("Visible", visible);
  bind("Text", K::PropertyGet, guarded("Text", [this](Args&) -> Result<Variant> { return Variant(text); }));
  bind("SelStart", K::PropertyPut, guarded("SelStart", [this](Args& a) -> Result<Variant> {
         selStart = std::clamp<int32_t>(toLong(a.back()).valueOr(0), 0, static_cast<int32_t>(text.size()));
         selLength = 0;
         writes.push_back("SelStart=" + std::to_string(selStart));
         return Variant();
       }));
  bind("SelText", K::PropertyPut, guarded("SelText", [this](Args& a) -> Result<Variant> {
         const std::string inserted = toString(a.back()).valueOr("");
         text.replace(static_cast<size_t>(selStart), static_cast<size_t>(selLength), inserted);
         selStart += static_cast<int32_t>(inserted.size());
         selLength = 0;
         writes.push_back("SelText");
         return Variant();
       }));
  bind("SetFocus", K::Method, guarded("SetFocus", [this](Args&) -> Result<Variant> {
         focused = true;
         writes.push_back("SetFocus");
         return Variant();
       }));
}

}  // namespace quelo::testing
