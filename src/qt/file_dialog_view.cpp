#include "qt/file_dialog_view.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include "forms/file_lists.h"
#include "forms/standard_controls.h"
#include "qt/form_dialog.h"
#include "qt/picture_view.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

// A typed name is meant as a folder when it ends with a separator or names one that exists.
class FolderEntry : public QObject {
 public:
  FolderEntry(FormDialog& dialog, QLineEdit& box) : QObject(&box), dialog_(dialog), box_(box) {
    box.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter) && openTypedFolder();
  }

 private:
  bool openTypedFolder() {
    forms::Form* form = dialog_.view().form();
    const QString typed = box_.text().trimmed();
    if (!form || typed.isEmpty()) return false;
    auto* folders = &form->get<forms::DirListBox>("Dir1");
    auto* name = &form->get<forms::TextBox>("txtFileName");
    QString path = typed.startsWith(u'~') ? QDir::homePath() + typed.mid(1) : typed;
    if (QFileInfo(path).isRelative()) path = QDir(qs(folders->path())).filePath(path);
    const QFileInfo folder(path);
    const bool meantAsFolder = typed.endsWith(u'/') || folder.isDir();
    if (!meantAsFolder) return false;
    if (!folder.isDir()) return tell(QStringLiteral("No folder %1").arg(typed));
    if (!folder.isReadable() || !folder.isExecutable() ||
        !folders->setPath(utf8(QDir::cleanPath(folder.absoluteFilePath()))))
      return tell(QStringLiteral("The folder %1 cannot be opened").arg(typed));
    name->setText({});
    return true;
  }

  bool tell(const QString& why) {
    QToolTip::showText(box_.mapToGlobal(QPoint(0, box_.height())), why, &box_);
    return true;
  }

  FormDialog& dialog_;
  QLineEdit& box_;
};

}  // namespace

void decorateFileDialog(FormDialog& dialog) {
  if (auto* box = qobject_cast<QLineEdit*>(dialog.widgetOf("txtFileName")))
    new FolderEntry(dialog, *box);
  // The preview is framed and named, so that it shows where a chosen picture will appear.
  if (auto* preview = qobject_cast<PictureView*>(dialog.widgetOf("ImgChosenPhoto")))
    preview->setFramed(true, QStringLiteral("Picture preview"));
  // Each label's access key leads to the box under it, and names that box to a reader of the screen.
  const char* boxes[] = {"Drive1", "Dir1", "Combo1", "flbPhoto", "txtFileName"};
  for (int i = 0; i < 5; ++i)
    if (auto* label = qobject_cast<QLabel*>(dialog.widgetOf("lblFileDialog", i))) label->setBuddy(dialog.widgetOf(boxes[i]));
}

}  // namespace quelo::qt
