#include "host_window.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>

#include "qt/property_frame.h"
#include "qt/qobject_dispatch.h"
#include "data/recordset/recordset.h"
#include "qt/qt_platform.h"

namespace quelo::gui {
namespace {

QPushButton* button(const QString& text, QObject* context, std::function<void()> action) {
  auto* b = new QPushButton(text);
  QObject::connect(b, &QPushButton::clicked, context, std::move(action));
  return b;
}

QGroupBox* group(const QString& title, QLayout* content) {
  auto* box = new QGroupBox(title);
  box->setLayout(content);
  return box;
}

// A line of explanation that wraps, so that it never sets the window's width.
QLabel* hint(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  return label;
}

std::string utf8(const QString& s) { return s.toStdString(); }

// The picker's columns take the room their entries need once a folder is read: their first
// widths are guessed from short samples, too narrow for long names and dates.
void fitColumnsWhenRead(QFileDialog& picker) {
  auto* model = picker.findChild<QFileSystemModel*>();
  auto* files = picker.findChild<QTreeView*>();
  if (!model || !files) return;
  QObject::connect(model, &QFileSystemModel::directoryLoaded, files, [files] {
    for (int c = 0; c < files->header()->count(); ++c) files->resizeColumnToContents(c);
  });
}

}  // namespace

HostWindow::HostWindow(const QString& dataFolder, std::shared_ptr<Component> component, const Platform* platform)
    : dataFolder_(dataFolder) {
  setWindowTitle(QStringLiteral("VarnikQuelo host"));
  auto* central = new QWidget;
  control_ = new qt::ZeQueloWidget(std::move(component), central, true, platform);
  control_->setObjectName(QStringLiteral("ZeQuelo1"));
  const Status loaded = control_->loadProperties(recordFile());
  keepRecord_ = !loaded;
  std::string app = utf8(dataFolder_);  // the message log and the reports go under it
  control_->control().setApplicationPath(app);
  connect(control_, &qt::ZeQueloWidget::clicked, this, [this] { statusBar()->showMessage(QStringLiteral("Click")); });

  auto* head = new QHBoxLayout;
  head->addWidget(control_);
  head->addWidget(new QLabel(QStringLiteral("The control: click it, tab to it.")));
  head->addStretch();
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(timerBox());
  left->addWidget(fileBox());
  left->addWidget(reportBox());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(linkBox());
  right->addWidget(formsBox());
  right->addWidget(logBox(), 1);
  columns->addLayout(left);
  columns->addLayout(right, 1);
  auto* page = new QVBoxLayout(central);
  page->addLayout(head);
  page->addLayout(columns, 1);
  setCentralWidget(central);
  statusBar()->showMessage(QStringLiteral("Ready"));
  loader_ = new ReportLoader(this);
  // The busy signs go before the report form opens, and also when a cancelled read ends.
  connect(loader_, &ReportLoader::over, this, &HostWindow::readingOver);
  if (keepRecord_) {
    const QString why = QStringLiteral("The control's saved properties could not be read and are left as they are: %1")
                            .arg(QString::fromStdString(loaded.error().message));
    std::cerr << "quelo-gui: " << utf8(why) << '\n';
    statusBar()->showMessage(why);
  }
}

HostWindow::~HostWindow() {
  if (!keepRecord_) (void)control_->saveProperties(recordFile());
}

QString HostWindow::recordFile() const { return QDir(dataFolder_).filePath(QStringLiteral("quelo-gui.props")); }

Variant HostWindow::call(const char* member, Args args) {
  auto r = control_->dispatch()->call(member, args);
  if (!r) {
    statusBar()->showMessage(QStringLiteral("%1: error %2: %3").arg(member).arg(r.error().number).arg(QString::fromStdString(r.error().message)));
    return Variant();
  }
  return r.value();
}

void HostWindow::showResult(const QString& text) { statusBar()->showMessage(text); }

QWidget* HostWindow::timerBox() {
  ticks_ = new QLabel(QStringLiteral("ZeTimer events: 0"));
  ticks_->setObjectName(QStringLiteral("lblTicks"));
  connect(control_, &qt::ZeQueloWidget::zeTimer, this, [this] { ticks_->setText(QStringLiteral("ZeTimer events: %1").arg(++tickCount_)); });
  interval_ = new QSpinBox;
  interval_->setRange(0, 3600);
  interval_->setValue(std::max(control_->interval(), 1));
  interval_->setSuffix(QStringLiteral(" s"));
  auto* start = button(QStringLiteral("Start timer"), this, [this] {
    control_->setInterval(interval_->value());
    control_->setDoTimer(true);
  });
  auto* stop = button(QStringLiteral("Stop timer"), this, [this] { control_->setDoTimer(false); });
  delay_ = new QSpinBox;
  delay_->setRange(1, 60);
  delay_->setValue(2);
  delay_->setSuffix(QStringLiteral(" s"));
  auto* wait = button(QStringLiteral("Delay"), this, [this] {
    call("ProgramDelayNSec", {Variant(static_cast<int32_t>(delay_->value()))});
    showResult(QStringLiteral("Delayed %1 s").arg(delay_->value()));
  });
  auto* grid = new QVBoxLayout;
  auto* row1 = new QHBoxLayout;
  row1->addWidget(interval_);
  row1->addWidget(start);
  row1->addWidget(stop);
  auto* row2 = new QHBoxLayout;
  row2->addWidget(delay_);
  row2->addWidget(wait);
  grid->addLayout(row1);
  grid->addWidget(ticks_);
  grid->addLayout(row2);
  return group(QStringLiteral("Timer and delay"), grid);
}

QWidget* HostWindow::fileBox() {
  chosen_ = new QLineEdit;
  chosen_->setReadOnly(true);
  chosen_->setObjectName(QStringLiteral("txtChosen"));
  picture_ = new QLabel;
  picture_->setObjectName(QStringLiteral("picHost"));  // the insert button's target
  picture_->setFixedSize(96, 72);
  picture_->setScaledContents(true);
  picture_->setFrameStyle(QFrame::Box);
  auto* choose = button(QStringLiteral("Choose a file..."), this, [this] {
    Args args{Variant("Supply Filename"), Variant(utf8(QDir::homePath())), Variant(int32_t{0}), Variant(true),
              Variant(std::shared_ptr<Dispatch>(qt::QObjectDispatch::wrap(picture_))), Variant(int32_t{1})};
    const Variant chosen = call("SupplyFileName", args);
    chosen_->setText(chosen.isString() ? QString::fromStdString(chosen.asString()) : QString());
  });
  auto* layout = new QVBoxLayout;
  auto* row = new QHBoxLayout;
  row->addWidget(choose);
  row->addWidget(picture_);
  layout->addLayout(row);
  layout->addWidget(chosen_);
  return group(QStringLiteral("File dialog"), layout);
}

QWidget* HostWindow::linkBox() {
  link_ = new QLineEdit(QStringLiteral("https://www.debian.org/"));
  auto* open = button(QStringLiteral("Open"), this, [this] {
    const Variant ok = call("OpenHyperlink", {Variant(utf8(link_->text()))});
    showResult(ok == Variant(true) ? QStringLiteral("Opened") : QStringLiteral("Not opened"));
  });
  link_->setPlaceholderText(QStringLiteral("a web address, an e-mail address or a file"));
  auto* row = new QHBoxLayout;
  row->addWidget(link_, 1);
  row->addWidget(open);
  return group(QStringLiteral("Hyperlink"), row);
}

QWidget* HostWindow::logBox() {
  message_ = new QLineEdit(QStringLiteral("Hello from the host"));
  log_ = new QPlainTextEdit;
  log_->setObjectName(QStringLiteral("txtLog"));
  log_->setReadOnly(true);
  auto* append = button(QStringLiteral("Log"), this, [this] {
    call("LogMessage", {Variant(utf8(message_->text())), Variant(std::shared_ptr<Dispatch>(qt::QObjectDispatch::wrap(log_)))});
  });
  auto* layout = new QVBoxLayout;
  auto* row = new QHBoxLayout;
  row->addWidget(message_, 1);
  row->addWidget(append);
  layout->addWidget(hint(QStringLiteral("Also written to Reports/Log/ZeMessages.htm")));
  layout->addLayout(row);
  layout->addWidget(log_, 1);
  return group(QStringLiteral("Message log"), layout);
}

QWidget* HostWindow::reportBox() {
  auto* sample = button(QStringLiteral("On the sample data..."), this, [this] { report(sampleReportData()); });
  sample->setObjectName(QStringLiteral("cmdReportSample"));
  auto* file = button(QStringLiteral("On a file..."), this, [this] {
    std::string path, table;
    if (pickReportFile(path, table)) reportOnFile(path, table);
  });
  file->setObjectName(QStringLiteral("cmdReportFile"));
  auto* odbc = button(QStringLiteral("On an ODBC database..."), this, [this] {
    std::string connection, query;
    if (askOdbcQuery(connection, query)) reportOnOdbc(connection, query);
  });
  odbc->setObjectName(QStringLiteral("cmdReportOdbc"));
  auto* column = new QVBoxLayout;
  column->addWidget(hint(QStringLiteral("Pages go to Reports/")));
  column->addWidget(sample);
  column->addWidget(file);
  column->addWidget(odbc);
  return group(QStringLiteral("Interactive report"), column);
}

bool HostWindow::pickReportFile(std::string& path, std::string& table) {
  QFileDialog picker(this, QStringLiteral("Report on a CSV or SQLite file"), QDir::homePath(),
                     QStringLiteral("Data files (*.csv *.CSV *.db *.sqlite *.sqlite3);;All files (*)"));
  picker.setObjectName(QStringLiteral("reportFilePicker"));
  picker.setOption(QFileDialog::DontUseNativeDialog);
  picker.setFileMode(QFileDialog::ExistingFile);
  fitColumnsWhenRead(picker);
  if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty()) return false;
  path = utf8(picker.selectedFiles().front());
  if (isCsvFile(path)) return true;
  auto tables = sqliteTables(path);
  if (!tables) {
    showResult(QString::fromStdString(tables.error().message));
    return false;
  }
  QStringList names;
  for (const std::string& name : tables.value()) names << QString::fromStdString(name);
  bool chosen = true;
  const QString name = names.size() == 1 ? names.front()
                                         : QInputDialog::getItem(this, QStringLiteral("Report on a table"),
                                                                 QStringLiteral("Table:"), names, 0, false, &chosen);
  table = utf8(name);
  return chosen;
}

bool HostWindow::askOdbcQuery(std::string& connection, std::string& query) {
  bool given = false;
  const QString c = QInputDialog::getText(this, QStringLiteral("Report on an ODBC database"),
                                          QStringLiteral("Connection string (DRIVER=...;SERVER=...) or data source name:"),
                                          QLineEdit::Normal, QString(), &given);
  if (!given || c.trimmed().isEmpty()) return false;
  const QString q = QInputDialog::getMultiLineText(this, QStringLiteral("Report on an ODBC database"),
                                                   QStringLiteral("Query (SELECT ...):"), QString(), &given);
  if (!given || q.trimmed().isEmpty()) return false;
  connection = utf8(c.trimmed());
  query = utf8(q);
  return true;
}

void HostWindow::reportOnFile(const std::string& path, const std::string& table) {
  readForReport(QString::fromStdString(path), [path, table] { return fileReportData(path, table); });
}

void HostWindow::reportOnOdbc(const std::string& connection, const std::string& query) {
  readForReport(QStringLiteral("the query"), [connection, query] { return odbcReportData(connection, query); });
}

void HostWindow::readForReport(const QString& what, std::function<Result<ReportData>()> read) {
  if (!loader_->start(std::move(read), [this](Result<ReportData> data) { report(data); }))
    return showResult(QStringLiteral("Records are being read already"));
  QApplication::setOverrideCursor(Qt::BusyCursor);
  reading_ = new QProgressDialog(QStringLiteral("Reading %1...").arg(what), QStringLiteral("Cancel"), 0, 0, this);
  reading_->setObjectName(QStringLiteral("readingRecords"));
  reading_->setWindowModality(Qt::WindowModal);
  reading_->setMinimumDuration(300);
  // The bar is set directly: the dialog's own setValue runs the event loop when it is modal.
  auto* bar = new QProgressBar;
  reading_->setBar(bar);
  auto* tick = new QTimer(reading_);
  connect(tick, &QTimer::timeout, reading_, [this, what, bar] { showReadProgress(what, *bar); });
  tick->start(200);
  connect(reading_, &QProgressDialog::canceled, this, [this] {
    loader_->cancel();
    showResult(QStringLiteral("Reading cancelled"));
  });
  showResult(QStringLiteral("Reading %1...").arg(what));
}

void HostWindow::showReadProgress(const QString& what, QProgressBar& bar) {
  const ReadWatch* watch = loader_->progress();
  if (!watch || !reading_) return;
  const qint64 rows = watch->rows(), expected = watch->expected();
  const QString count = expected >= 0 ? QStringLiteral("%L1 of %L2 rows").arg(rows).arg(expected)
                                      : QStringLiteral("%L1 rows").arg(rows);
  reading_->setLabelText(QStringLiteral("Reading %1...\n%2").arg(what, count));
  if (expected > 0) {
    bar.setRange(0, 1000);
    bar.setValue(static_cast<int>(std::min<qint64>(rows, expected) * 1000 / expected));
  } else {
    bar.setRange(0, 0);
  }
}

// The dialog goes at once: a dialog only scheduled for deletion would still show itself when its
// minimum duration is up, over the report form.
void HostWindow::readingOver() {
  QApplication::restoreOverrideCursor();
  if (!reading_) return;
  reading_->disconnect(this);
  delete reading_;
  reading_ = nullptr;
}

void HostWindow::report(const Result<ReportData>& data) {
  if (!data) {
    showResult(QString::fromStdString(data.error().message));
    return;
  }
  const ReportData& d = data.value();
  const Variant shown = call("ShowZeReporter", {Variant(std::static_pointer_cast<Dispatch>(d.records)), d.picFields,
                                                d.pictureFolder});
  if (shown == Variant(true)) showResult(QStringLiteral("Report form closed"));
  else if (!shown.isEmpty()) showResult(QStringLiteral("No report: there are no records, or a report is running"));
}

// The control's own forms.
QWidget* HostWindow::formsBox() {
  auto* about = button(QStringLiteral("About..."), this, [this] { call("AboutBox", {}); });
  auto* props = button(QStringLiteral("Properties..."), this, [this] {
    qt::PropertyFrame frame({control_->dispatch()}, qt::QtPlatform::instance().presenter, this);
    frame.exec();
  });
  auto* row = new QHBoxLayout;
  row->addWidget(about);
  row->addWidget(props);
  return group(QStringLiteral("Forms"), row);
}

}  // namespace quelo::gui
