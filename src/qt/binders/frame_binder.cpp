// Frame: a QGroupBox; the controls it contains are placed inside it by the form view.
// A view may give the frame its caption with access keys marked (`kKeyedCaption`); the title shows
// them while the model's caption is that text without the marks.
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

constexpr int kTitleMargin = 16;  // the group box's indent and padding around its title

// A caption that sets two headings apart with a run of spaces keeps both headings whole when the
// frame's font needs more room than the layout gave: the run shrinks, down to one space.
QString fittedTitle(QString caption, const QFontMetrics& metrics, int width) {
  qsizetype start = -1, length = 0;
  for (qsizetype i = 0; i < caption.size();) {
    qsizetype j = i;
    while (j < caption.size() && caption[j] == u' ') ++j;
    if (j - i > length) start = i, length = j - i;
    i = j == i ? i + 1 : j;
  }
  while (length > 1 && metrics.horizontalAdvance(caption) > width - kTitleMargin) {
    caption.remove(start, 1);
    --length;
  }
  return caption;
}

class FrameBinder : public ControlBinder {
 public:
  FrameBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new QGroupBox(parent)) {
    forwardMouseClicks();
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    if (is(p, P::Caption) || is(p, P::Bounds) || is(p, P::FontName)) fitTitle();
  }

  // The form fits and stretches its frames after placing them: the title follows the width.
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool refit =
        event->type() == QEvent::Resize || event->type() == QEvent::DynamicPropertyChange;
    if (watched == widget() && refit && model()) fitTitle();
    return ControlBinder::eventFilter(watched, event);
  }

 private:
  void fitTitle() {
    Writing guard(*this);
    auto* box = widgetAs<QGroupBox>();
    QString caption = qs(modelAs<forms::Frame>()->caption());
    if (QString keyed = box->property(kKeyedCaption).toString();
        QString(keyed).remove(u'&') == caption)
      caption = keyed;
    box->setTitle(fittedTitle(caption, box->fontMetrics(), box->width()));
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindFrame(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<FrameBinder>(model, parent);
}

}  // namespace quelo::qt
