#include "forms/form_presenter.h"

#include "forms/form.h"

namespace quelo::forms {

void HeadlessPresenter::show(Form& form, bool modal) {
  log.push_back((modal ? "modal " : "show ") + form.name());
  form.activate();
  if (!modal) return;
  if (auto it = scripts_.find(form.name()); it != scripts_.end()) {
    Script script = it->second;  // the script may register another
    script(form);
  }
  // A modal show ends only when the form is gone from the screen.
  if (form.visible()) form.hide();
}

void HeadlessPresenter::hide(Form& form) { log.push_back("hide " + form.name()); }

void HeadlessPresenter::unloaded(Form& form) { log.push_back("unload " + form.name()); }

}  // namespace quelo::forms
