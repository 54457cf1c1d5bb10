#include "qt/property_frame.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "qt/form_view.h"
#include "qt/qt_text.h"

namespace quelo::qt {

PropertyFrame::PropertyFrame(std::vector<std::shared_ptr<Dispatch>> controls, forms::FormPresenter& presenter,
                             QWidget* parent)
    : QDialog(parent), controls_(std::move(controls)), page_(presenter, *this) {
  setWindowTitle(QStringLiteral("Property Pages"));
  page_.initialize();
  view_ = new FormView(page_);
  auto* tabs = new QTabWidget;
  tabs->addTab(view_, qs(page_.caption()));
  tabs->addTab(buildColorPage(), QStringLiteral("Color"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
  apply_ = buttons->button(QDialogButtonBox::Apply);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (apply_->isEnabled()) applyPages();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, &PropertyFrame::applyPages);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  // The pages show the control as it is: nothing has changed yet.
  page_.selectionChanged();
  if (!controls_.empty() && controls_[0])
    if (auto c = controls_[0]->get("BackColor")) showColor(toQColor(static_cast<uint32_t>(toLong(c.value()).valueOr(0))));
  colorChanged_ = false;
  setChanged(false);
}

PropertyFrame::~PropertyFrame() {
  view_->detach();
  page_.unload();
}

QWidget* PropertyFrame::buildColorPage() {
  auto* page = new QWidget;
  colorButton_ = new QPushButton(QStringLiteral("BackColor..."), page);
  colorButton_->setObjectName(QStringLiteral("BackColor"));
  connect(colorButton_, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(color_, this, QStringLiteral("BackColor"));
    if (c.isValid()) chooseColor(c);
  });
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(colorButton_);
  layout->addStretch();
  return page;
}

void PropertyFrame::showColor(const QColor& color) {
  color_ = color;
  QPixmap swatch(24, 16);
  swatch.fill(color);
  colorButton_->setIcon(QIcon(swatch));
}

void PropertyFrame::chooseColor(const QColor& color) {
  showColor(color);
  colorChanged_ = true;
  setChanged(true);
}

void PropertyFrame::setChanged(bool changed) {
  if (apply_) apply_->setEnabled(changed);
}

void PropertyFrame::applyPages() {
  page_.applyChanges();
  if (colorChanged_ && !controls_.empty() && controls_[0])
    (void)controls_[0]->put("BackColor", Variant(static_cast<int32_t>(fromQColor(color_))));
  colorChanged_ = false;
  setChanged(false);
}

}  // namespace quelo::qt
