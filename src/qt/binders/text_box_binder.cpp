// TextBox: a QLineEdit, or a QPlainTextEdit for several lines. Typing sets the model's text;
// the model's selection (in UTF-8 bytes) and the widget's (in characters) follow each other.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class TextBoxBinder : public ControlBinder {
 public:
  TextBoxBinder(forms::TextBox& m, QWidget* parent)
      : ControlBinder(m, m.multiLine() ? static_cast<QWidget*>(new QPlainTextEdit(parent))
                                       : new QLineEdit(parent)) {
    if (auto* line = qobject_cast<QLineEdit*>(widget())) {
      connect(line, &QLineEdit::textEdited, this, [this](const QString& t) { userText(t); });
      connect(line, &QLineEdit::selectionChanged, this, [this] { userSelection(); });
      connect(line, &QLineEdit::cursorPositionChanged, this, [this] { userSelection(); });
    } else {
      auto* edit = widgetAs<QPlainTextEdit>();
      edit->setTabChangesFocus(true);  // Tab moves on, as in every other box of a form
      connect(edit, &QPlainTextEdit::textChanged, this,
              [this, edit] { userText(edit->toPlainText()); });
      connect(edit, &QPlainTextEdit::cursorPositionChanged, this, [this] { userSelection(); });
      connect(edit, &QPlainTextEdit::selectionChanged, this, [this] { userSelection(); });
    }
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::TextBox>();
    Writing guard(*this);
    if (auto* line = qobject_cast<QLineEdit*>(widget())) {
      if (is(p, P::Text) && line->text() != qs(m->text())) line->setText(qs(m->text()));
      if (is(p, P::Locked)) line->setReadOnly(m->locked());
      if (!p) line->setMaxLength(m->maxLength() > 0 ? m->maxLength() : 32767);
    } else {
      auto* edit = widgetAs<QPlainTextEdit>();
      if (is(p, P::Text) && edit->toPlainText() != qs(m->text())) edit->setPlainText(qs(m->text()));
      if (is(p, P::Locked)) edit->setReadOnly(m->locked());
    }
    if (is(p, P::Text) || is(p, P::Selection)) showSelection(*m);
    if (is(p, P::Locked)) shade(m->locked());
  }

 private:
  // A locked box is shaded like the buttons, so it reads as one the user cannot type in.
  void shade(bool locked) {
    QPalette palette = widget()->palette();
    const QPalette usual =
        widget()->parentWidget() ? widget()->parentWidget()->palette() : QPalette();
    palette.setBrush(QPalette::Base, locked ? usual.button() : usual.base());
    widget()->setPalette(palette);
  }

  void showSelection(const forms::TextBox& m) {
    const int start = bytesToChars(m.text(), m.selStart());
    const int end = bytesToChars(m.text(), m.selStart() + m.selLength());
    if (auto* line = qobject_cast<QLineEdit*>(widget())) {
      if (end > start)
        line->setSelection(start, end - start);
      else
        line->setCursorPosition(start);
      return;
    }
    auto* edit = widgetAs<QPlainTextEdit>();
    QTextCursor c = edit->textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
  }

  void userText(const QString& text) {
    if (writing() || !model()) return;
    {
      Writing guard(*this);
      modelAs<forms::TextBox>()->setText(utf8(text));
    }
    if (!model()) return;  // a Change handler may have closed the form
    userSelection();  // the model put its caret at the end; the user's caret is where they typed
    if (currentText() != qs(modelAs<forms::TextBox>()->text()))
      update(P::Text);  // a handler changed it
  }

  QString currentText() const {
    if (auto* line = qobject_cast<QLineEdit*>(widget())) return line->text();
    return widgetAs<QPlainTextEdit>()->toPlainText();
  }

  void userSelection() {
    if (writing() || !model()) return;
    QString text;
    int start = 0, length = 0;
    if (auto* line = qobject_cast<QLineEdit*>(widget())) {
      text = line->text();
      start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
      length = static_cast<int>(line->selectedText().size());
    } else {
      auto* edit = widgetAs<QPlainTextEdit>();
      text = edit->toPlainText();
      start = edit->textCursor().selectionStart();
      length = edit->textCursor().selectionEnd() - start;
    }
    auto* m = modelAs<forms::TextBox>();
    Writing guard(*this);
    const int byteStart = charsToBytes(text, start);
    m->setSelStart(byteStart);
    m->setSelLength(charsToBytes(text, start + length) - byteStart);
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindTextBox(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<TextBoxBinder>(static_cast<forms::TextBox&>(model), parent);
}

}  // namespace quelo::qt
