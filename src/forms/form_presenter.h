// FormPresenter: what showing a form means. The headless one returns from a modal show at once,
// after running the script a test or a command registered for that form (acting as the end user);
// the Qt layer shows a real dialog.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quelo::forms {

class Form;

class FormPresenter {
 public:
  virtual ~FormPresenter() = default;
  // REQUIRES: the form is loaded. Returns, for a modal show, when the form is hidden or unloaded.
  virtual void show(Form& form, bool modal) = 0;
  virtual void hide(Form& form) = 0;
  // The form dropped its controls: views of it must go.
  virtual void unloaded(Form& form) = 0;
};

class HeadlessPresenter : public FormPresenter {
 public:
  using Script = std::function<void(Form&)>;

  // Runs whenever the named form is shown modally, inside the show.
  void onModal(std::string formName, Script script) { scripts_[std::move(formName)] = std::move(script); }

  void show(Form& form, bool modal) override;
  void hide(Form& form) override;
  void unloaded(Form& form) override;

  // What happened, in order: "show Name", "modal Name", "hide Name", "unload Name".
  std::vector<std::string> log;

 private:
  std::map<std::string, Script> scripts_;
};

}  // namespace quelo::forms
