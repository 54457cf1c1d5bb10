#include "qt/design_time.h"

#include "qt/property_frame.h"
#include "qt/qt_platform.h"
#include "qt/ze_quelo_widget.h"

namespace varnikquelo::design {
namespace {

// The control the public widget wraps: its one direct ZeQueloWidget child.
quelo::qt::ZeQueloWidget& inner(QueloWidget& widget) {
  return *widget.findChild<quelo::qt::ZeQueloWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

QueloWidget* createWidget(QWidget* parent) {
  auto* widget = new QueloWidget(parent);
  inner(*widget).setUserMode(false);
  return widget;
}

QDialog* propertyPages(QueloWidget& widget, QWidget* parent) {
  return new quelo::qt::PropertyFrame({inner(widget).dispatch()}, quelo::qt::QtPlatform::instance().presenter, parent);
}

}  // namespace varnikquelo::design
