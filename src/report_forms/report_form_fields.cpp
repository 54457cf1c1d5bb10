// QueloReportForm's field lists: sending fields to the output list and back, ordering the output
// list with its buttons and keys, and inverting every mark with Shift + Alt.
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {

constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;
constexpr int kShiftAlt = key::kShiftMask | key::kAltMask;

void invertMarks(ListBox& list) {
  for (int32_t i = 0; i < list.listCount(); ++i) list.setSelected(i, !list.selected(i));
}

bool holds(const ListBox& list, const std::string& text) {
  for (int32_t i = 0; i < list.listCount(); ++i)
    if (list.list(i) == text) return true;
  return false;
}

// Moves the entry at `from` to `to` by inserting a copy and removing the original; the copy is
// marked and focused.
void moveEntry(ListBox& list, int32_t from, int32_t insertAt) {
  const std::string text = list.list(from);
  list.addItem(text, insertAt);
  list.removeItem(insertAt < from ? from + 1 : from);
  const int32_t copy = insertAt < from ? insertAt : insertAt - 1;
  list.setListIndex(copy);
  list.setSelected(copy, true);
}

}  // namespace

void QueloReportForm::cmdDirection_Click(int index) {
  auto& available = get<ListBox>("lstAvailable");
  auto& output = get<ListBox>("lstOutput");
  if (index == 0) {
    for (int32_t i = 0; i < available.listCount(); ++i)
      if (available.selected(i) && !holds(output, available.list(i)))
        output.addItem(available.list(i));
  } else if (index == 1) {
    for (int32_t i = output.listCount() - 1; i >= 0; --i)
      if (output.selected(i)) output.removeItem(i);
  }
}

void QueloReportForm::cmdMoveUpDown_Click(int index) {
  auto& output = get<ListBox>("lstOutput");
  const int32_t focused = output.listIndex();
  if (focused < 0) return;
  if (index == 0 && focused > 0) moveEntry(output, focused, focused - 1);
  if (index == 1 && focused < output.listCount() - 1) moveEntry(output, focused, focused + 2);
}

// Shift + arrow moves the focused output field. The list's own move of the focus for the arrow,
// after the correction by one the other way, leaves the focus on the field that moved: the net
// effect is done here and the key is consumed.
void QueloReportForm::outputListKeyDown(int& keyCode, int shift) {
  auto& output = get<ListBox>("lstOutput");
  if (shift == key::kShiftMask && (keyCode == kKeyUp || keyCode == kKeyDown)) {
    cmdMoveUpDown_Click(keyCode == kKeyUp ? 0 : 1);
    keyCode = 0;
    return;
  }
  if (shift == kShiftAlt && output.listCount() > 0) invertMarks(output);
}

void QueloReportForm::availableListKeyDown(int&, int shift) {
  auto& available = get<ListBox>("lstAvailable");
  if ((shift & kShiftAlt) == kShiftAlt && available.listCount() > 0) invertMarks(available);
}

}  // namespace quelo
