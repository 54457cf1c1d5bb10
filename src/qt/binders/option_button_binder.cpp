// OptionButton: a QRadioButton. The model keeps the buttons of a container exclusive, so the
// widgets are not grouped by Qt; a click only ever selects.
#include <QRadioButton>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class OptionButtonBinder : public ControlBinder {
 public:
  OptionButtonBinder(forms::FormControl& m, QWidget* parent)
      : ControlBinder(m, new QRadioButton(parent)) {
    auto* button = widgetAs<QRadioButton>();
    button->setAutoExclusive(false);
    connect(button, &QRadioButton::clicked, this, [this] {
      if (writing() || !model()) return;
      modelAs<forms::OptionButton>()->setValue(true);
      if (model()) update(P::Value);  // a click on the selected button leaves it selected
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::OptionButton>();
    auto* button = widgetAs<QRadioButton>();
    Writing guard(*this);
    if (is(p, P::Caption)) button->setText(qs(m->caption()));
    if (is(p, P::Value)) button->setChecked(m->value());
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindOptionButton(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<OptionButtonBinder>(model, parent);
}

}  // namespace quelo::qt
