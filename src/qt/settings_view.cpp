#include "qt/settings_view.h"

#include <QComboBox>

#include "qt/form_dialog.h"

namespace quelo::qt {
namespace {

// The binder refills the list whenever the model's items change, so each entry gets its font as
// it arrives.
void showEntriesInTheirFonts(QComboBox& fonts, int first, int last) {
  for (int i = first; i <= last; ++i) {
    QFont font = fonts.font();
    font.setFamilies({fonts.itemText(i)});
    fonts.setItemData(i, font, Qt::FontRole);
  }
}

}  // namespace

void decorateSettingsForm(FormDialog& dialog) {
  auto* fonts = qobject_cast<QComboBox*>(dialog.widgetOf("cboFontName"));
  if (!fonts) return;
  showEntriesInTheirFonts(*fonts, 0, fonts->count() - 1);
  QObject::connect(fonts->model(), &QAbstractItemModel::rowsInserted, fonts,
                   [fonts](const QModelIndex&, int first, int last) { showEntriesInTheirFonts(*fonts, first, last); });
}

}  // namespace quelo::qt
