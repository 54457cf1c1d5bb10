// Form: a window of the system as a model. Its controls are built afresh on every load, with
// their design-time values; touching a control of an unloaded form loads the form first, as the
// forms engine the system was designed on does. Showing goes through a FormPresenter, which is
// headless in the library and a real dialog in the Qt layer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "forms/control.h"
#include "forms/standard_controls.h"

namespace quelo::forms {

class FormPresenter;

// What a form announces to its listeners (the views that show it).
enum class FormEvent { Load, Show, Hide, Unload, Caption, Focus };

// Who unloads a form, as its QueryUnload is told, with the classic values.
enum class UnloadMode { UserClosed = 0, Code = 1 };

class Form {
 public:
  Form(std::string name, FormPresenter& presenter);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }
  bool modal() const { return modal_; }

  // Builds the controls and runs the form's Load; does nothing when already loaded.
  void load();
  // Loads when needed and shows; a modal show returns when the form is hidden or unloaded.
  void show(bool modal = false);
  void hide();
  // Runs QueryUnload and Unload (either may cancel), hides and drops the controls. Returns false
  // when cancelled.
  bool unload();
  // The user closes the window (its close box): as unload, with QueryUnload told so.
  bool closeByUser();
  // Called by the presenter when the form becomes the active window.
  void activate();

  const std::string& caption() const { return caption_; }
  void setCaption(std::string c);
  bool keyPreview() const { return keyPreview_; }
  void setKeyPreview(bool on) { keyPreview_ = on; }

  // Controls, loading the form first. Null when there is no such control.
  FormControl* find(std::string_view name, int index = -1);
  // The control of that name and type, loading the form first. A name the form does not have, or
  // a control of another type, is a fault in the caller's code: it stops the program with the
  // form's name, the control's name and both types.
  template <class T>
  T& get(std::string_view name, int index = -1) {
    FormControl* c = find(name, index);
    if (auto* typed = dynamic_cast<T*>(c)) return *typed;
    wrongControl(name, index, c, typeid(T));
  }
  // The controls in creation order, without loading.
  std::vector<FormControl*> controls() const;

  // Focus, set by FormControl::setFocus. The control that has it is validated first, may keep it.
  FormControl* activeControl() const { return active_; }
  void focus(FormControl* c);

  // Key preview: the form's KeyDown and KeyPress see keys before the control.
  virtual void formKeyDown(int& /*keyCode*/, int /*shift*/) {}
  virtual void formKeyPress(int& /*keyAscii*/) {}

  using Listener = std::function<void(Form&, FormEvent)>;
  void addListener(Listener l) { listeners_.push_back(std::move(l)); }

 protected:
  // Creates the design-time controls; called on every load.
  virtual void build() = 0;
  template <class T>
  T& add(std::string name, int index = -1) {
    auto c = std::make_unique<T>(*this, std::move(name), index);
    T& ref = *c;
    controls_.push_back(std::move(c));
    return ref;
  }
  virtual void formLoad() {}
  virtual void formActivate() {}
  virtual void formQueryUnload(int& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void formUnload(int& /*cancel*/) {}

 private:
  template <class T>
  friend class Held;
  void notify(FormEvent event);
  [[noreturn]] void wrongControl(std::string_view name, int index, const FormControl* found,
                                 const std::type_info& wanted) const;
  [[noreturn]] void heldTooEarly(const std::type_info& wanted) const;
  bool unloadWith(UnloadMode mode);

  std::string name_;
  FormPresenter& presenter_;
  std::vector<std::unique_ptr<FormControl>> controls_;
  std::vector<Listener> listeners_;
  std::string caption_;
  FormControl* active_ = nullptr;
  uint64_t builds_ = 0;
  bool loaded_ = false, loading_ = false, visible_ = false, modal_ = false, keyPreview_ = false;
};

// A control that a form's code uses often, held by type: build() sets it from add(), and reading
// it loads the form first, as a lookup by name does. Reading it before this load's build() set it
// is a fault in the form's code and stops the program.
template <class T>
class Held {
 public:
  explicit Held(Form& form) : form_(form) {}
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  Held& operator=(T& control) {
    control_ = &control;
    build_ = form_.builds_;
    return *this;
  }
  T& operator*() const {
    form_.load();
    if (!control_ || build_ != form_.builds_) form_.heldTooEarly(typeid(T));
    return *control_;
  }
  T* operator->() const { return &**this; }

 private:
  Form& form_;
  T* control_ = nullptr;
  uint64_t build_ = 0;
};

}  // namespace quelo::forms
