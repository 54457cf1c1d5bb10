// PropertyFrame: the designer's property dialog for the control: the control's own page
// (QueloProps) and the standard colour page (BackColor), with OK, Cancel and Apply. Apply is
// enabled once a page has changed something; it writes the pages to the first selected control.
#pragma once

#include <QColor>
#include <QDialog>
#include <memory>
#include <vector>

#include "ui/property_page.h"

class QPushButton;

namespace quelo::qt {

class FormView;

class PropertyFrame : public QDialog, private PropertyPageSite {
  Q_OBJECT

 public:
  // REQUIRES: at least one control; the page reads and writes the first.
  PropertyFrame(std::vector<std::shared_ptr<Dispatch>> controls, forms::FormPresenter& presenter,
                QWidget* parent = nullptr);
  ~PropertyFrame() override;

  PropertyPage& page() { return page_; }
  // The colour page's choice, shown on its button until applied.
  void chooseColor(const QColor& color);
  void applyPages();

 private:
  std::vector<std::shared_ptr<Dispatch>> selectedControls() override { return controls_; }
  void setChanged(bool changed) override;
  QWidget* buildColorPage();
  void showColor(const QColor& color);

  std::vector<std::shared_ptr<Dispatch>> controls_;
  PropertyPage page_;
  FormView* view_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  QColor color_;
  bool colorChanged_ = false;
};

}  // namespace quelo::qt
