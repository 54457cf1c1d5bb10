// The control's property record: new controls, loading and saving, key by key in a fixed order.
#include "control/ze_quelo.h"

#include "component/component.h"

namespace quelo {
namespace {

// The saved default of "Enabled" is the Integer 1, which never equals a Boolean: the key is
// always written, and a record without it loads as enabled.
const Variant kEnabledDefault{int16_t{1}};
const Variant kBackColorDefault{static_cast<int32_t>(ZeQuelo::kDefaultBackColor)};

template <class T, class Convert>
T readKey(PropertyBag& bag, std::string_view key, const Variant& def, T fallback, Convert convert) {
  auto stored = bag.read(key, def);
  if (!stored) return fallback;
  auto value = convert(stored.value());
  return value ? value.value() : fallback;
}

}  // namespace

void ZeQuelo::initProperties() {
  const Component& shared = *component_;
  applicationPath_ = shared.applicationPath;
  doTimer_ = false;
  interval_ = 0;
  maxRecsPerPage_ = kDefaultMaxRecsPerPage;
  tag_.clear();
  developerCompany_ = shared.developerCompany;
}

void ZeQuelo::readProperties(PropertyBag& bag) {
  Component& shared = *component_;
  (void)window_.setEnabled(readKey(bag, "Enabled", kEnabledDefault, true, toBool));
  (void)window_.setBackColor(static_cast<uint32_t>(
      readKey(bag, "BackColor", kBackColorDefault, static_cast<int32_t>(kDefaultBackColor), toLong)));
  applicationPath_ = readKey(bag, "ApplicationPath", Variant(shared.applicationPath), shared.applicationPath, toString);
  doTimer_ = readKey(bag, "DoTimer", Variant(false), false, toBool);
  interval_ = readKey(bag, "Interval", Variant(int32_t{0}), int32_t{0}, toLong);
  maxRecsPerPage_ = readKey(bag, "MaxRecsPerPage", Variant(kDefaultMaxRecsPerPage), kDefaultMaxRecsPerPage, toLong);
  tag_ = readKey(bag, "Tag", Variant(""), std::string(), toString);
  developerCompany_ = readKey(bag, "DeveloperCompany", Variant(""), std::string(), toString);
  shared.developerCompany = developerCompany_;
}

void ZeQuelo::writeProperties(PropertyBag& bag) {
  if (auto on = window_.enabled()) (void)bag.write("Enabled", Variant(on.value()), kEnabledDefault);
  if (auto color = window_.backColor())
    (void)bag.write("BackColor", Variant(static_cast<int32_t>(color.value())), kBackColorDefault);
  (void)bag.write("ApplicationPath", Variant(applicationPath_), Variant(component_->applicationPath));
  (void)bag.write("DoTimer", Variant(doTimer_), Variant(false));
  (void)bag.write("Interval", Variant(interval_), Variant(int32_t{0}));
  (void)bag.write("MaxRecsPerPage", Variant(maxRecsPerPage_), Variant(kDefaultMaxRecsPerPage));
  (void)bag.write("Tag", Variant(tag_), Variant(""));
  (void)bag.write("DeveloperCompany", Variant(developerCompany_), Variant(""));
}

}  // namespace quelo
