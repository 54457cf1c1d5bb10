// ZeQueloWidget: the control as a widget a host puts on its form. It is the control's site and
// window: a square of 345 x 345 twips at the screen's resolution whatever the host asks, Label1
// over its face (flat, or sunken with " Ze" while the widget has the focus), its background the
// control's BackColor. The control's events come out as Qt signals, Timer1 ticks on the Qt event
// loop, and the properties go to and come from the host's property record (a FilePropertyBag).
// Every member is reachable by name through dispatch(). Its forms and message boxes belong to
// its window.
#pragma once

#include <QColor>
#include <QWidget>
#include <memory>

#include "control/ze_quelo.h"
#include "qt/binders/control_binder.h"

namespace quelo::qt {

class ZeQueloWidget : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
  Q_PROPERTY(bool doTimer READ doTimer WRITE setDoTimer)
  Q_PROPERTY(int interval READ interval WRITE setInterval)
  Q_PROPERTY(int maxRecsPerPage READ maxRecsPerPage WRITE setMaxRecsPerPage)
  Q_PROPERTY(QString tag READ tag WRITE setTag)
  Q_PROPERTY(QString developerCompany READ developerCompany WRITE setDeveloperCompany)

 public:
  // A new control (InitProperties) of `component`, which the host shares among the controls of its
  // GUI thread. userMode false: it sits on a form being designed. Without a platform it uses the
  // application's (QtPlatform::instance()).
  explicit ZeQueloWidget(std::shared_ptr<Component> component, QWidget* parent = nullptr, bool userMode = true,
                         const Platform* platform = nullptr);
  ~ZeQueloWidget() override;

  ZeQuelo& control() { return *control_; }
  std::shared_ptr<Dispatch> dispatch() { return control_; }
  bool userMode() const { return userMode_; }
  void setUserMode(bool on) { userMode_ = on; }
  // The widget the host sees, when this one sits inside it (the public widget): its name is the
  // control's display name and its enabled state the control's Enabled, and the control's lookup
  // of the host form's controls by name passes over it, as over this one.
  void setHostWidget(QWidget* host) { host_ = host; }

  // The host's property record: ReadProperties from it (a missing file reads as empty) and
  // WriteProperties into it.
  Status loadProperties(const QString& file);
  Status saveProperties(const QString& file);

  QColor backColor() const;
  void setBackColor(const QColor& c);
  bool doTimer() const { return control_->doTimer(); }
  void setDoTimer(bool on) { control_->setDoTimer(on); }
  int interval() const { return control_->interval(); }
  void setInterval(int ticks) { control_->setInterval(ticks); }
  int maxRecsPerPage() const { return control_->maxRecsPerPage(); }
  void setMaxRecsPerPage(int records);
  QString tag() const;
  void setTag(const QString& tag);
  QString developerCompany() const;
  void setDeveloperCompany(const QString& company);

  QSize sizeHint() const override;

 signals:
  void zeTimer();
  void clicked();
  // Handlers may set *cancel, *deleteGeneratedPagesOnCancel and *forFututeUse.
  void reportStatus(int totalPages, int elapsedSeconds, int currentPage, bool* cancel,
                    bool* deleteGeneratedPagesOnCancel, quelo::Variant* forFututeUse);
  // A property changed (its persistence key): the host's form needs saving.
  void propertyChanged(const QString& key);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Site;
  class Window;
  void paintBackColor();
  void ownTheControlsDialogs();
  QSize fixedSize() const;

  QWidget* host() { return host_ ? host_ : this; }

  bool userMode_;
  QWidget* host_ = nullptr;
  uint32_t color_ = ZeQuelo::kDefaultBackColor;
  std::unique_ptr<Site> site_;
  std::unique_ptr<Window> window_;
  std::shared_ptr<ZeQuelo> control_;
  std::unique_ptr<ControlBinder> label_;
};

}  // namespace quelo::qt
