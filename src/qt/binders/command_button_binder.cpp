// CommandButton: a QPushButton ("&" marks the access key in both worlds). Buttons never become
// default by focus: only the model's Default button answers Enter.
#include <QPushButton>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class CommandButtonBinder : public ControlBinder {
 public:
  CommandButtonBinder(forms::FormControl& m, QWidget* parent)
      : ControlBinder(m, new QPushButton(parent)) {
    auto* button = widgetAs<QPushButton>();
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] {
      if (!writing() && model()) modelAs<forms::CommandButton>()->press();
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::CommandButton>();
    auto* button = widgetAs<QPushButton>();
    Writing guard(*this);
    if (is(p, P::Caption)) button->setText(qs(m->caption()));
    if (!p) button->setDefault(m->isDefault());
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindCommandButton(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<CommandButtonBinder>(model, parent);
}

}  // namespace quelo::qt
