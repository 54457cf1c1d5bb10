// The Qt side of the forms: bound widgets, the presenter's dialogs, Qt services, QObjects.
#include "fakes/scratch_dir.h"
#include "forms/form.h"
#include "forms/form_presenter.h"
#include "forms/layout.h"
#include "platform/picture.h"
#include "qt/form_view.h"
#include "qt/picture_view.h"
#include "qt/qobject_dispatch.h"
#include "qt/qt_form_presenter.h"
#include "qt/qt_test_support.h"
#include "qt/qt_text.h"
#include "qt/variant_qt.h"

namespace quelo::qt {
namespace {

using namespace forms;

class AllKinds : public Form {
 public:
  explicit AllKinds(FormPresenter& p) : Form("AllKinds", p) {}
  std::vector<std::string> events;

 protected:
  std::function<void()> record(const char* event) {
    return [this, event] { events.push_back(event); };
  }
  void build() override {
    placed(add<Label>("lblName"), {120, 120, 1200, 255}, "Name:").onClick = record("label click");
    placed(add<TextBox>("txtName"), {1440, 120, 2400, 315}).onChange = record("change");
    placed(add<TextBox>("txtNotes"), {1440, 480, 2400, 900}).setMultiLine(true);
    placed(add<CheckBox>("chkOn"), {120, 1500, 1200, 255}, "On");
    placed(add<Frame>("Frame1"), {120, 1800, 3000, 900});
    for (int i = 0; i < 2; ++i)
      placed(add<OptionButton>("optSide", i), {120, 240 + 300 * i, 1200, 255}, i ? "Right" : "Left")
          .setContainer("Frame1");
    placed(add<ListBox>("lstItems"), {3240, 1500, 1500, 1200}).onDblClick = record("list dblclick");
    placed(add<ComboBox>("cboColour"), {120, 2800, 1800, 315});
    placed(add<CommandButton>("cmdGo"), {2040, 2800, 1200, 375}, "&Go").onClick = record("go");
    placed(add<Image>("imgPhoto"), {4800, 120, 1440, 1440});
    placed(add<DatePicker>("dtpWhen"), {120, 3300, 1800, 315});
    placed(add<DataGrid>("grdRows"), {2040, 3300, 3000, 1200});
  }
};

struct BindersTest : ::testing::Test {
  HeadlessPresenter presenter;
  AllKinds form{presenter};
  std::unique_ptr<FormView> view;
  BindersTest() {
    form.load();
    view = std::make_unique<FormView>(form);
    view->show();
    testing::settle();
  }
  template <class W>
  W* widget(const char* name, int index = -1) {
    return qobject_cast<W*>(view->widgetOf(name, index));
  }
};

TEST_F(BindersTest, WidgetsArePlacedByTwipsAndFramesHoldTheirControls) {
  auto* label = widget<QLabel>("lblName");
  ASSERT_NE(label, nullptr);
  const QRect placed = label->geometry();
  EXPECT_EQ(widget<QRadioButton>("optSide", 1)->parentWidget(), widget<QGroupBox>("Frame1"));
  EXPECT_GE(view->sizeHint().width(), 6240 / 15);
  form.get<Label>("lblName").setVisible(false);
  EXPECT_TRUE(label->isHidden());
  // An inch is 96 pixels or more; the form's first placing and a later one agree.
  form.get<Label>("lblName").setBounds({0, 0, 1440, 1440});
  const QRect inch = label->geometry();
  EXPECT_EQ(inch.topLeft(), QPoint(0, 0));
  EXPECT_TRUE(inch.width() >= 96 && inch.height() >= 96);
  EXPECT_NEAR(placed.x(), inch.width() / 12.0, 1);
  EXPECT_NEAR(placed.y(), inch.height() / 12.0, 1);
}

// A caption that spaces two headings apart loses spaces, not words, when the font needs more room.
TEST_F(BindersTest, AFrameCaptionOfTwoHeadingsKeepsBoth) {
  const std::string caption = " Left heading" + std::string(59, ' ') + "Right heading";
  form.get<Frame>("Frame1").setCaption(caption);
  auto* frame = widget<QGroupBox>("Frame1");
  const QString shown = frame->title();
  EXPECT_TRUE(shown.startsWith(" Left heading ")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(" Right heading")) << shown.toStdString();
  EXPECT_LT(shown.size(), static_cast<qsizetype>(caption.size()));
  EXPECT_LE(frame->fontMetrics().horizontalAdvance(shown), frame->width());
  form.get<Frame>("Frame1").setBounds({120, 1800, 30000, 900});  // room enough: every space kept
  EXPECT_EQ(frame->title().toStdString(), caption);
}

TEST_F(BindersTest, TextBoxesFollowTheModelAndTheUser) {
  auto* line = widget<QLineEdit>("txtName");
  auto& model = form.get<TextBox>("txtName");
  model.setText("hello");
  EXPECT_EQ(line->text(), "hello");
  line->setFocus();
  line->setCursorPosition(0);
  QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é"));
  QApplication::sendEvent(line, &accented);  // a key beyond ASCII
  QTest::keyClicks(line, " ");
  EXPECT_EQ(model.text(), "é hello");
  EXPECT_EQ(model.selStart(), 3);  // bytes: é is two
  model.setSelStart(0);
  model.setSelLength(static_cast<int32_t>(model.text().size()));
  EXPECT_EQ(line->selectedText(), QString::fromUtf8("é hello"));
  model.setLocked(true);
  EXPECT_TRUE(line->isReadOnly());
  auto* notes = widget<QPlainTextEdit>("txtNotes");
  ASSERT_NE(notes, nullptr);
  notes->setFocus();
  QTest::keyClicks(notes, "two");
  QTest::keyClick(notes, Qt::Key_Return);
  QTest::keyClicks(notes, "lines");
  EXPECT_EQ(form.get<TextBox>("txtNotes").text(), "two\nlines");
  EXPECT_GE(std::count(form.events.begin(), form.events.end(), "change"), 3);
  view->detach();  // a detached view no longer touches the model
  QTest::keyClicks(notes, "late");
  EXPECT_EQ(form.get<TextBox>("txtNotes").text(), "two\nlines");
}

TEST_F(BindersTest, ChoicesListsAndCombosFollowTheModelAndTheUser) {
  auto& check = form.get<CheckBox>("chkOn");
  QTest::mouseClick(widget<QCheckBox>("chkOn"), Qt::LeftButton);
  EXPECT_EQ(check.value(), 1);
  check.setValue(2);
  EXPECT_EQ(widget<QCheckBox>("chkOn")->checkState(), Qt::PartiallyChecked);
  auto* left = widget<QRadioButton>("optSide", 0);
  auto* right = widget<QRadioButton>("optSide", 1);
  QTest::mouseClick(left, Qt::LeftButton);
  QTest::mouseClick(right, Qt::LeftButton);
  QTest::mouseClick(right, Qt::LeftButton);  // a click on the selected one keeps it
  EXPECT_TRUE(!form.get<OptionButton>("optSide", 0).value() &&
              form.get<OptionButton>("optSide", 1).value());

  auto& list = form.get<ListBox>("lstItems");
  for (const char* s : {"one", "two", "three"}) list.addItem(s);
  auto* listWidget = widget<QListWidget>("lstItems");
  ASSERT_EQ(listWidget->count(), 3);
  list.setListIndex(2);
  EXPECT_EQ(listWidget->currentRow(), 2);
  const QPoint second = listWidget->visualItemRect(listWidget->item(1)).center();
  QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(list.listIndex(), 1);
  QTest::mouseDClick(listWidget->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(form.events.back(), "list dblclick");
  auto& combo = form.get<ComboBox>("cboColour");
  for (const char* s : {"Red", "Green"}) combo.addItem(s);
  auto* comboWidget = widget<QComboBox>("cboColour");
  combo.setListIndex(1);
  EXPECT_EQ(comboWidget->currentText(), "Green");
  comboWidget->lineEdit()->selectAll();
  QTest::keyClicks(comboWidget->lineEdit(), "Blue");
  EXPECT_EQ(combo.text(), "Blue");
}

TEST_F(BindersTest, ButtonsLabelsPicturesDatesAndGrids) {
  QTest::mouseClick(widget<QPushButton>("cmdGo"), Qt::LeftButton);
  QTest::mouseClick(widget<QLabel>("lblName"), Qt::LeftButton);
  EXPECT_EQ(form.events, (std::vector<std::string>{"go", "label click"}));
  form.get<CommandButton>("cmdGo").setEnabled(false);
  QTest::mouseClick(widget<QPushButton>("cmdGo"), Qt::LeftButton);
  EXPECT_EQ(form.events.size(), 2u);

  quelo::testing::ScratchDir dir;
  testing::writePicture(dir / "photo.png", 40, 20, Qt::blue);
  auto& image = form.get<Image>("imgPhoto");
  image.setStretch(true);
  image.setPicture(dir / "photo.png");
  auto* picture = widget<PictureView>("imgPhoto");
  const int side = picture->width();  // fitted, proportions kept
  EXPECT_EQ(picture->pictureRect(), QRect(0, (picture->height() - side / 2) / 2, side, side / 2));
  image.setPicture(dir / "missing.png");
  EXPECT_TRUE(picture->pictureRect().isEmpty());

  auto& date = form.get<DatePicker>("dtpWhen");
  date.setValue(Date{39879.75});  // 2009-03-07 18:00
  auto* edit = widget<QDateEdit>("dtpWhen");
  EXPECT_EQ(edit->date(), QDate(2009, 3, 7));
  edit->setDate(QDate(2009, 3, 8));
  EXPECT_DOUBLE_EQ(date.value().serial, 39880.75);  // the time of day stays

  auto& grid = form.get<DataGrid>("grdRows");
  grid.setSize(3, 2);
  grid.setTextMatrix(0, 0, "Name");
  grid.setTextMatrix(2, 1, "x");
  grid.setCellPicture(1, 1, dir / "photo.png");
  testing::settle();  // the grid is drawn once the filling is over
  auto* table = widget<QTableWidget>("grdRows");
  ASSERT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->item(0, 0)->text(), "Name");
  EXPECT_TRUE(table->item(0, 0)->font().bold());  // the fixed row
  EXPECT_EQ(table->item(2, 1)->text(), "x");
  EXPECT_EQ(testing::colourAt(table, 1, 1), QColor(Qt::blue));  // drawn in its cell, shrunk to fit
  EXPECT_NE(testing::colourAt(table, 2, 0), QColor(Qt::blue));
}

// A column is as wide as the model says or its text needs, within a limit, under a header.
TEST_F(BindersTest, GridColumnsFitTheirTextWithinALimitUnderAHeader) {
  auto& grid = form.get<DataGrid>("grdRows");
  grid.setSize(2, 3);
  const char* header[] = {"Sold", "Note", "N"};
  const std::string values[] = {"2024-03-05 10:00:00", std::string(300, 'w'), "1"};
  for (int c = 0; c < 3; ++c) {
    grid.setTextMatrix(0, c, header[c]);
    grid.setTextMatrix(1, c, values[c]);
  }
  testing::settle();
  auto* table = widget<QTableWidget>("grdRows");
  const QFontMetrics fm = table->fontMetrics();
  EXPECT_GE(table->columnWidth(0), fm.horizontalAdvance(QString::fromStdString(values[0])));
  EXPECT_LT(table->columnWidth(1), fm.horizontalAdvance(QString::fromStdString(values[1])));
  EXPECT_GT(table->columnWidth(1), table->columnWidth(0));
  EXPECT_EQ(table->columnWidth(2), twipsToPixels(grid.colWidth(2), table));
  EXPECT_FALSE(table->horizontalHeader()->isHidden());
  EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal).toString(), "Sold");
  EXPECT_TRUE(table->isRowHidden(0));
}

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
    auto& text = placed(add<TextBox>("txtAnswer"), {120, 120, 2400, 315});
    text.onGotFocus = [this] { events.push_back("text got"); };
    text.onKeyPress = [](int& ascii) {
      if (ascii >= 'a' && ascii <= 'z') ascii -= 32;  // typed in capitals
    };
    auto& other = placed(add<TextBox>("txtOther"), {120, 540, 2400, 315});
    other.onValidate = [&other](bool& cancel) { cancel = other.text() == "stay"; };
    auto& cancel = placed(add<CommandButton>("cmdCancel"), {2640, 120, 1200, 375}, "Cancel");
    cancel.setCancel(true);
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
  void run(std::function<void(FormDialog&)> user) {
    h.presenter.whenShown = [user](Form&, FormDialog& d) {
      testing::activate(d);
      user(d);
    };
    form.show(true);
    h.presenter.whenShown = nullptr;
  }
};

// Keys reach the form first; Escape presses the Cancel button, whose unload ends the modal show.
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

TEST_F(PresenterTest, FocusFollowsTheModelAndTheUserValidateHoldsItAndTheCloseBoxMayBeRefused) {
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
    form.refuseClose = true;  // the close box asks the form, which may refuse
    d.close();
    EXPECT_TRUE(d.isVisible());
    form.refuseClose = false;
    d.close();
  });
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.unloadModes,
            (std::vector<UnloadMode>{UnloadMode::UserClosed, UnloadMode::UserClosed}));
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
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(boxes.show("Go on?", mb::kYesNo | mb::kQuestion, "Quelo"), mb::kNo);
  EXPECT_EQ(text, "Go on?");
  EXPECT_EQ(title, "Quelo");
  testing::soon([&] { QApplication::activeModalWidget()->close(); });
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

class Gadget : public QObject {
  Q_OBJECT
  Q_PROPERTY(int count READ count WRITE setCount)
  Q_PROPERTY(QString title MEMBER title_)

 public:
  int count() const { return count_; }
  void setCount(int c) { count_ = c; }
  Q_INVOKABLE QString join(const QString& a, int n) const { return a + QString::number(n); }
  Q_INVOKABLE QVariant echo(const QVariant& v) const { return v; }
  Q_INVOKABLE void touch() { ++touched; }
  int touched = 0;
  QString title_;

 private:
  int count_ = 0;
};

TEST(QObjectDispatch, PropertiesAndInvokableMethodsByNameWithoutRegardToCase) {
  Gadget g;
  QObjectDispatch d(&g);
  ASSERT_TRUE(d.put("COUNT", Variant("42")));  // a text that reads as a number
  EXPECT_EQ(g.count(), 42);
  EXPECT_EQ(d.get("count").value(), Variant(int32_t{42}));
  ASSERT_TRUE(d.put("Title", Variant("héllo")));
  EXPECT_EQ(g.title_, QString::fromUtf8("héllo"));
  EXPECT_EQ(d.call("Join", {Variant("n="), Variant(int32_t{7})}).value(), Variant("n=7"));
  EXPECT_EQ(d.call("echo", {Variant(2.5)}).value(), Variant(2.5));
  ASSERT_TRUE(d.call("touch").isOk());
  EXPECT_EQ(g.touched, 1);
  EXPECT_EQ(d.put("count", Variant("many")).error().number, err::kTypeMismatch);
  EXPECT_EQ(d.call("join", {Variant("x")}).error().number, err::kWrongArgumentCount);
  auto gone = std::make_unique<Gadget>();  // an object that is gone answers with an error
  QObjectDispatch late(gone.get());
  gone.reset();
  EXPECT_EQ(late.get("count").error().number, err::kObjectRequired);
  EXPECT_EQ(QObjectDispatch::wrap(nullptr), nullptr);
}

TEST(QObjectDispatch, TextEditsAnswerTheClassicTextBoxMembers) {
  QWidget host;  // children are visible by their own flag until hidden
  auto& line = *new QLineEdit(&host);
  auto& plain = *new QPlainTextEdit(&host);
  for (QWidget* w : {static_cast<QWidget*>(&line), static_cast<QWidget*>(&plain)}) {
    w->setObjectName("txtLog");
    QObjectDispatch d(w);
    EXPECT_EQ(d.get("Name").value(), Variant("txtLog"));
    ASSERT_TRUE(d.put("Text", Variant("a😀b")));  // positions count characters, not UTF-16 units
    ASSERT_TRUE(d.put("SelStart", Variant(int32_t{3})));
    ASSERT_TRUE(d.put("SelText", Variant("!")));
    EXPECT_EQ(d.get("Text").value(), Variant("a😀b!"));
    ASSERT_TRUE(d.put("SelStart", Variant(int32_t{1})));
    ASSERT_TRUE(d.put("SelLength", Variant(int32_t{1})));
    EXPECT_EQ(d.get("SelText").value(), Variant("😀"));
    EXPECT_EQ(d.get("SelLength").value(), Variant(int32_t{1}));
    ASSERT_TRUE(d.put("Locked", Variant(true)));
    EXPECT_EQ(d.get("Locked").value(), Variant(true));
    ASSERT_TRUE(d.put("Enabled", Variant(false)));
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(d.get("Visible").value(), Variant(true));  // its own flag, shown on screen or not
  }
  QObjectDispatch d(&plain);
  ASSERT_TRUE(d.put("Text", Variant("one")));
  ASSERT_TRUE(d.put("SelStart", Variant(int32_t{3})));
  ASSERT_TRUE(d.put("SelText", Variant("\r\ntwo")));  // CR LF is one line break
  EXPECT_EQ(plain.toPlainText(), "one\ntwo");
}

TEST(QObjectDispatch, LabelsTakePicturesAndRichEditsEmbedFiles) {
  quelo::testing::ScratchDir dir;
  testing::writePicture(dir / "red.png", 8, 6, Qt::red);
  QLabel label;
  QObjectDispatch d(&label);
  ASSERT_TRUE(d.put(
      "Picture", Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>(dir / "red.png")))));
  EXPECT_EQ(label.pixmap().size(), QSize(8, 6));
  EXPECT_EQ(d.get("Picture").value().objectOrNull()->get("Path").value(), Variant(dir / "red.png"));
  ASSERT_TRUE(d.put("Picture", Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>("")))));
  EXPECT_TRUE(label.pixmap().isNull());
  EXPECT_EQ(d.put("OLEObject", Variant("x")).error().number,
            err::kMemberNotFound);  // not a rich edit
  QTextEdit rich;
  QObjectDispatch r(&rich);
  dir.write("notes.txt", "n");
  ASSERT_TRUE(r.put("OLEObject", Variant("*" + dir / "red.png")));
  ASSERT_TRUE(r.put("OLEObject", Variant("*" + dir / "notes.txt")));
  EXPECT_TRUE(rich.toHtml().contains("<img")) << rich.toHtml().toStdString();
  EXPECT_TRUE(rich.toHtml().contains("<a href=\"file://")) << rich.toHtml().toStdString();
  EXPECT_TRUE(rich.toPlainText().endsWith("notes.txt"));
}

}  // namespace
}  // namespace quelo::qt

#include "widgets_test.moc"
