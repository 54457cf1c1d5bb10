// ZeQuelo: the control. A host creates it on a site and a window, sets up its properties from
// InitProperties (a new control) or ReadProperties (a saved one), then reaches every service by
// name through Dispatch or by the typed members below. Errors stay inside: a failing step is
// skipped, and only the reads and writes that the interface says fail return an Error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/member_dispatch.h"
#include "automation/property_bag.h"
#include "component/platform.h"
#include "forms/form.h"
#include "platform/control_site.h"
#include "platform/control_window.h"
#include "platform/window_timer.h"

namespace quelo {

class Component;
class Recordset;

class ZeQuelo : public MemberDispatch, public std::enable_shared_from_this<ZeQuelo> {
 public:
  static constexpr int32_t kSizeTwips = 345;
  static constexpr uint32_t kDefaultBackColor = 0x00FFFF80;
  static constexpr int kTimerMilliseconds = 999;
  static constexpr int32_t kDefaultMaxRecsPerPage = 10;

  // `component` is what the controls of this thread share: the host makes one per thread and
  // passes it to each control it creates there. REQUIRES: platform, site and window outlive the
  // control.
  static std::shared_ptr<ZeQuelo> create(std::shared_ptr<Component> component, Platform platform,
                                         ControlSite& site, ControlWindow& window);
  ~ZeQuelo() override;

  // Lifecycle, called by the host.
  void initProperties();
  void readProperties(PropertyBag& bag);
  void writeProperties(PropertyBag& bag);
  void resized();
  void gotFocus();
  void lostFocus();
  void labelClicked();
  void terminate();

  // Properties.
  const std::string& tag() const { return tag_; }
  void setTag(const std::string& value);
  const std::string& developerCompany() const { return developerCompany_; }
  void setDeveloperCompany(const std::string& value);
  Result<uint32_t> backColor();
  Status setBackColor(uint32_t color);
  Result<bool> enabled();
  Status setEnabled(bool on);
  Result<std::string> applicationPath();
  // The caller's text may come back trimmed and with a separator appended.
  void setApplicationPath(std::string& path);
  bool doTimer() const { return doTimer_; }
  void setDoTimer(bool on);
  int32_t interval() const { return interval_; }
  void setInterval(int32_t ticks);
  int32_t maxRecsPerPage() const { return maxRecsPerPage_; }
  // When the site refuses the change, the page size falls back to 10.
  void setMaxRecsPerPage(int32_t records);
  int32_t hWnd() { return window_.handle(); }

  // Timer and delay.
  // Blocks for n seconds (1 to 86399; other values are corrected and written back).
  void programDelayNSec(int32_t& n);

  bool reportBusy() const { return reportBusy_; }
  void setReportBusy(bool busy) { reportBusy_ = busy; }
  const std::shared_ptr<Recordset>& currentRecordset() const { return currentRecordset_; }
  void setCurrentRecordset(std::shared_ptr<Recordset> r) { currentRecordset_ = std::move(r); }

  // The face: Label1 covers it.
  const forms::Label& label1() const;
  forms::Label& label1();  // a real host shows it and reports its clicks
  Platform& platform() { return platform_; }
  Component& component() { return *component_; }
  ControlSite& site() { return site_; }

  // Raises an event to the host through the site.
  void raiseEvent(std::string_view name, int32_t dispid, Args& args);

 private:
  class Face;
  ZeQuelo(std::shared_ptr<Component> component, Platform platform, ControlSite& site,
          ControlWindow& window);
  void bindMembers();
  void tick();
  bool designMode();
  void announce(std::string_view key) { (void)site_.propertyChanged(key); }

  std::shared_ptr<Component> component_;
  Platform platform_;
  ControlSite& site_;
  ControlWindow& window_;
  std::unique_ptr<Face> face_;
  WindowTimer timer_;

  int32_t tickCount_ = 0;
  std::shared_ptr<Recordset> currentRecordset_;
  int32_t maxRecsPerPage_ = kDefaultMaxRecsPerPage;
  // This control's own path (its message log's folder) and company; they start as the
  // component's shared ones and part from them as the control's properties are set or loaded.
  std::string applicationPath_;
  bool doTimer_ = false;
  int32_t interval_ = 0;
  std::string tag_;
  std::string developerCompany_;
  bool reportBusy_ = false;
};

}  // namespace quelo
