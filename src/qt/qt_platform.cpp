#include "qt/qt_platform.h"

#include "qt/about_view.h"
#include "qt/file_dialog_view.h"
#include "qt/report_view.h"
#include "qt/settings_view.h"

#include <QCoreApplication>
#include <memory>

namespace quelo::qt {
namespace {

std::unique_ptr<QtPlatform>& theInstance() {
  static std::unique_ptr<QtPlatform> instance;
  return instance;
}

// Its dialogs and timers are Qt objects: they must go before the application object does.
void release() { theInstance().reset(); }

}  // namespace

QtPlatform::QtPlatform() {
  presenter.setDecorator("QueloAbout", decorateAboutBox);
  presenter.setDecorator("QueloAdvancedSet", decorateSettingsForm);
  presenter.setDecorator("QueloPhotoTabStrip", decorateFileDialog);
  presenter.setDecorator("QueloReportForm", [this](FormDialog& dialog) { decorateReportForm(dialog, shell); });
}

QtPlatform& QtPlatform::instance() {
  auto& p = theInstance();
  if (!p) {
    p = std::make_unique<QtPlatform>();
    qAddPostRoutine(release);
  }
  return *p;
}

}  // namespace quelo::qt
