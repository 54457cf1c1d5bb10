// DatePicker: a QDateEdit with a calendar; the model's date keeps its time of day. Tab leaves the
// box for the next control (the arrow keys move between day, month and year).
#include <QDateEdit>
#include <cmath>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/variant_qt.h"

namespace quelo::qt {
namespace {

class DateBox : public QDateEdit {
 public:
  using QDateEdit::QDateEdit;

 protected:
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

class DatePickerBinder : public ControlBinder {
 public:
  DatePickerBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new DateBox(parent)) {
    auto* edit = widgetAs<QDateEdit>();
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(100, 1, 1));
    connect(edit, &QDateEdit::dateChanged, this, [this](const QDate& d) {
      if (writing() || !model()) return;
      auto* picker = modelAs<forms::DatePicker>();
      const double time = picker->value().serial - std::floor(picker->value().serial);
      Writing guard(*this);
      picker->setValue(Date{dateOf(QDateTime(d, QTime(0, 0))).serial + time});
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    Writing guard(*this);
    if (is(p, P::Value))
      widgetAs<QDateEdit>()->setDate(dateTimeOf(modelAs<forms::DatePicker>()->value()).date());
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindDatePicker(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<DatePickerBinder>(model, parent);
}

}  // namespace quelo::qt
