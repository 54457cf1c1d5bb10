// FormView: the widgets of one form model, one binder each, placed by the controls' bounds
// (twips at the screen's resolution; a frame's controls inside the frame), fitted to the font
// they are shown in. Tab visits them in reading order. A form with a list, grid or text area
// can be made larger: the largest of them takes the room; it is also the first to give way, in
// height, when the form is short of room; across, its lists, grids and boxes narrow. Keys go to the
// form first when its key preview is on, then to the control, and either may swallow them; the
// focus of the widgets and the model's active control follow each other.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "qt/binders/control_binder.h"
#include "qt/form_squeeze.h"

class QKeyEvent;

namespace quelo::qt {

class FormView : public QWidget {
  Q_OBJECT

 public:
  explicit FormView(forms::Form& form, QWidget* parent = nullptr);
  ~FormView() override;

  // Null once the form has dropped its controls.
  forms::Form* form() const { return form_; }
  // The form is unloading: nothing touches its controls again.
  void detach();
  // What the form announced, passed on by the view's owner.
  void formEvent(forms::FormEvent event);
  // The widget that shows a control ("Name", or "Name(i)" for an element of a control array).
  QWidget* widgetOf(std::string_view name, int index = -1) const;
  QSize sizeHint() const override { return extent_; }
  // Whether the form has a control that can use more room than its design gives it.
  bool resizable() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build();
  int give() const;
  forms::FormControl* controlOf(QObject* object) const;
  ControlBinder* binderOf(const forms::FormControl* control) const;
  void onFocusChanged(QWidget* now);
  void focusFromModel();
  bool keyDown(forms::FormControl& control, QKeyEvent* event);
  bool keyPress(forms::FormControl& control, QKeyEvent* event, QObject* target);

  forms::Form* form_;
  std::vector<std::unique_ptr<ControlBinder>> binders_;
  QSize extent_;
  std::vector<std::pair<QPointer<QWidget>, QRect>> placed_;  // the form's own controls, as fitted
  QWidget* elastic_ = nullptr;
  AcrossSqueeze squeeze_;  // how the form gives way across
  QMetaObject::Connection focusWatch_;
  bool replaying_ = false;  // a key re-sent with the character a KeyPress handler chose
};

}  // namespace quelo::qt
