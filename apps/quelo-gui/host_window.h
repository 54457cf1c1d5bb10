// The host's form: the control on it, and one button per service of the control, each calling
// the control by name as any host program would. The control's properties live in a property
// record beside the user's settings, read at start and written at close (unless it could not be
// read: then it is left as it is); reports go to the Reports folder beside it.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "qt/ze_quelo_widget.h"
#include "report_data.h"
#include "report_loader.h"

class QProgressBar;
class QProgressDialog;

namespace quelo::gui {

class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The control joins `component`, what the controls of this thread share. Without a platform it
  // uses the application's.
  HostWindow(const QString& dataFolder, std::shared_ptr<Component> component, const Platform* platform = nullptr);
  ~HostWindow() override;

  // Reads a CSV file, or `table` of an SQLite database, in the background with a busy cursor and
  // a Cancel button, and opens the report form on its records when they are in.
  void reportOnFile(const std::string& path, const std::string& table = {});
  // Likewise the rows of a query through ODBC (a connection string or a data source name).
  void reportOnOdbc(const std::string& connection, const std::string& query);
  // Whether records are being read for a report.
  bool loading() const { return loader_->busy(); }
  // Reads the records in the background, with a busy cursor and a dialog that counts the rows
  // and can cancel (`what` names them there), then reports on them.
  void readForReport(const QString& what, std::function<Result<ReportData>()> read);

 private:
  QWidget* timerBox();
  QWidget* fileBox();
  QWidget* linkBox();
  QWidget* logBox();
  QWidget* formsBox();
  QWidget* reportBox();
  // The file the user picks for a report, and of a database the table; false when cancelled.
  bool pickReportFile(std::string& path, std::string& table);
  // The ODBC connection and query the user types; false when cancelled.
  bool askOdbcQuery(std::string& connection, std::string& query);
  void showReadProgress(const QString& what, QProgressBar& bar);
  // Hands the records to the control's interactive reporter.
  void report(const Result<ReportData>& data);
  // Takes the busy cursor and the progress away.
  void readingOver();
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
  ReportLoader* loader_ = nullptr;
  QProgressDialog* reading_ = nullptr;
  bool keepRecord_ = false;  // the property record could not be read: never write over it
};

}  // namespace quelo::gui
