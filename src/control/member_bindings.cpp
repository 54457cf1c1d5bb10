// The control's members by name and dispatch id: each entry of the type library bound to the
// typed member that does the work. Creating the control checks that the two lists agree.
#include "component/component.h"
#include "component/hyperlink_state.h"
#include "control/message_log.h"
#include "control/reporter_entry_points.h"
#include "control/text_box_echo.h"
#include "control/ze_quelo.h"
#include "files/file_names.h"
#include "files/supply_file_name.h"
#include "hyperlink/hyperlink_opener.h"
#include "report_forms/advanced_settings_form.h"
#include "ui/about_box.h"

namespace quelo {
namespace {

Result<Variant> none() {
  return Variant();
}

// A message with no text form (Null, an object) is logged as an empty one. The box gets the
// message even when the log file cannot take it; that failure is then raised, so no message is
// lost without a word.
Result<Variant> logMessage(Platform& platform, const std::string& applicationPath,
                           const std::string& company, Args& a) {
  const std::string message = toString(a[0]).valueOr("");
  const Status logged =
      appendToMessageLog(*platform.files, *platform.clock, applicationPath, company, message);
  if (auto box = a[1].objectOrNull()) echoToTextBox(*box, message);
  if (!logged) return logged.error();
  return none();
}

template <class T>
Result<Variant> wrap(Result<T> r) {
  if (!r) return r.error();
  return Variant(std::move(r).value());
}

}  // namespace

void ZeQuelo::bindMembers() {
  using K = InvokeKind;
  bind("Tag", K::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(tag_); });
  bind("Tag", K::PropertyPut, [this](Args& a) {
    setTag(a[0].asString());
    return none();
  });
  bind("DeveloperCompany", K::PropertyGet,
       [this](Args&) -> Result<Variant> { return Variant(developerCompany_); });
  bind("DeveloperCompany", K::PropertyPut, [this](Args& a) {
    setDeveloperCompany(a[0].asString());
    return none();
  });
  bind("BackColor", K::PropertyGet, [this](Args&) -> Result<Variant> {
    auto c = backColor();
    if (!c) return c.error();
    return Variant(static_cast<int32_t>(c.value()));
  });
  bind("BackColor", K::PropertyPut, [this](Args& a) -> Result<Variant> {
    Status s = setBackColor(static_cast<uint32_t>(a[0].asLong()));
    if (!s) return s.error();
    return Variant();
  });
  bind("Enabled", K::PropertyGet, [this](Args&) { return wrap(enabled()); });
  bind("Enabled", K::PropertyPut, [this](Args& a) -> Result<Variant> {
    Status s = setEnabled(a[0].asBool());
    if (!s) return s.error();
    return Variant();
  });
  bind("ApplicationPath", K::PropertyGet, [this](Args&) { return wrap(applicationPath()); });
  bind("ApplicationPath", K::PropertyPut, [this](Args& a) {
    std::string path = a[0].asString();
    setApplicationPath(path);
    a[0] = Variant(path);
    return none();
  });
  bind("DoTimer", K::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(doTimer_); });
  bind("DoTimer", K::PropertyPut, [this](Args& a) {
    setDoTimer(a[0].asBool());
    return none();
  });
  bind("Interval", K::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(interval_); });
  bind("Interval", K::PropertyPut, [this](Args& a) {
    setInterval(a[0].asLong());
    return none();
  });
  bind("MaxRecsPerPage", K::PropertyGet,
       [this](Args&) -> Result<Variant> { return Variant(maxRecsPerPage_); });
  bind("MaxRecsPerPage", K::PropertyPut, [this](Args& a) {
    const int32_t n = a[0].asLong();
    setMaxRecsPerPage(n);
    a[0] = Variant(n);  // the argument passed by reference comes back as a Long
    return none();
  });
  bind("hWnd", K::PropertyGet, [this](Args&) -> Result<Variant> { return Variant(hWnd()); });
  bind("ProgramDelayNSec", K::Method, [this](Args& a) {
    int32_t n = a[0].asLong();
    programDelayNSec(n);
    a[0] = Variant(n);
    return none();
  });
  bind("justFileName", K::Method,
       [](Args& a) -> Result<Variant> { return Variant(justFileName(a[0].asString())); });
  bind("FileFolder", K::Method,
       [](Args& a) -> Result<Variant> { return Variant(FileFolder(a[0].asString())); });
  bind("ShortFileName", K::Method, [this](Args& a) -> Result<Variant> {
    return Variant(ShortFileName(*platform_.files, a[0].asString()));
  });
  bind("LongFileName", K::Method, [this](Args& a) -> Result<Variant> {
    return Variant(LongFileName(*platform_.files, a[0].asString()));
  });
  bind("LogMessage", K::Method, [this](Args& a) {
    return logMessage(platform_, applicationPath_, component_->developerCompany, a);
  });
  bind("AdvancedSettings", K::Method, [this](Args& a) -> Result<Variant> {
    return AdvancedSettings(*component_, platform_, a[0].asLong());
  });
  bind("OpenHyperlink", K::Method, [this](Args& a) -> Result<Variant> {
    return Variant(
        openHyperlink(platform_, component_->hyperlinks, a[0].asString(), a[1].asBool()));
  });
  bind("ShowZeReporter", K::Method,
       [this](Args& a) -> Result<Variant> { return Variant(ShowZeReporter(*this, a)); });
  bind("AutoZeReporter", K::Method,
       [this](Args& a) -> Result<Variant> { return Variant(AutoZeReporter(*this, a)); });
  bind("RaiseZeReportStatus", K::Method, [this](Args& a) {
    RaiseZeReportStatus(*this, a);
    return none();
  });
  bind("CurrentRecordset", K::PropertyGet,
       [this](Args&) -> Result<Variant> { return CurrentRecordset(*this); });
  bind("SupplyFileName", K::Method, [this](Args& a) -> Result<Variant> {
    return Variant(supplyFileName(*component_, platform_, a));
  });
  bind("AboutBox", K::Method, [this](Args&) {
    showAboutBox(*component_, platform_);
    return none();
  });
}

}  // namespace quelo
