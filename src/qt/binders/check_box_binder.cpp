// CheckBox: a QCheckBox whose three states are the model's values 0, 1 and 2 (greyed).
#include <QCheckBox>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class CheckBoxBinder : public ControlBinder {
 public:
  CheckBoxBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new QCheckBox(parent)) {
    auto* box = widgetAs<QCheckBox>();
    // A click by the user ticks or clears; the greyed state is only ever set by code.
    connect(box, &QCheckBox::clicked, this, [this](bool checked) {
      if (writing() || !model()) return;
      modelAs<forms::CheckBox>()->setValue(checked ? 1 : 0);
      if (model()) update(P::Value);
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::CheckBox>();
    auto* box = widgetAs<QCheckBox>();
    Writing guard(*this);
    if (is(p, P::Caption)) box->setText(qs(m->caption()));
    if (is(p, P::Value)) {
      box->setTristate(m->value() == 2);
      box->setCheckState(m->value() == 1   ? Qt::Checked
                         : m->value() == 2 ? Qt::PartiallyChecked
                                           : Qt::Unchecked);
    }
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindCheckBox(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<CheckBoxBinder>(model, parent);
}

}  // namespace quelo::qt
