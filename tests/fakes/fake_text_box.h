// A host's text box as automation sees it: Text, SelStart, SelText, Locked, Enabled, Visible and
// SetFocus, built with MemberDispatch; the selection is selStart and selLength. Positions count
// characters of ASCII text. It records the order of the writes, and can refuse a member by name.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "automation/member_dispatch.h"

namespace quelo::testing {

class FakeTextBox : public MemberDispatch {
 public:
  static std::shared_ptr<FakeTextBox> create();

  std::string text;
  int32_t selStart = 0, selLength = 0;
  bool locked = false, enabled = true, visible = true, focused = false;
  std::vector<std::string> writes;  // "Locked=False", "SetFocus", ...
  std::set<std::string> refused;    // members that answer "Object doesn't support ..."

 private:
  FakeTextBox() = default;
  void bindAll();
};

}  // namespace quelo::testing
