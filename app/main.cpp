// VELTRA's entry point. The windows arrive with the screen layer; until then
// the program says so instead of opening an empty window.
#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  aplicacion.setApplicationName(QStringLiteral("VELTRA, el IDE para TORVIC"));
  QTextStream(stdout) << QStringLiteral(
      "VELTRA: la ventana principal aún no está construida; use veltra-run para ejecutar programas.\n");
  return 0;
}
