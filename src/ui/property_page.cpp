#include "ui/property_page.h"

#include <climits>
#include <cmath>
#include <iterator>
#include <optional>

#include "ui/maker.h"

namespace quelo {
namespace {

using namespace forms;

struct Entry {
  const char* text;
  int32_t records;
};
constexpr Entry kEntries[] = {{"5 - Ze_FiveRecs", 5},       {"10 - Ze_TenRecs", 10},
                              {"20 - Ze_TwentyRecs", 20},   {"100 - Ze_HundredRecs", 100},
                              {"200 - Ze_TwoHunRecs", 200}, {"500 - Ze_FiveHunRecs", 500},
                              {"1000 - Ze_ThouRecs", 1000}};
constexpr int32_t kDefaultEntry = 1;  // 10 records, the control's default page size

void selectAll(TextBox& t) {
  t.setSelStart(0);
  t.setSelLength(static_cast<int32_t>(t.text().size()));
}

// The list index that MaxRecsPerPage selects: its entry's, or the default entry's.
int32_t indexOfMaxRecs(int32_t records) {
  for (size_t i = 0; i < std::size(kEntries); ++i)
    if (kEntries[i].records == records) return static_cast<int32_t>(i);
  return kDefaultEntry;
}

// The 32-bit integer the text stands for (its leading number, rounded), or nothing when it does
// not fit one.
std::optional<int64_t> roundedValue(const std::string& text) {
  const double v = roundHalfEven(val(text));
  if (!std::isfinite(v) || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int64_t>(v);
}

}  // namespace

PropertyPage::PropertyPage(FormPresenter& presenter, PropertyPageSite& site)
    : Form("QueloProps", presenter), site_(site) {
  setCaption("ZeQueloProps");
}

void PropertyPage::build() {
  const auto label = [this](const char* name, const char* caption, FormControl::Rect r) {
    auto& l = add<Label>(name);
    l.setCaption(caption);
    l.setBounds(r);
  };
  label("lblMaxRecsPerPage", "MaxRecsPerPage:", {120, 150, 1800, 255});
  maxRecs_ = add<ComboBox>("cmbMaxRecsPerPage");
  maxRecs_->setStyle(2);
  maxRecs_->setBounds({2040, 120, 2520, 315});
  label("lblInterval", "Interval:", {120, 570, 1800, 255});
  interval_ = add<TextBox>("txtInterval");
  interval_->setBounds({2040, 540, 1200, 315});
  doTimer_ = add<CheckBox>("chkDoTimer");
  doTimer_->setCaption("DoTimer");
  doTimer_->setBounds({120, 990, 1800, 285});
  enabled_ = add<CheckBox>("chkEnabled");
  enabled_->setCaption("Enabled");
  enabled_->setBounds({2040, 990, 1800, 285});
  label("lblTag", "Tag:", {120, 1440, 1800, 255});
  tag_ = add<TextBox>("txtTag");
  tag_->setBounds({2040, 1410, 2520, 315});
  label("lblDeveloperCompany", "Developer Company:", {120, 1860, 1800, 255});
  company_ = add<TextBox>("txtDeveloperCompany");
  company_->setMultiLine(true);
  company_->setBounds({2040, 1830, 2520, 645});
  label("lblCompany", maker::kContactLine, {120, 2640, 4440, 480});
  wireEvents();
}

void PropertyPage::wireEvents() {
  for (TextBox* box : {&*interval_, &*tag_, &*company_}) {
    box->onChange = [this] { markChanged(); };
    box->onGotFocus = [box] { selectAll(*box); };
  }
  for (CheckBox* box : {&*doTimer_, &*enabled_}) box->onClick = [this] { markChanged(); };
  auto& list = *maxRecs_;
  list.onClick = [this] { markChanged(); };
  list.onGotFocus = [this, &list] { indexOnFocus_ = static_cast<int16_t>(list.listIndex()); };
  list.onLostFocus = [this, &list] {
    if (list.listIndex() != indexOnFocus_) markChanged();
  };
  // A negative interval, or one too large for the property, keeps the focus in the box.
  auto& interval = *interval_;
  interval.onValidate = [&interval](bool& cancel) {
    const auto v = roundedValue(interval.text());
    cancel = !v || *v < 0;
  };
}

void PropertyPage::initialize() {
  auto& list = *maxRecs_;
  for (const Entry& e : kEntries) {
    list.addItem(e.text);
    list.setItemData(list.newIndex(), e.records);
  }
}

void PropertyPage::selectionChanged() {
  const auto selected = site_.selectedControls();
  if (selected.empty() || !selected[0]) return;
  Dispatch& control = *selected[0];
  // Each property is read on its own: one that fails leaves its box as it was.
  if (auto v = control.get("Interval")) interval_->setText(toString(v.value()).valueOr(""));
  if (auto v = control.get("DoTimer")) doTimer_->setValue(toBool(v.value()).valueOr(false) ? 1 : 0);
  if (auto v = control.get("Enabled")) enabled_->setValue(toBool(v.value()).valueOr(false) ? 1 : 0);
  if (auto v = control.get("Tag")) tag_->setText(toString(v.value()).valueOr(""));
  if (auto v = control.get("DeveloperCompany")) company_->setText(toString(v.value()).valueOr(""));
  if (auto v = control.get("MaxRecsPerPage"))
    maxRecs_->setListIndex(
        indexOfMaxRecs(toLong(v.value()).valueOr(kEntries[kDefaultEntry].records)));
}

void PropertyPage::applyChanges() {
  const auto selected = site_.selectedControls();
  if (selected.empty() || !selected[0]) return;
  Dispatch& control = *selected[0];
  // Each assignment on its own: a property that refuses its value does not stop the others.
  (void)control.put("Interval", Variant(val(interval_->text())));
  (void)control.put("DoTimer", Variant(doTimer_->value() == 1));
  (void)control.put("Enabled", Variant(enabled_->value() == 1));
  (void)control.put("Tag", Variant(tag_->text()));
  auto& list = *maxRecs_;
  if (list.listIndex() >= 0)
    (void)control.put("MaxRecsPerPage", Variant(list.itemData(list.listIndex())));
  (void)control.put("DeveloperCompany", Variant(company_->text()));
}

}  // namespace quelo
