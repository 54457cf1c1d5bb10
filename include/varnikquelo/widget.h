// The control as a Qt widget for a host's window: its timer, file dialog, hyperlink opener,
// reporter and message log, reached by member name; its events as signals; its properties saved
// to and read from a file of the host's.
#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

#include <varnikquelo/export.h>
#include <varnikquelo/records.h>

namespace varnikquelo {

class QUELO_API QueloWidget : public QWidget {
  Q_OBJECT
  // The control's properties, as a form designed with the widget sets them. The control's
  // Enabled is the widget's enabled state. DeveloperCompany is taken only on a form being
  // designed; elsewhere a write is ignored, as the control does.
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
  Q_PROPERTY(bool doTimer READ doTimer WRITE setDoTimer)
  Q_PROPERTY(int interval READ interval WRITE setInterval)
  Q_PROPERTY(int maxRecsPerPage READ maxRecsPerPage WRITE setMaxRecsPerPage)
  Q_PROPERTY(QString tag READ tag WRITE setTag)
  Q_PROPERTY(QString developerCompany READ developerCompany WRITE setDeveloperCompany)

 public:
  // A widget of its own: its forms and report settings are not shared with other widgets.
  explicit QueloWidget(QWidget* parent = nullptr);
  ~QueloWidget() override;

  // A member of the control by name (ShowZeReporter, OpenHyperlink, ...), as Qt values: its
  // result, or an invalid QVariant with the reason in *error (the argument, the type wanted and
  // the type given, for a value the member cannot take). A record set goes in as a Records in
  // a QVariant, and CurrentRecordset comes back so:
  //   widget->call("AutoZeReporter", {QVariant::fromValue(varnikquelo::Records::csv("stock.csv")),
  //                                   QString(), QString(), "stock.htm", "Stock", 0}, &error);
  // The report runs inside the call, on the widget's thread; reportStatus is emitted as it goes
  // (a handler connected with a direct or automatic connection can cancel it).
  QVariant call(const QString& member, const QVariantList& args = {}, QString* error = nullptr);
  QVariant value(const QString& property, QString* error = nullptr);
  bool setValue(const QString& property, const QVariant& value, QString* error = nullptr);

  // The host's record of the control's properties (a missing file reads as empty).
  bool loadProperties(const QString& file, QString* error = nullptr);
  bool saveProperties(const QString& file, QString* error = nullptr);

  QColor backColor() const;
  void setBackColor(const QColor& color);
  bool doTimer() const;
  void setDoTimer(bool on);
  int interval() const;
  void setInterval(int ticks);
  int maxRecsPerPage() const;
  void setMaxRecsPerPage(int records);
  QString tag() const;
  void setTag(const QString& tag);
  QString developerCompany() const;
  void setDeveloperCompany(const QString& company);

  QSize sizeHint() const override;

 signals:
  void zeTimer();
  void clicked();
  // Emitted during AutoZeReporter's report, before each section of five records of a page.
  // Handlers may set *cancel (the report stops) and *deleteOnCancel (the pages written so far go
  // too); the pointers live for the emission only.
  void reportStatus(int totalPages, int elapsedSeconds, int currentPage, bool* cancel, bool* deleteOnCancel);
  // A property changed (its key in the property record): the host's form needs saving.
  void propertyChanged(const QString& key);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnikquelo

Q_DECLARE_METATYPE(varnikquelo::Records)
