// QueloAdvancedSet: the form on which the end user edits the report customization preferences.
// Its load fills the font list and reads the stored settings into the working ones; Apply commits
// the controls to the working settings, Cancel only drops the in-force flag. Its buttons hide it;
// closing its window unloads it, so the next use reads the stored settings again.
#pragma once

#include <memory>

#include "component/platform.h"
#include "forms/form.h"
#include "report_forms/report_host.h"

namespace quelo {

class Component;

class QueloAdvancedSet : public forms::Form {
 public:
  QueloAdvancedSet(Component& component, Platform platform);

  Component& component() { return component_; }

  // The control that shows the forms: its file dialog, page size and status event.
  const std::shared_ptr<ReportHost>& myfControl() const { return myfControl_; }
  void setMyfControl(std::shared_ptr<ReportHost> control) { myfControl_ = std::move(control); }
  // Commits the controls to the working settings and sets the in-force flag; hides the form
  // unless an automatic report runs.
  void cmdApply_Click();
  // The in-force flag: True after Apply, False after Cancel and at creation.
  bool AdvSettings() const { return advSettings_; }
  // Stores the working settings when their saveSettings is 1.
  void SaveUserSettings();
  // Shows the working settings (false) or the settings backup (true) in the controls.
  void RevertToRealAdvSettings(bool fromDeveloperChanges = false);

  void cancelButtonClick();
  // Picks the logo (index 0) or signature (1) picture through the host control's file dialog.
  void cmdLogoClick(int index);

 protected:
  void build() override;
  void formLoad() override;

 private:
  void wireEvents();
  // Fills the font list and selects the font read at load; once per load.
  void listFonts();
  void showBackup();
  void linkKeyDown(int index, int keyCode);

  Component& component_;
  Platform platform_;
  std::shared_ptr<ReportHost> myfControl_;
  bool advSettings_ = false;
  bool fontsListed_ = false;
  std::string loadedFont_;  // the font name of the settings read at load
};

// The component's instance of the form, created with this platform on first use (not loaded by
// this call).
QueloAdvancedSet& advancedSettingsForm(Component& component, const Platform& platform);
// The control's AdvancedSettings: loads the form when needed and returns one working setting.
Variant AdvancedSettings(Component& component, const Platform& platform, int32_t setting);

}  // namespace quelo
