

#include "forms/form.h"
#include "qt/qt_form_presenter.h"
#include "qt/qt_test_support.h"

namespace quelo::qt {
namespace {

using namespace forms;

class Ask : public Form {
 public:
  explicit Ask(FormPresenter& p) : Form("Ask", p) {
    setCaption("Ask");
    setKeyPreview(true);
  }
  std::vector<std::string> events;
  std::vector<UnloadMode> unloadModes;
  bool refuseClose = false;

 protected:
  void build() override {
    auto& text = add<TextBox>("txtAnswer");
    text.setBounds({120, 120, 2400, 315});
    text.onGotFocus = [this] { events.push_back("text got"); };
    text.onKeyPress = [](int& ascii) {
      if (ascii >= 'a' && ascii <= 'z') ascii -= 32;  // typed in capitals
    };
    auto& other = add<TextBox>("txtOther");
    other.setBounds({120, 540, 2400, 315});
    other.onValidate = [&other](bool& cancel) { cancel = other.text() == "stay"; };
    auto& cancel = add<CommandButton>("cmdCancel");
    cancel.setCaption("Cancel");
    cancel.setCancel(true);
    cancel.setBounds({2640, 120, 1200, 375});
    cancel.onClick = [this] {
      events.push_back("cancel");
      unload();
    };
  }
  void formActivate() override { events.push_back("activate"); }
  void formKeyDown(int& keyCode, int) override {
    if (keyCode == key::kF3) {
      events.push_back("F3");
      keyCode = 0;
    }
  }
  void formQueryUnload(int& cancel, UnloadMode mode) override {
    unloadModes.push_back(mode);
    cancel = mode == UnloadMode::UserClosed && refuseClose;
  }
};

struct PresenterTest : ::testing::Test {
  testing::QtHarness h;
  Ask form{h.presenter};
  // Shows the form modally while `user` acts on its dialog; returns when the form is gone.
  void run(std::function<void(FormDialog&)> user) {
    h.presenter.whenShown = [user](Form&, FormDialog& d) {
      testing::activate(d);
      user(d);
    };
    form.show(true);
    h.presenter.whenShown = nullptr;
  }
};

// Keys reach the form first (its KeyPress handler chose the characters); Escape presses the
// Cancel button, whose unload ends the modal show. The handlers check as they act: one that never
// ran would leave the dialog open.
TEST_F(PresenterTest, AModalShowEndsWhenEscapeUnloadsTheForm) {
  QPointer<FormDialog> seen;
  run([&](FormDialog& d) {
    seen = &d;
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "Ask");
    form.setCaption("Asked");
    EXPECT_EQ(d.windowTitle(), "Asked");
    auto* text = qobject_cast<QLineEdit*>(d.widgetOf("txtAnswer"));
    text->setFocus();
    QTest::keyClicks(text, "ok1");
    QTest::keyClick(text, Qt::Key_F3);
    EXPECT_EQ(form.get<TextBox>("txtAnswer").text(), "OK1");
    QTest::keyClick(text, Qt::Key_Escape);
  });
  EXPECT_FALSE(form.loaded());
  EXPECT_TRUE(seen.isNull());  // an unloaded form's dialog goes
  EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "F3"), 1);
  EXPECT_EQ(form.events.front(), "activate");
  EXPECT_EQ(form.events.back(), "cancel");
}

TEST_F(PresenterTest, TheCloseBoxAsksTheFormWhichMayRefuse) {
  form.refuseClose = true;
  run([&](FormDialog& d) {
    d.close();
    EXPECT_TRUE(d.isVisible());  // refused
    form.refuseClose = false;
    d.close();
  });
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.unloadModes, (std::vector<UnloadMode>{UnloadMode::UserClosed, UnloadMode::UserClosed}));
}

TEST_F(PresenterTest, FocusFollowsTheModelAndTheUserAndValidateHoldsIt) {
  run([&](FormDialog& d) {
    auto* answer = d.widgetOf("txtAnswer");
    auto* other = d.widgetOf("txtOther");
    form.get<TextBox>("txtOther").setFocus();
    EXPECT_TRUE(other->hasFocus());
    answer->setFocus();
    EXPECT_TRUE(form.get<TextBox>("txtAnswer").hasFocus());
    other->setFocus();
    form.get<TextBox>("txtOther").setText("stay");
    answer->setFocus();
    EXPECT_TRUE(other->hasFocus() && form.get<TextBox>("txtOther").hasFocus());  // held by Validate
    form.get<TextBox>("txtOther").setText("go");
    form.get<CommandButton>("cmdCancel").press();
  });
}

TEST_F(PresenterTest, AHiddenFormKeepsItsDialog) {
  form.show(false);
  FormDialog* first = h.presenter.dialogOf(form);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  form.hide();
  EXPECT_FALSE(first->isVisible());
  form.show(false);
  EXPECT_EQ(h.presenter.dialogOf(form), first);
  form.unload();
  EXPECT_EQ(h.presenter.dialogOf(form), nullptr);
  testing::settle();
}

TEST(QtServices, MessageBoxesAnswerWithTheButtonPressed) {
  QtMessageBox boxes;
  QString text, title;
  testing::soon([&] {
    auto* box = qobject_cast<QMessageBox*>(testing::activeModal());
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(boxes.show("Go on?", mb::kYesNo | mb::kQuestion, "Quelo"), mb::kNo);
  EXPECT_EQ(text, "Go on?");
  EXPECT_EQ(title, "Quelo");
  testing::soon([&] { testing::activeModal()->close(); });
  EXPECT_EQ(boxes.show("Note", mb::kOkOnly, ""), mb::kOk);  // closed: the only button's answer
}

TEST(QtServices, TheBusyCursorOverridesTheApplicationsAndIsRestored) {
  QtCursor cursor;
  cursor.setBusy(true);
  cursor.setBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  cursor.setBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtServices, TheMessageLoopRunsTimersAndPostedWork) {
  QtMessageLoop loop;
  int ticks = 0, posted = 0;
  MessageLoop::TimerId id = 0;
  id = loop.startTimer(std::chrono::milliseconds(1), [&] {
    if (++ticks == 3) loop.stopTimer(id);  // a timer may stop itself
  });
  loop.post([&] { ++posted; });
  EXPECT_EQ(posted, 0);  // nothing runs until the loop turns
  for (int i = 0; i < 2000 && ticks < 3; ++i) {
    loop.processEvents();
    QTest::qWait(1);
  }
  testing::settle();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(posted, 1);
}

}  // namespace
}  // namespace quelo::qt
