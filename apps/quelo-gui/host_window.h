// The host's form: the control on it, and one button per service of the control, each calling
// the control by name as any host program would. The control's properties live in a property
// record beside the user's settings, read at start and written at close.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "qt/ze_quelo_widget.h"

namespace quelo::gui {

class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit HostWindow(const QString& dataFolder);
  ~HostWindow() override;

 private:
  QWidget* timerBox();
  QWidget* fileBox();
  QWidget* linkBox();
  QWidget* logBox();
  QWidget* formsBox();
  // A member of the control by name; an error goes to the status bar.
  Variant call(const char* member, Args args);
  void showResult(const QString& text);
  QString recordFile() const;

  QString dataFolder_;
  qt::ZeQueloWidget* control_ = nullptr;
  QLabel* ticks_ = nullptr;
  QSpinBox* interval_ = nullptr;
  QSpinBox* delay_ = nullptr;
  QLineEdit* chosen_ = nullptr;
  QLabel* picture_ = nullptr;
  QLineEdit* link_ = nullptr;
  QLineEdit* message_ = nullptr;
  QPlainTextEdit* log_ = nullptr;
  int tickCount_ = 0;
};

}  // namespace quelo::gui
