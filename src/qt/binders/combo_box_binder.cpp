// ComboBox: a QComboBox, editable unless the model is a drop-down list (style 2). Choosing an
// entry sets the model's ListIndex; typing sets its Text. A drive list is a drop-down list
// whose choice selects the drive.
#include <QComboBox>

#include "forms/file_lists.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class ComboBoxBinder : public ControlBinder {
 public:
  ComboBoxBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new QComboBox(parent)) {
    auto* combo = widgetAs<QComboBox>();
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(16);
    connect(combo, &QComboBox::activated, this, [this](int index) {
      if (writing() || !model()) return;
      {
        Writing guard(*this);
        chosen(index);
      }
      if (model()) update(P::ListIndex);
    });
    connect(combo, &QComboBox::editTextChanged, this, [this](const QString& text) {
      auto* c = dynamic_cast<forms::ComboBox*>(model());
      if (writing() || !c) return;
      Writing guard(*this);
      c->setText(utf8(text));
    });
  }

 protected:
  virtual void chosen(int index) { static_cast<forms::ComboBox*>(model())->setListIndex(index); }

  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::ListControl>();
    auto* combo = widgetAs<QComboBox>();
    auto* editable = dynamic_cast<forms::ComboBox*>(m);
    Writing guard(*this);
    if (!p) combo->setEditable(editable && editable->style() != 2);
    if (is(p, P::List)) {
      combo->clear();
      for (int32_t i = 0; i < m->listCount(); ++i) combo->addItem(qs(m->list(i)));
    }
    if (is(p, P::List) || is(p, P::ListIndex)) combo->setCurrentIndex(m->listIndex());
    if (editable && combo->isEditable() && (is(p, P::Text) || is(p, P::List)) &&
        combo->currentText() != qs(editable->text()))
      combo->setEditText(qs(editable->text()));
  }
};

class DriveListBinder : public ComboBoxBinder {
 public:
  using ComboBoxBinder::ComboBoxBinder;

 protected:
  void chosen(int index) override {
    auto* drives = static_cast<forms::DriveListBox*>(model());
    (void)drives->setDrive(drives->list(index));
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindComboBox(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<ComboBoxBinder>(model, parent);
}

std::unique_ptr<ControlBinder> bindDriveList(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<DriveListBinder>(model, parent);
}

}  // namespace quelo::qt
