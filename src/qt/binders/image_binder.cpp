// Image: a picture view of the model's picture file; a stretched picture is fitted into the
// control.
#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/picture_view.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class ImageBinder : public ControlBinder {
 public:
  ImageBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new PictureView(parent)) {
    forwardMouseClicks();
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::Image>();
    Writing guard(*this);
    if (is(p, P::Picture) || is(p, P::Stretch))
      widgetAs<PictureView>()->setPicture(qs(m->picture()), m->stretch());
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindImage(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<ImageBinder>(model, parent);
}

}  // namespace quelo::qt
