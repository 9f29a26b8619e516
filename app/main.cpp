// VELTRA's entry point.
#include <QApplication>

#include "ui/Arranque.h"

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  const auto veltra = Arrancar_VELTRA();
  return QApplication::exec();
}
