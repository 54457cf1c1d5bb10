

#include "fakes/scratch_dir.h"
#include "forms/form.h"
#include "forms/form_presenter.h"
#include "forms/layout.h"
#include "qt/form_view.h"
#include "qt/picture_view.h"
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
  // An inch is 96 pixels or more (as the font is larger than the design's); the form's first
  // placing and a later one agree.
  form.get<Label>("lblName").setBounds({0, 0, 1440, 1440});
  const QRect inch = label->geometry();
  EXPECT_EQ(inch.topLeft(), QPoint(0, 0));
  EXPECT_GE(inch.width(), 96);
  EXPECT_GE(inch.height(), 96);
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
}

TEST_F(BindersTest, ChoicesGoToTheModelAndBack) {
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
  EXPECT_FALSE(form.get<OptionButton>("optSide", 0).value());
  EXPECT_TRUE(form.get<OptionButton>("optSide", 1).value());
  EXPECT_FALSE(left->isChecked());
  EXPECT_TRUE(right->isChecked());
}

TEST_F(BindersTest, ListsAndCombosFollowTheModelAndTheUser) {
  auto& list = form.get<ListBox>("lstItems");
  for (const char* s : {"one", "two", "three"}) list.addItem(s);
  auto* listWidget = widget<QListWidget>("lstItems");
  ASSERT_EQ(listWidget->count(), 3);
  list.setListIndex(2);
  EXPECT_EQ(listWidget->currentRow(), 2);
  QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, {},
                    listWidget->visualItemRect(listWidget->item(1)).center());
  EXPECT_EQ(list.listIndex(), 1);
  QTest::mouseDClick(listWidget->viewport(), Qt::LeftButton, {},
                     listWidget->visualItemRect(listWidget->item(1)).center());
  EXPECT_EQ(form.events.back(), "list dblclick");
  auto& combo = form.get<ComboBox>("cboColour");
  for (const char* s : {"Red", "Green"}) combo.addItem(s);
  auto* comboWidget = widget<QComboBox>("cboColour");
  EXPECT_TRUE(comboWidget->isEditable());  // style 0
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
  EXPECT_FALSE(picture->pictureRect().isEmpty());
  const int side = picture->width();  // an inch across, scaled for the font
  EXPECT_EQ(picture->pictureRect(), QRect(0, (picture->height() - side / 2) / 2, side,
                                          side / 2));  // fitted, proportions kept
  image.setPicture(dir / "missing.png");
  EXPECT_TRUE(picture->pictureRect().isEmpty());  // no picture stands anywhere

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
  // The picture is drawn in its cell, shrunk to fit.
  const QImage shown = table->viewport()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(table->visualRect(table->model()->index(1, 1)).center()),
            QColor(Qt::blue));
  EXPECT_NE(shown.pixelColor(table->visualRect(table->model()->index(2, 0)).center()),
            QColor(Qt::blue));
}

// A column is as wide as the model says or as its text needs, within a limit; the first row is
// the header, whose edges the user drags.
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
  EXPECT_EQ(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
  EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal).toString(), "Sold");
  EXPECT_TRUE(table->isRowHidden(0));
}

TEST_F(BindersTest, ADetachedViewNoLongerTouchesTheModel) {
  auto* line = widget<QLineEdit>("txtName");
  view->detach();
  line->setFocus();
  QTest::keyClicks(line, "late");
  EXPECT_EQ(form.get<TextBox>("txtName").text(), "");
}

}  // namespace
}  // namespace quelo::qt
