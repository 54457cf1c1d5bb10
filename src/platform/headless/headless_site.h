// A control site and window without a screen: the command line's host and the tests'. They keep
// what a real host would show or store, and can be told to fail so that failure paths are tested.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/control_site.h"
#include "platform/control_window.h"

namespace quelo {

class HeadlessSite : public ControlSite {
 public:
  using EventHandler = std::function<void(std::string_view name, Args& args)>;

  Result<bool> ambientUserMode() override;
  Result<std::string> ambientDisplayName() override { return displayName; }
  Status propertyChanged(std::string_view key) override;
  std::shared_ptr<Dispatch> findControl(std::string_view name) override;
  void fireEvent(std::string_view name, int32_t dispid, Args& args) override;

  bool userMode = true;
  bool failUserMode = false;
  bool failAnnouncements = false;
  std::string displayName = "ZeQuelo1";
  std::vector<std::string> announced;
  std::map<std::string, std::shared_ptr<Dispatch>> controls;
  EventHandler onEvent;
  std::vector<std::string> events;  // names, in order
};

class HeadlessWindow : public ControlWindow {
 public:
  Result<uint32_t> backColor() override;
  Status setBackColor(uint32_t color) override;
  Result<bool> enabled() override;
  Status setEnabled(bool on) override;
  SizeTwips size() override { return size_; }
  Status setSize(SizeTwips s) override;
  int32_t handle() override { return handle_; }

  bool fail = false;  // every colour and enabled-state call fails
  int resizes = 0;

 private:
  uint32_t backColor_ = 0x00FFFF80;
  bool enabled_ = true;
  SizeTwips size_{345, 345};
  int32_t handle_ = 0x10001;
};

}  // namespace quelo
