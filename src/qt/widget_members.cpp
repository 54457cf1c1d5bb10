#include "qt/widget_members.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUrl>

#include "platform/picture.h"
#include "automation/text.h"
#include "qt/qt_text.h"
#include "qt/variant_qt.h"

namespace quelo::qt {
namespace {

enum Member : int32_t { kName = 1, kEnabled, kVisible, kSetFocus, kBackPicture, kText, kLocked, kSelStart, kSelLength,
                        kSelText, kCaption, kPicture, kOleObject };

// Which classic members each kind of object answers.
bool answers(QObject* o, Member m) {
  auto* w = qobject_cast<QWidget*>(o);
  const bool edit = qobject_cast<QLineEdit*>(o) || qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o);
  const bool captioned = qobject_cast<QLabel*>(o) || qobject_cast<QAbstractButton*>(o) || qobject_cast<QGroupBox*>(o);
  switch (m) {
    case kName: return true;
    case kEnabled: case kVisible: case kSetFocus: case kBackPicture: return w != nullptr;
    case kText: return edit || captioned || qobject_cast<QComboBox*>(o);
    case kLocked: case kSelStart: case kSelLength: case kSelText: return edit;
    case kCaption: return captioned;
    case kPicture: return qobject_cast<QLabel*>(o) != nullptr;
    case kOleObject: return qobject_cast<QTextEdit*>(o) != nullptr;
  }
  return false;
}

const std::pair<const char*, Member> kNames[] = {
    {"Name", kName},           {"Enabled", kEnabled},     {"Visible", kVisible},     {"SetFocus", kSetFocus},
    {"BackPicture", kBackPicture}, {"Text", kText},      {"Locked", kLocked},       {"SelStart", kSelStart},
    {"SelLength", kSelLength}, {"SelText", kSelText},     {"Caption", kCaption},     {"Picture", kPicture},
    {"OLEObject", kOleObject}};

// Text as the classic controls take it: CR LF is one line break.
QString editText(const Variant& v) {
  auto s = toString(v);
  return qs(s ? s.value() : std::string()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

Result<Variant> pictureOf(QObject* o, const char* slot) {
  return Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>(utf8(o->property(slot).toString()))));
}

// A picture object, or a file name, for a picture member.
std::optional<QString> picturePathOf(const Variant& v) {
  if (auto* p = dynamic_cast<Picture*>(v.objectOrNull().get())) return qs(p->path());
  if (v.isString()) return qs(v.asString());
  return std::nullopt;
}

// Positions in characters (code points), as the classic members count them, and in Qt's UTF-16
// units.
int unitsOf(const QString& s, int codePoints) {
  int units = 0;
  for (int n = 0; n < codePoints && units < s.size(); ++n) units += s[units].isHighSurrogate() ? 2 : 1;
  return std::min(units, static_cast<int>(s.size()));
}
int codePointsOf(const QString& s, int units) { return static_cast<int>(s.left(units).toUcs4().size()); }

// Line edits and the two text edits, through one set of operations. Positions are in characters.
struct TextEdit {
  QLineEdit* line = nullptr;
  QPlainTextEdit* plain = nullptr;
  QTextEdit* rich = nullptr;

  explicit TextEdit(QObject* o)
      : line(qobject_cast<QLineEdit*>(o)), plain(qobject_cast<QPlainTextEdit*>(o)), rich(qobject_cast<QTextEdit*>(o)) {}
  QTextCursor cursor() const { return plain ? plain->textCursor() : rich->textCursor(); }
  void setCursor(const QTextCursor& c) { plain ? plain->setTextCursor(c) : rich->setTextCursor(c); }
  QString text() const { return line ? line->text() : plain ? plain->toPlainText() : rich->toPlainText(); }
  void setText(const QString& t) { line ? line->setText(t) : plain ? plain->setPlainText(t) : rich->setPlainText(t); }
  bool locked() const { return line ? line->isReadOnly() : plain ? plain->isReadOnly() : rich->isReadOnly(); }
  void setLocked(bool on) { line ? line->setReadOnly(on) : plain ? plain->setReadOnly(on) : rich->setReadOnly(on); }
  int startUnits() const {
    if (line) return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    return cursor().selectionStart();
  }
  int endUnits() const {
    if (line) return startUnits() + static_cast<int>(line->selectedText().size());
    return cursor().selectionEnd();
  }
  int selStart() const { return codePointsOf(text(), startUnits()); }
  int selLength() const { return codePointsOf(text(), endUnits()) - selStart(); }
  QString selText() const { return line ? line->selectedText() : cursor().selectedText().replace(QChar::ParagraphSeparator, '\n'); }
  void select(int startChars, int lengthChars) {
    const QString t = text();
    const int start = unitsOf(t, std::max(startChars, 0));
    const int length = unitsOf(t, std::max(startChars, 0) + std::max(lengthChars, 0)) - start;
    if (line) {
      line->setSelection(start, length);
      if (length == 0) line->setCursorPosition(start);
      return;
    }
    QTextCursor c = cursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    setCursor(c);
  }
  void replaceSelection(const QString& t) {
    if (line) {
      line->insert(t);
      return;
    }
    QTextCursor c = cursor();
    c.insertText(t);
    setCursor(c);
  }
};

Result<Variant> number(const Variant& v, int32_t& out) {
  auto n = toLong(v);
  if (!n) return n.error();
  out = n.value();
  return Variant();
}

Result<Variant> getMember(QObject* o, Member m) {
  auto* w = qobject_cast<QWidget*>(o);
  switch (m) {
    case kName: return Variant(utf8(o->objectName()));
    case kEnabled: return Variant(w->isEnabled());
    case kVisible: return Variant(!w->isHidden());
    case kBackPicture: return pictureOf(o, "queloBackPicture");
    case kPicture: return pictureOf(o, "queloPicture");
    case kLocked: return Variant(TextEdit(o).locked());
    case kSelStart: return Variant(static_cast<int32_t>(TextEdit(o).selStart()));
    case kSelLength: return Variant(static_cast<int32_t>(TextEdit(o).selLength()));
    case kSelText: return Variant(utf8(TextEdit(o).selText()));
    case kText:
    case kCaption: {
      if (auto* l = qobject_cast<QLabel*>(o)) return Variant(utf8(l->text()));
      if (auto* b = qobject_cast<QAbstractButton*>(o)) return Variant(utf8(b->text()));
      if (auto* g = qobject_cast<QGroupBox*>(o)) return Variant(utf8(g->title()));
      if (auto* c = qobject_cast<QComboBox*>(o)) return Variant(utf8(c->currentText()));
      return Variant(utf8(TextEdit(o).text()));
    }
    default: return memberNotFound("property");
  }
}

void setBackPicture(QWidget* w, const QString& path) {
  w->setProperty("queloBackPicture", path);
  QPalette palette = w->palette();
  if (path.isEmpty()) palette.setBrush(QPalette::Window, QWidget().palette().brush(QPalette::Window));
  else palette.setBrush(QPalette::Window, QBrush(QPixmap(path).scaled(w->size())));
  w->setPalette(palette);
  w->setAutoFillBackground(!path.isEmpty());
}

void insertObject(QTextEdit* edit, QString path) {
  if (path.startsWith('*')) path.remove(0, 1);
  QTextCursor c = edit->textCursor();
  if (QImageReader(path).canRead()) c.insertImage(QImage(path));
  else c.insertHtml(QStringLiteral("<a href=\"%1\">%2</a>")
                        .arg(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded), QFileInfo(path).fileName().toHtmlEscaped()));
  edit->setTextCursor(c);
}

Result<Variant> putMember(QObject* o, Member m, const Variant& v) {
  auto* w = qobject_cast<QWidget*>(o);
  int32_t n = 0;
  switch (m) {
    case kName: o->setObjectName(editText(v)); return Variant();
    case kEnabled: case kVisible: case kLocked: {
      auto on = toBool(v);
      if (!on) return on.error();
      if (m == kEnabled) w->setEnabled(on.value());
      else if (m == kVisible) w->setVisible(on.value());
      else TextEdit(o).setLocked(on.value());
      return Variant();
    }
    case kSelStart: {
      auto r = number(v, n);
      if (r) TextEdit(o).select(n, 0);
      return r;
    }
    case kSelLength: {
      auto r = number(v, n);
      TextEdit e(o);
      if (r) e.select(e.selStart(), n);
      return r;
    }
    case kSelText: TextEdit(o).replaceSelection(editText(v)); return Variant();
    case kText:
    case kCaption:
      if (auto* l = qobject_cast<QLabel*>(o)) l->setText(editText(v));
      else if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(editText(v));
      else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(editText(v));
      else if (auto* c = qobject_cast<QComboBox*>(o)) c->setCurrentText(editText(v));
      else TextEdit(o).setText(editText(v));
      return Variant();
    case kPicture:
    case kBackPicture: {
      auto path = picturePathOf(v);
      if (!path) return makeError(err::kTypeMismatch, "Type mismatch");
      if (m == kBackPicture) {
        setBackPicture(w, *path);
      } else if (auto* l = qobject_cast<QLabel*>(o)) {
        l->setProperty("queloPicture", *path);
        if (path->isEmpty()) l->clear();
        else l->setPixmap(QPixmap(*path));
      }
      return Variant();
    }
    case kOleObject: insertObject(qobject_cast<QTextEdit*>(o), editText(v)); return Variant();
    default: return memberNotFound("property");
  }
}

}  // namespace

std::optional<int32_t> widgetMemberId(QObject* object, std::string_view name) {
  for (const auto& [n, m] : kNames)
    if (equalsIgnoreCase(n, name) && answers(object, m)) return m;
  return std::nullopt;
}

Result<Variant> invokeWidgetMember(QObject* object, int32_t id, InvokeKind kind, Args& args) {
  const auto m = static_cast<Member>(id);
  if (!answers(object, m)) return makeError(err::kMemberNotFound, "Object doesn't support this property or method");
  if (m == kSetFocus) {
    qobject_cast<QWidget*>(object)->setFocus(Qt::OtherFocusReason);
    return Variant();
  }
  if (kind == InvokeKind::PropertyPut) {
    if (args.empty()) return makeError(err::kWrongArgumentCount, "Wrong number of arguments");
    return putMember(object, m, args.back());
  }
  return getMember(object, m);
}

}  // namespace quelo::qt
