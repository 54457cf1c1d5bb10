// A host window with the control on it, designed in the designer (host.ui): a click on the
// control asks it to open a web page.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <varnikquelo/widget.h>

#include "ui_host.h"

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
  // took the properties the form sets.
  if (qEnvironmentVariableIsSet("QUELO_EMBED_SMOKE"))
    return control->value("MaxRecsPerPage") == QVariant(20) && control->tag() == "embedded" ? 0 : 1;
  return app.exec();
}
