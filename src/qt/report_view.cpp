#include "qt/report_view.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "forms/form.h"
#include "forms/standard_controls.h"
#include "platform/shell.h"
#include "qt/binders/binders.h"
#include "qt/form_dialog.h"
#include "qt/form_view.h"
#include "qt/qt_text.h"
#include "report_forms/report_form.h"

namespace quelo::qt {
namespace {

// The status frame's heading split at its bars, one column head over each of its controls.
void statusFrameAsGrid(FormDialog& dialog) {
  auto* frame = qobject_cast<QGroupBox*>(dialog.widgetOf("Frame3"));
  auto* heading = qobject_cast<QLabel*>(dialog.widgetOf("lblReportStatus"));
  if (!frame || !heading) return;
  const QStringList heads = heading->text().split(u'|');
  const char* cells[] = {"lblTotalPages", "lblElapsedSeconds", "lblCurPage", "chkDeleteOnCancel",
                         "chkCancel"};
  if (heads.size() != static_cast<qsizetype>(std::size(cells))) return;
  heading->hide();
  auto* grid = new QGridLayout(frame);
  for (int i = 0; i < heads.size(); ++i) {
    QWidget* cell = dialog.widgetOf(cells[i]);
    if (!cell) continue;
    auto* head = new QLabel(heads[i].trimmed().replace(u'_', u' '));
    head->setWordWrap(true);
    head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    head->setBuddy(cell);
    cell->setAccessibleName(head->text());
    grid->addWidget(head, 0, i);
    grid->addWidget(cell, 1, i, Qt::AlignHCenter);
    grid->setColumnStretch(i, 1);
  }
}

class OutcomeLine : public QLabel {
 public:
  OutcomeLine(FormDialog& dialog, Shell& shell) : dialog_(dialog), shell_(shell) {
    setObjectName(QStringLiteral("lblOutcome"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    setContentsMargins(8, 0, 8, 6);
    connect(this, &QLabel::linkActivated, this, [this](const QString& folder) {
      if (Status s = shell_.open(utf8(folder)); !s)
        setText(QStringLiteral("The folder could not be opened: %1")
                    .arg(qs(s.error().message).toHtmlEscaped()));
    });
    if (auto* generate = qobject_cast<QAbstractButton*>(dialog.widgetOf("cmdGenerate")))
      connect(generate, &QAbstractButton::clicked, this, [this] { tell(); });
    // The status frame shows while a run writes: the last run's outcome would be stale by then.
    if (QWidget* status = dialog.widgetOf("Frame3")) status->installEventFilter(this);
  }

 private:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      setToolTip(QString());
      setText(QStringLiteral("Writing the pages..."));
    }
    return false;
  }

  // Runs after the form's own Generate has finished.
  void tell() {
    auto* form = dynamic_cast<QueloReportForm*>(dialog_.view().form());
    if (!form) return;
    const ReportOutcome& outcome = form->lastOutcome();
    if (!outcome.refusal.empty())
      return setText(QStringLiteral("Nothing was written: %1").arg(html(outcome.refusal)));
    if (outcome.files.empty() && outcome.errors.empty() && !outcome.cancelled)
      return setText(whatToDo(*form));
    QString text = written(outcome);
    if (!outcome.errors.empty())
      text += QStringLiteral(" %1 could not be written: %2")
                  .arg(outcome.errors.size())
                  .arg(html(outcome.errors.front()));
    setToolTip(QString());
    if (!outcome.warnings.empty()) {
      const qsizetype n = static_cast<qsizetype>(outcome.warnings.size());
      text += n == 1 ? QStringLiteral(" (1 note: see its tool tip)")
                     : QStringLiteral(" (%1 notes: see their tool tip)").arg(n);
      QStringList notes;
      for (const std::string& w : outcome.warnings) notes << qs(w);
      setToolTip(notes.join(u'\n'));
    }
    setText(text);
  }

  static QString html(const std::string& text) { return qs(text).toHtmlEscaped(); }

  // Generate stopped before writing: the output list is empty, or the report has no usable name.
  static QString whatToDo(QueloReportForm& form) {
    if (form.get<forms::ListBox>("lstOutput").listCount() == 0)
      return QStringLiteral(
          "Choose the fields to report first: mark them on the left and press -->>.");
    return QStringLiteral("Name the report first: press Save As and type a file name.");
  }

  static QString written(const ReportOutcome& outcome) {
    const qsizetype pages = static_cast<qsizetype>(outcome.files.size());
    const QString ending =
        outcome.cancelled ? QStringLiteral(" before the run was cancelled.") : QStringLiteral(".");
    if (pages == 0) return QStringLiteral("No page was kept") + ending;
    const QString folder = QFileInfo(qs(outcome.files.front())).absolutePath();
    return QStringLiteral("%1 %2 written to %3%4 <a href=\"%5\">Open the folder</a>")
        .arg(QString::number(pages), pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"),
             QDir::toNativeSeparators(folder).toHtmlEscaped(), ending, folder.toHtmlEscaped());
  }

  FormDialog& dialog_;
  Shell& shell_;
};

// Names for the boxes that no label of their own names (screen readers, the label's buddy).
// A frame's own access key (the first one its title marks) leads to the given control, wherever
// the focus is; a group box would keep the focus where it is when it is already inside.
class ShortcutFocus : public QObject {
 public:
  ShortcutFocus(QWidget& frame, QWidget& target) : QObject(&frame), target_(target) {
    frame.installEventFilter(this);
  }

 private:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return false;
    target_.setFocus(Qt::ShortcutFocusReason);
    return true;
  }

  QWidget& target_;
};

void nameTheBoxes(FormDialog& dialog) {
  const std::pair<const char*, const char*> names[] = {{"lstAvailable", "Available fields"},
                                                       {"lstOutput", "Fields to output in report"},
                                                       {"txtTitle", "Title"},
                                                       {"txtFileName", "File name"},
                                                       {"cboBGcolor", "Color"},
                                                       {"MSHFlexGrid1", "Preview Records"}};
  for (const auto& [control, name] : names)
    if (QWidget* w = dialog.widgetOf(control)) w->setAccessibleName(QString::fromLatin1(name));
  // Their labels lead to them with Alt and a letter that no button of the form takes.
  struct Buddy {
    int label;
    const char *box, *text;
  };
  for (const Buddy& b : {Buddy{1, "txtTitle", "&Title"}, Buddy{2, "cboBGcolor", "Colo&r"}})
    if (auto* l = qobject_cast<QLabel*>(dialog.widgetOf("Label1", b.label))) {
      l->setText(QString::fromLatin1(b.text));
      l->setBuddy(dialog.widgetOf(b.box));
    }
  // The field lists' headings are the frame's caption, keyed Alt+B and Alt+O.
  auto* frame = dialog.widgetOf("Frame1");
  auto* model = dynamic_cast<forms::Frame*>(dialog.view().form()->find("Frame1"));
  QWidget* lists[] = {dialog.widgetOf("lstAvailable"), dialog.widgetOf("lstOutput")};
  if (!model || !lists[0] || !lists[1]) return;
  QString keyed = qs(model->caption());
  keyed.replace(QStringLiteral("Available"), QStringLiteral("Availa&ble"))
      .replace(QStringLiteral("to output"), QStringLiteral("to &output"));
  frame->setProperty(kKeyedCaption, keyed);
  new ShortcutFocus(*frame, *lists[0]);
  QObject::connect(new QShortcut(QKeySequence(QStringLiteral("Alt+O")), frame),
                   &QShortcut::activated, lists[1],
                   [list = lists[1]] { list->setFocus(Qt::ShortcutFocusReason); });
}

}  // namespace

void decorateReportForm(FormDialog& dialog, Shell& shell) {
  statusFrameAsGrid(dialog);
  nameTheBoxes(dialog);
  if (auto* name = qobject_cast<QLineEdit*>(dialog.widgetOf("txtFileName")))
    name->setPlaceholderText(QStringLiteral("Save As names it"));
  if (auto* layout = qobject_cast<QBoxLayout*>(dialog.layout()))
    layout->addWidget(new OutcomeLine(dialog, shell));
}

}  // namespace quelo::qt
