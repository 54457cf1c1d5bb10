#include "qt/settings_view.h"

#include <QComboBox>
#include <QFontInfo>

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

// With the chosen font not installed the list selects nothing: it names the font shown instead,
// in the colour of a chosen entry (a greyed name would look like a disabled list).
void nameTheFontInUse(QComboBox& fonts, const QWidget* sample) {
  if (!sample) return;
  fonts.setPlaceholderText(QFontInfo(sample->font()).family());
  QPalette palette = fonts.palette();
  palette.setColor(QPalette::PlaceholderText, palette.color(QPalette::ButtonText));
  fonts.setPalette(palette);
}

}  // namespace

void decorateSettingsForm(FormDialog& dialog) {
  auto* fonts = qobject_cast<QComboBox*>(dialog.widgetOf("cboFontName"));
  if (!fonts) return;
  nameTheFontInUse(*fonts, dialog.widgetOf("lblFontName"));
  showEntriesInTheirFonts(*fonts, 0, fonts->count() - 1);
  QObject::connect(fonts->model(), &QAbstractItemModel::rowsInserted, fonts,
                   [fonts](const QModelIndex&, int first, int last) { showEntriesInTheirFonts(*fonts, first, last); });
}

}  // namespace quelo::qt
