#include "forms/form.h"

#include "forms/form_presenter.h"
#include "automation/type_info.h"

namespace quelo::forms {

Form::Form(std::string name, FormPresenter& presenter) : name_(std::move(name)), presenter_(presenter) {}

Form::~Form() = default;

void Form::load() {
  if (loaded_ || loading_) return;
  loading_ = true;  // controls touched while building or loading must not load again
  controls_.clear();
  active_ = nullptr;
  build();
  loaded_ = true;
  formLoad();
  loading_ = false;
  notify("load");
}

void Form::show(bool modal) {
  load();
  if (!loaded_) return;
  visible_ = true;
  modal_ = modal;
  notify("show");
  presenter_.show(*this, modal);
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  modal_ = false;
  presenter_.hide(*this);
  notify("hide");
}

bool Form::unload() { return unloadWith(1); }

bool Form::closeByUser() { return unloadWith(0); }

bool Form::unloadWith(int mode) {
  if (!loaded_) return true;
  int cancel = 0;
  formQueryUnload(cancel, mode);
  if (cancel) return false;
  formUnload(cancel);
  if (cancel) return false;
  hide();
  loaded_ = false;
  presenter_.unloaded(*this);
  notify("unload");
  active_ = nullptr;
  controls_.clear();
  return true;
}

void Form::activate() { formActivate(); }

void Form::setCaption(std::string c) {
  if (c == caption_) return;
  caption_ = std::move(c);
  notify("caption");
}

Control* Form::find(std::string_view name, int index) {
  load();
  for (const auto& c : controls_)
    if (c->index() == index && equalsIgnoreCase(c->name(), name)) return c.get();
  return nullptr;
}

std::vector<Control*> Form::controls() const {
  std::vector<Control*> out;
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

void Form::focus(Control* c) {
  if (c == active_) return;
  Control* previous = active_;
  if (previous && previous->onValidate) {
    bool cancel = false;
    previous->onValidate(cancel);
    if (cancel) {
      notify("focus");  // views put the focus back where the model keeps it
      return;
    }
  }
  active_ = c;
  if (previous && previous->onLostFocus) previous->onLostFocus();
  if (c && c->onGotFocus) c->onGotFocus();
  notify("focus");
}

void Form::notify(std::string_view what) {
  for (const Listener& l : listeners_) l(*this, what);
}

}  // namespace quelo::forms
