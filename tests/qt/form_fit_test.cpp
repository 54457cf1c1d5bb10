// Every form fitted to every font size and screen scale: each control shows its text whole and
// lies inside its frame and its form, and the form fits the screen that goes with its font size.
#include <map>

#include "files/file_dialog.h"
#include "qt/form_dialog.h"
#include "qt/form_view.h"
#include "qt/qt_test_support.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/report_form.h"
#include "ui/about_box.h"
#include "ui/property_page.h"

namespace quelo::qt {
namespace {

struct NoSelection : PropertyPageSite {
  std::vector<std::shared_ptr<Dispatch>> selectedControls() override { return {}; }
  void setChanged(bool) override {}
};

struct FormCase {
  const char* name;
  std::function<std::unique_ptr<forms::Form>(testing::QtHarness&, PropertyPageSite&)> make;
};

const FormCase kForms[] = {
    {"report form",
     [](auto& h, auto&) { return std::make_unique<QueloReportForm>(*h.component, h.platform()); }},
    {"advanced settings",
     [](auto& h, auto&) { return std::make_unique<QueloAdvancedSet>(*h.component, h.platform()); }},
    {"file dialog",
     [](auto& h, auto&) { return std::make_unique<FileDialog>(*h.component, h.platform()); }},
    {"about box",
     [](auto& h, auto&) {
       return std::make_unique<AboutBox>(h.presenter, [](int, const std::string&) {});
     }},
    {"property page",
     [](auto& h, auto& site) { return std::make_unique<PropertyPage>(h.presenter, site); }},
};

struct FormFit : ::testing::Test {
  std::unique_ptr<forms::Form> loaded(const FormCase& form) {
    std::unique_ptr<forms::Form> model = form.make(h, site);
    model->load();
    return model;
  }
  testing::QtHarness h;
  NoSelection site;
};

QString shown(QString text) {
  return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// What is wrong with how the control shows its text; empty when it shows it whole.
QString clipped(QWidget& w) {
  const QFontMetrics fm = w.fontMetrics();
  const QRect room = w.contentsRect();
  if (auto* label = qobject_cast<QLabel*>(&w); label && !label->text().isEmpty()) {
    const QRect text =
        fm.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text());
    if (text.width() > room.width() || text.height() > room.height()) return label->text();
  } else if (auto* button = qobject_cast<QPushButton*>(&w); button && !button->text().isEmpty()) {
    const int frame = 2 * w.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &w);
    if (fm.horizontalAdvance(shown(button->text())) + frame > w.width() ||
        fm.height() + frame > w.height())
      return button->text();
  } else if (qobject_cast<QCheckBox*>(&w) || qobject_cast<QRadioButton*>(&w)) {
    auto* box = static_cast<QAbstractButton*>(&w);
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const auto element =
        qobject_cast<QCheckBox*>(&w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
    const QRect text = w.style()->subElementRect(element, &option, &w);
    if (fm.horizontalAdvance(shown(box->text())) > text.width() || fm.height() > w.height())
      return box->text();
  } else if (auto* frame = qobject_cast<QGroupBox*>(&w); frame && !frame->title().isEmpty()) {
    if (fm.horizontalAdvance(frame->title()) + 16 > w.width()) return frame->title();
  }
  return {};
}

// A control of the form that stands outside what holds them (the form's room, or its frame below
// the title).
QString outside(FormView& view, QWidget& w, QRect viewRoom) {
  QWidget* holder = w.parentWidget();
  QRect room = holder->rect();
  if (auto* frame = qobject_cast<QGroupBox*>(holder); frame && !frame->title().isEmpty())
    room.setTop(frame->fontMetrics().height());
  if (holder == &view) room = viewRoom;
  if (w.width() == 0 || room.contains(w.geometry())) return {};
  return w.objectName();
}

// Every control of the form shows its text whole inside what holds it; hidden ones too when
// `hiddenToo` (the status frame, say).
void checkControls(FormView& view, QRect room, bool hiddenToo, const std::string& where) {
  for (QWidget* c : view.findChildren<QWidget*>()) {
    const bool control = c->parentWidget() == &view || qobject_cast<QGroupBox*>(c->parentWidget());
    if (!control || c->objectName().isEmpty() || !(hiddenToo || c->isVisibleTo(&view))) continue;
    EXPECT_EQ(clipped(*c), "") << where;
    EXPECT_EQ(outside(view, *c, room), "") << where;
  }
}

// A form's design fits a screen of 1024 x 768 up to 9 pt (larger fonts go with a full HD one).
// Shown as a dialog, it fits its screen and a screen of 1024 x 768, at its smallest and as it
// first shows (a form too large for the screen scrolls).
TEST_F(FormFit, EveryFormFitsItsScreenAtEveryFontSizeAndScale) {
  const QFont before = QApplication::font();
  const auto screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 3);  // scale factors 1, 1.5 and 2
  for (const FormCase& form : kForms) {
    std::unique_ptr<forms::Form> model = loaded(form);
    for (QScreen* screen : screens)
      for (int points = 8; points <= 14; ++points) {
        const std::string where = std::string(form.name) + " at " + std::to_string(points) +
                                  " pt on " + screen->name().toStdString();
        QFont font = before;
        font.setPointSize(points);
        {
          QWidget window;
          window.setScreen(screen);
          ASSERT_EQ(window.screen(), screen);
          window.setFont(font);
          FormView view(*model, &window);
          const QSize desk = points <= 9 ? QSize(1024, 768) : QSize(1920, 1080);
          EXPECT_TRUE(view.sizeHint().width() <= desk.width() &&
                      view.sizeHint().height() <= desk.height())
              << where;
          checkControls(view, QRect(QPoint(), view.sizeHint()), true, where);
          view.detach();
        }
        QApplication::setFont(font);
        FormDialog dialog(*model);
        dialog.setScreen(screen);
        dialog.show();
        const QSize room = screen->availableGeometry().size().boundedTo(QSize(1024, 768));
        const QSize least = dialog.minimumSize().expandedTo(dialog.minimumSizeHint());
        EXPECT_TRUE(least.width() <= room.width() && least.height() <= room.height()) << where;
        EXPECT_TRUE(dialog.width() <= room.width() && dialog.height() <= room.height()) << where;
        FormView& view = dialog.view();
        EXPECT_TRUE(dialog.findChild<QWidget*>("formScroll") ||
                    dialog.rect().contains(view.geometry()))
            << where;
        checkControls(view, view.rect(), false, where);
        view.detach();
        dialog.hide();
      }
  }
  QApplication::setFont(before);
}

// At 14 pt on a screen 1024 wide the report form needs no scrolling across: its lists and grid
// narrow, and given its room back it is as designed.
TEST_F(FormFit, TheReportFormNarrowsToA1024WideScreenAt14Points) {
  std::unique_ptr<forms::Form> model = loaded(kForms[0]);
  QWidget window;
  QFont font = QApplication::font();
  font.setPointSize(14);
  window.setFont(font);
  FormView view(*model, &window);
  ASSERT_GT(view.sizeHint().width(), 1024);  // the design alone would not fit
  EXPECT_LE(view.minimumWidth() + 2 * window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth),
            1024);
  QWidget* list = view.findChild<QWidget*>("lstAvailable");
  const QRect designed = list->geometry();
  window.show();
  view.resize(view.minimumSize());
  checkControls(view, view.rect(), false, "at the narrowest");
  EXPECT_LT(list->width(), designed.width());
  view.resize(view.sizeHint());
  EXPECT_EQ(list->geometry(), designed);
  view.detach();
}

// The form's control that holds the widget (a combo box's own line edit belongs to the box).
QString controlOf(QWidget* w, FormView& view) {
  for (; w && w != &view; w = w->parentWidget())
    if (!w->objectName().isEmpty() &&
        (w->parentWidget() == &view || qobject_cast<QGroupBox*>(w->parentWidget())))
      return w->objectName();
  return {};
}

// Tab from the first control visits every control that takes the focus once, in reading order.
TEST_F(FormFit, TabVisitsEveryControlInReadingOrder) {
  const std::map<std::string, std::string> expected = {
      {"report form",
       "lstAvailable cmdDirection(0) cmdDirection(1) cmdMoveUpDown(0) cmdMoveUpDown(1) cmdAdvanced "
       "lstOutput txtTitle txtFileName cmdSaveAs cboBGcolor chkInsert dtpInsert chkBrowser "
       "chkPrinter cmdGenerate cmdClose MSHFlexGrid1"},
      {"about box", "lblZe(0) lblZe(1) OKButton"},
      {"advanced settings",
       "cboFontName txtHeaderFooter(0) txtHeaderFooter(1) chkNotes OptNotesPosition(0) "
       "OptNotesPosition(1) txtNotes cmdLogo(0) cmdLogo(1) txtLink(0) txtLink(1) OptPages(0) "
       "OptPages(1) lstFields chkSave cmdApply CancelButton"},
  };
  for (const FormCase& form : kForms) {
    SCOPED_TRACE(form.name);
    std::unique_ptr<forms::Form> model = loaded(form);
    QWidget window;
    FormView view(*model, &window);
    window.show();
    testing::activate(window);
    QStringList visited;
    QWidget* first = nullptr;
    int focusable = 0;
    for (QWidget* w : view.findChildren<QWidget*>())
      focusable += !controlOf(w, view).isEmpty() && w->isVisibleTo(&window) && w->isEnabled() &&
                   (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
                   controlOf(w, view) == w->objectName();
    for (QWidget* w = view.nextInFocusChain(); w != &view && !first; w = w->nextInFocusChain())
      if (w->isVisibleTo(&window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) first = w;
    ASSERT_TRUE(first);
    first->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < focusable + 1; ++i) {
      const QString now = controlOf(QApplication::focusWidget(), view);
      if (!visited.isEmpty() && now == visited.front()) break;
      visited << now;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.size(), focusable) << visited.join(' ').toStdString();
    EXPECT_EQ(QSet<QString>(visited.begin(), visited.end()).size(), visited.size())
        << visited.join(' ').toStdString();
    if (auto it = expected.find(form.name); it != expected.end()) {
      EXPECT_EQ(visited.join(' ').toStdString(), it->second);
    }
    view.detach();
  }
}

// The room a larger window gives goes to the form's largest list or grid; a form without one
// keeps its size.
TEST_F(FormFit, ALargerWindowGoesToTheLargestListOrGrid) {
  struct Case {
    std::string form;
    const char *grows, *movesRight, *movesDown;
  };
  const Case cases[] = {{"report form", "MSHFlexGrid1", "Frame2", "cmdPage(0)"},
                        {"file dialog", "flbPhoto", "ImgChosenPhoto", "txtFileName"},
                        {"about box", nullptr, nullptr, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    const auto form = std::find_if(std::begin(kForms), std::end(kForms),
                                   [&](auto& f) { return f.name == c.form; });
    std::unique_ptr<forms::Form> model = loaded(*form);
    FormView view(*model);
    EXPECT_EQ(view.resizable(), c.grows != nullptr);
    if (!c.grows) continue;
    view.resize(view.sizeHint());
    view.show();
    const auto rect = [&](const char* name) { return view.findChild<QWidget*>(name)->geometry(); };
    const QRect grows = rect(c.grows), right = rect(c.movesRight), down = rect(c.movesDown);
    view.resize(view.sizeHint() + QSize(200, 100));
    EXPECT_EQ(rect(c.grows).size(), grows.size() + QSize(200, 100));
    EXPECT_EQ(rect(c.movesRight).topLeft(), right.topLeft() + QPoint(200, 0));
    EXPECT_EQ(rect(c.movesDown).y(), down.y() + 100);
    view.detach();
  }
}

}  // namespace
}  // namespace quelo::qt
