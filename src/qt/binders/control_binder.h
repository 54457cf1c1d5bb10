// ControlBinder: keeps one widget in step with one control model. The model owns every value:
// its changes reach the widget through its change listener, and what the user does goes to the
// model (which fires the form's events). The widget keeps nothing of its own.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "forms/control.h"

namespace quelo::qt {

class ControlBinder : public QObject {
  Q_OBJECT

 public:
  ControlBinder(forms::FormControl& model, QWidget* widget);
  ~ControlBinder() override;

  QWidget* widget() const { return widget_; }
  // Null once the form has dropped its controls: nothing may touch the model after that.
  forms::FormControl* model() const { return model_; }
  void detach() { model_ = nullptr; }
  // Brings the whole widget up to date.
  void sync() { update(std::nullopt); }
  // The model's bounds (twips at the screen's resolution) are drawn this much larger, as the
  // form's font is larger than the one they were designed for.
  void setScale(QPointF scale) {
    scale_ = scale;
    if (model_ && widget_) update(P::Bounds);
  }

 protected:
  using P = forms::Property;
  // A property of the model changed (none: all of them). The base handles what every control
  // has: Enabled, Visible, ToolTipText, FontName, Bounds.
  virtual void update(std::optional<P> property);
  // True for every property when the whole widget is brought up to date.
  static bool is(std::optional<P> changed, P property) { return !changed || *changed == property; }
  template <class T>
  T* modelAs() const {
    return static_cast<T*>(model_);
  }
  template <class T>
  T* widgetAs() const {
    return static_cast<T*>(widget_.data());
  }
  // While the binder writes the widget, the widget's signals are not the user's doing.
  bool writing() const { return writing_; }
  struct Writing {
    explicit Writing(ControlBinder& b) : b_(b), was_(b.writing_) { b.writing_ = true; }
    ~Writing() { b_.writing_ = was_; }
    ControlBinder& b_;
    bool was_;
  };
  // Forwards the widget's mouse clicks and double clicks to the model as Click and DblClick.
  void forwardMouseClicks();
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  forms::FormControl* model_;
  QPointer<QWidget> widget_;
  bool writing_ = false;
  bool forwardClicks_ = false;
  QPointF scale_{1, 1};
};

// A widget for the model under `parent`, with its binder (owned by the caller), up to date.
std::unique_ptr<ControlBinder> bindControl(forms::FormControl& model, QWidget* parent);

}  // namespace quelo::qt
