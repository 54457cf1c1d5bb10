// The control object: creation, properties with their checks and announcements, focus, click,
// resize and termination.
#include "control/ze_quelo.h"

#include <cstdio>
#include <cstdlib>

#include "component/component.h"
#include "control/type_library.h"
#include "files/path_rules.h"
#include "platform/message_box.h"
#include "automation/text.h"

namespace quelo {

// The control's face: Label1 over the whole square.
class ZeQuelo::Face : public forms::Form {
 public:
  explicit Face(forms::FormPresenter& presenter) : Form("ZeQuelo", presenter) { load(); }
  forms::Label& label1() { return get<forms::Label>("Label1"); }

 protected:
  void build() override {
    auto& label = add<forms::Label>("Label1");
    label.setBounds({0, 0, 344, 344});
    label.setAppearance(0);
  }
};

std::shared_ptr<ZeQuelo> ZeQuelo::create(std::shared_ptr<Component> component, Platform platform, ControlSite& site,
                                         ControlWindow& window) {
  std::shared_ptr<ZeQuelo> control(new ZeQuelo(std::move(component), platform, site, window));
  control->bindMembers();
  // The members bound and those the type library declares are one list: a difference is a fault
  // of this library, found by the first control made.
  if (const auto wrong = control->disagreements(); !wrong.empty()) {
    for (const std::string& w : wrong) std::fprintf(stderr, "ZeQuelo's members and type library differ: %s\n", w.c_str());
    std::abort();
  }
  return control;
}

ZeQuelo::ZeQuelo(std::shared_ptr<Component> component, Platform platform, ControlSite& site, ControlWindow& window)
    : MemberDispatch(&zeQueloTypeLibrary()),
      component_(std::move(component)),
      platform_(platform),
      site_(site),
      window_(window),
      face_(std::make_unique<Face>(*platform.presenter)),
      timer_(*platform.loop, std::chrono::milliseconds(kTimerMilliseconds), [this] { tick(); }) {
  timer_.setEnabled(true);
}

ZeQuelo::~ZeQuelo() = default;

const forms::Label& ZeQuelo::label1() const { return face_->label1(); }

forms::Label& ZeQuelo::label1() { return face_->label1(); }

bool ZeQuelo::designMode() {
  auto userMode = site_.ambientUserMode();
  return userMode && !userMode.value();  // a host that cannot tell is running its program
}

void ZeQuelo::raiseEvent(std::string_view name, int32_t id, Args& args) { site_.fireEvent(name, id, args); }

// ---- Properties

void ZeQuelo::setTag(const std::string& value) {
  tag_ = value;
  announce("Tag");
}

void ZeQuelo::setDeveloperCompany(const std::string& value) {
  if (!designMode()) return;
  const std::string trimmed = trimSpaces(value);
  if (trimmed.empty()) return;
  developerCompany_ = toUpper(trimmed);
  announce("DeveloperCompany");
}

Result<uint32_t> ZeQuelo::backColor() { return window_.backColor(); }

Status ZeQuelo::setBackColor(uint32_t color) {
  Status s = window_.setBackColor(color);
  if (!s) return s;
  announce("BackColor");
  return Status::ok();
}

Result<bool> ZeQuelo::enabled() { return window_.enabled(); }

Status ZeQuelo::setEnabled(bool on) {
  tickCount_ = 0;
  Status s = window_.setEnabled(on);
  if (!s) return s;
  announce("Enabled");
  return Status::ok();
}

Result<std::string> ZeQuelo::applicationPath() {
  if (!designMode()) return makeError(err::kCantReadAtRunTime, "Property is not available at run time");
  return applicationPath_;
}

void ZeQuelo::setApplicationPath(std::string& path) {
  if (designMode()) {
    platform_.messageBox->show("Set as your app path\r\nwith code for run-time usage.", mb::kInformation, "");
    return;
  }
  path = trimSpaces(path);
  if (path.empty() || !isAnchoredPath(path)) return;
  path = withTrailingSeparator(path);
  applicationPath_ = path;
  component_->applicationPath = path;
  announce("ApplicationPath");
}

void ZeQuelo::setDoTimer(bool on) {
  doTimer_ = on;
  if (!site_.propertyChanged("DoTimer")) return;  // this write ends at its first failing step
  timer_.setEnabled(on);
}

void ZeQuelo::setInterval(int32_t ticks) {
  if (ticks < 0) return;
  interval_ = ticks;
  announce("Interval");
}

void ZeQuelo::setMaxRecsPerPage(int32_t records) {
  maxRecsPerPage_ = records;
  if (!site_.propertyChanged("MaxRecsPerPage")) maxRecsPerPage_ = kDefaultMaxRecsPerPage;
}

// ---- Lifecycle

void ZeQuelo::resized() {
  const SizeTwips fixed{kSizeTwips, kSizeTwips};
  if (window_.size() != fixed) (void)window_.setSize(fixed);
}

void ZeQuelo::gotFocus() {
  face_->label1().setAppearance(1);
  face_->label1().setCaption(" Ze");
}

void ZeQuelo::lostFocus() {
  face_->label1().setAppearance(0);
  face_->label1().setCaption("");
}

void ZeQuelo::labelClicked() {
  auto on = window_.enabled();
  if (on && !on.value()) return;  // a disabled control receives no mouse input
  Args none;
  raiseEvent("Click", dispid::kClick, none);
}

void ZeQuelo::terminate() { component_->releaseForms(); }

}  // namespace quelo
