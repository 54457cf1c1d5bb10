#include "qt/qobject_dispatch.h"

#include "fakes/scratch_dir.h"
#include "platform/picture.h"
#include "qt/qt_test_support.h"

namespace quelo::qt {
namespace {

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
  EXPECT_EQ(d.get("nothing").error().number, err::kMemberNotFound);
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
  ASSERT_TRUE(d.put("Picture", Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>(dir / "red.png")))));
  EXPECT_EQ(label.pixmap().size(), QSize(8, 6));
  EXPECT_EQ(d.get("Picture").value().objectOrNull()->get("Path").value(), Variant(dir / "red.png"));
  ASSERT_TRUE(d.put("Picture", Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>("")))));
  EXPECT_TRUE(label.pixmap().isNull());
  EXPECT_EQ(d.put("OLEObject", Variant("x")).error().number, err::kMemberNotFound);  // not a rich edit
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

#include "qobject_dispatch_test.moc"
