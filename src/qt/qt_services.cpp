#include "qt/qt_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QMessageBox>

#include "qt/dialog_owner.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

QMessageBox::Icon iconOf(int style) {
  switch (style & 0x70) {
    case mb::kCritical: return QMessageBox::Critical;
    case mb::kQuestion: return QMessageBox::Question;
    case mb::kExclamation: return QMessageBox::Warning;
    case mb::kInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// The buttons of a style (its low bits) with the answer each gives, in order.
std::vector<std::pair<QMessageBox::StandardButton, int>> buttonsOf(int style) {
  switch (style & 0x0F) {
    case mb::kOkCancel: return {{QMessageBox::Ok, mb::kOk}, {QMessageBox::Cancel, mb::kCancel}};
    case 2: return {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
    case 3: return {{QMessageBox::Yes, mb::kYes}, {QMessageBox::No, mb::kNo}, {QMessageBox::Cancel, mb::kCancel}};
    case mb::kYesNo: return {{QMessageBox::Yes, mb::kYes}, {QMessageBox::No, mb::kNo}};
    case 5: return {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, mb::kCancel}};
    default: return {{QMessageBox::Ok, mb::kOk}};
  }
}

}  // namespace

int QtMessageBox::show(std::string_view prompt, int style, std::string_view title) {
  const QString caption = title.empty() ? QApplication::applicationName() : qs(title);
  QMessageBox box(iconOf(style), caption, qs(prompt), QMessageBox::NoButton, dialogOwner(parent_));
  const auto buttons = buttonsOf(style);
  for (const auto& b : buttons) box.addButton(b.first);
  const int defaultButton = (style >> 8) & 0x3;  // 0, 256, 512: first, second, third
  if (defaultButton < static_cast<int>(buttons.size())) box.setDefaultButton(buttons[defaultButton].first);
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const auto& b : buttons)
    if (b.first == clicked) return b.second;
  // Closed without a button: the Cancel answer where there is one, else the only button's.
  return buttons.size() == 1 ? buttons[0].second : mb::kCancel;
}

QtCursor::~QtCursor() { setBusy(false); }

void QtCursor::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

// Only a regular file is a picture. It is opened without blocking and checked on the descriptor,
// so that a FIFO cannot hold the preview up and a device is never read.
bool QtPictureLoader::isPicture(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  QFile file;
  const bool picture = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                       file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) && QImageReader(&file).canRead();
  file.close();
  ::close(fd);
  return picture;
}

}  // namespace quelo::qt
