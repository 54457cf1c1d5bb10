#include "forms/form.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>

#include "automation/text.h"
#include "forms/form_presenter.h"

namespace quelo::forms {
namespace {

// The class name a reader knows ("TextBox"), without its namespaces.
std::string readableTypeName(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : type.name();
  std::free(demangled);
  const size_t last = name.rfind("::");
  return last == std::string::npos ? name : name.substr(last + 2);
}

}  // namespace

Form::Form(std::string name, FormPresenter& presenter)
    : name_(std::move(name)), presenter_(presenter) {}

Form::~Form() = default;

void Form::load() {
  if (loaded_ || loading_) return;
  loading_ = true;  // controls touched while building or loading must not load again
  controls_.clear();
  active_ = nullptr;
  ++builds_;
  build();
  loaded_ = true;
  formLoad();
  loading_ = false;
  notify(FormEvent::Load);
}

void Form::show(bool modal) {
  load();
  if (!loaded_) return;
  visible_ = true;
  modal_ = modal;
  notify(FormEvent::Show);
  presenter_.show(*this, modal);
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  modal_ = false;
  presenter_.hide(*this);
  notify(FormEvent::Hide);
}

bool Form::unload() {
  return unloadWith(UnloadMode::Code);
}

bool Form::closeByUser() {
  return unloadWith(UnloadMode::UserClosed);
}

bool Form::unloadWith(UnloadMode mode) {
  if (!loaded_) return true;
  int cancel = 0;
  formQueryUnload(cancel, mode);
  if (cancel) return false;
  formUnload(cancel);
  if (cancel) return false;
  hide();
  loaded_ = false;
  presenter_.unloaded(*this);
  notify(FormEvent::Unload);
  active_ = nullptr;
  controls_.clear();
  return true;
}

void Form::activate() {
  formActivate();
}

void Form::setCaption(std::string c) {
  if (c == caption_) return;
  caption_ = std::move(c);
  notify(FormEvent::Caption);
}

FormControl* Form::find(std::string_view name, int index) {
  load();
  for (const auto& c : controls_)
    if (c->index() == index && equalsIgnoreCase(c->name(), name)) return c.get();
  return nullptr;
}

std::vector<FormControl*> Form::controls() const {
  std::vector<FormControl*> out;
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

void Form::focus(FormControl* c) {
  if (c == active_) return;
  FormControl* previous = active_;
  if (previous && previous->onValidate) {
    bool cancel = false;
    previous->onValidate(cancel);
    if (cancel) {
      notify(FormEvent::Focus);  // views put the focus back where the model keeps it
      return;
    }
  }
  active_ = c;
  if (previous && previous->onLostFocus) previous->onLostFocus();
  if (c && c->onGotFocus) c->onGotFocus();
  notify(FormEvent::Focus);
}

void Form::notify(FormEvent event) {
  for (const Listener& l : listeners_) l(*this, event);
}

void Form::wrongControl(std::string_view name, int index, const FormControl* found,
                        const std::type_info& wanted) const {
  std::string control(name);
  if (index >= 0) control += "(" + std::to_string(index) + ")";
  std::string message = "Form '" + name_ + "': ";
  if (found)
    message += "control '" + control + "' is " + readableTypeName(typeid(*found)) + ", wanted " +
               readableTypeName(wanted);
  else
    message += "no control '" + control + "' (wanted " + readableTypeName(wanted) + ")";
  std::fprintf(stderr, "%s\n", message.c_str());
  std::abort();
}

void Form::heldTooEarly(const std::type_info& wanted) const {
  std::fprintf(stderr, "Form '%s': held %s read before build() set it\n", name_.c_str(),
               readableTypeName(wanted).c_str());
  std::abort();
}

}  // namespace quelo::forms
