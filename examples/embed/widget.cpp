// A host window with the control on it, designed in the designer (host.ui): a click on the
// control asks it to open a web page; a report on records the program holds shows its progress
// through the reportStatus signal, which could cancel it.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>

#include <varnikquelo/widget.h>

#include "ui_host.h"

namespace {

// A report of the program's own records in FOLDER/Reports/; the number of statuses seen.
int reportTeas(varnikquelo::QueloWidget* control, const QString& folder) {
  int statuses = 0;
  auto status = QObject::connect(control, &varnikquelo::QueloWidget::reportStatus,
                                 [&](int, int, int, bool* cancel, bool*) {
                                   ++statuses;
                                   *cancel = false;  // true stops the report
                                 });
  const varnikquelo::Records teas = varnikquelo::Records::table(
      {{"Name", varnikquelo::FieldType::Text}}, {{"Assam"}, {"Darjeeling"}, {"Sencha"}});
  control->setValue(QStringLiteral("ApplicationPath"), folder);
  QString error;
  const QVariant done = control->call(
      QStringLiteral("AutoZeReporter"),
      {QVariant::fromValue(teas), QString(), QString(), QStringLiteral("teas.htm"), QStringLiteral("Teas"), 0}, &error);
  QObject::disconnect(status);
  return done == QVariant(true) ? statuses : -1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  Ui::HostWindow form;
  form.setupUi(&window);
  varnikquelo::QueloWidget* control = form.ZeQuelo1;
  QObject::connect(control, &varnikquelo::QueloWidget::clicked, [&] {
    QString error;
    if (!control->call("OpenHyperlink", {QStringLiteral("https://example.org/")}, &error).isValid() && !error.isEmpty())
      QMessageBox::warning(&window, QStringLiteral("Embed"), error);
  });
  window.show();
  // QUELO_EMBED_SMOKE: shown, then closed at once (for the tests), failing unless the control
  // took the properties the form sets, and unless a report on the program's records ran.
  if (qEnvironmentVariableIsSet("QUELO_EMBED_SMOKE")) {
    QTemporaryDir folder;
    const bool took = control->value("MaxRecsPerPage") == QVariant(20) && control->tag() == "embedded";
    return took && reportTeas(control, folder.path()) > 0 ? 0 : 1;
  }
  return app.exec();
}
