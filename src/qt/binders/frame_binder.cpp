// Frame: a QGroupBox; the controls it contains are placed inside it by the form view.
#include <QGroupBox>

#include "platform/forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class FrameBinder : public ControlBinder {
 public:
  FrameBinder(forms::Control& m, QWidget* parent) : ControlBinder(m, new QGroupBox(parent)) { forwardMouseClicks(); }

 protected:
  void update(std::string_view p) override {
    ControlBinder::update(p);
    Writing guard(*this);
    if (is(p, "Caption")) widgetAs<QGroupBox>()->setTitle(qs(modelAs<forms::Frame>()->caption()));
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindFrame(forms::Control& model, QWidget* parent) {
  return std::make_unique<FrameBinder>(model, parent);
}

}  // namespace quelo::qt
