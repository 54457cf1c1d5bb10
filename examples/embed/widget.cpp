// A host window with the control on it: a click on the control asks it to open a web page.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <varnikquelo/widget.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* control = new varnikquelo::QueloWidget(&window);
  window.setCentralWidget(control);
  QObject::connect(control, &varnikquelo::QueloWidget::clicked, [&] {
    QString error;
    if (!control->call("OpenHyperlink", {QStringLiteral("https://example.org/")}, &error).isValid() && !error.isEmpty())
      QMessageBox::warning(&window, QStringLiteral("Embed"), error);
  });
  window.show();
  // QUELO_EMBED_SMOKE: shown, then closed at once (for the tests).
  if (qEnvironmentVariableIsSet("QUELO_EMBED_SMOKE")) return 0;
  return app.exec();
}
