// PropertyPage: the control's own design-time page, QueloProps. It reads six properties of the
// first selected control when the selection changes and writes them back when the frame
// applies the page; any edit sets the frame's changed flag (which enables its Apply).
#pragma once

#include <memory>
#include <vector>

#include "automation/dispatch.h"
#include "forms/form.h"

namespace quelo {

// The frame that hosts a property page (the designer's property dialog).
class PropertyPageSite {
 public:
  virtual ~PropertyPageSite() = default;
  virtual std::vector<std::shared_ptr<Dispatch>> selectedControls() = 0;
  virtual void setChanged(bool changed) = 0;
};

class PropertyPage : public forms::Form {
 public:
  PropertyPage(forms::FormPresenter& presenter, PropertyPageSite& site);

  // The frame's three events.
  void initialize();
  void selectionChanged();
  void applyChanges();

 protected:
  void build() override;

 private:
  void markChanged() { site_.setChanged(true); }
  void wireEvents();

  PropertyPageSite& site_;
  int16_t indexOnFocus_ = -1;
  forms::Held<forms::ComboBox> maxRecs_{*this};
  forms::Held<forms::TextBox> interval_{*this}, tag_{*this}, company_{*this};
  forms::Held<forms::CheckBox> doTimer_{*this}, enabled_{*this};
};

}  // namespace quelo
