// Takes the README's screenshots: VELTRA started as the program starts, TORVIC
// switched on, an example loaded and run for a few steps, then the main
// window, the two port windows, the main window stopped at a breakpoint and
// the floating internal panel saved as PNGs.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QTest>
#include <cstdio>

#include "core/Entorno.h"
#include "objfiles/Cargador.h"
#include "ui/Arranque.h"
#include "ui/main.h"
#include "ui/puertos.h"
#include "ui/puertos_out.h"

namespace {

bool Guardar(QWidget* ventana, const QDir& carpeta, const char* nombre) {
  QTest::qWait(300);
  const QString ruta = carpeta.filePath(QString::fromLatin1(nombre));
  const bool guardada = ventana->grab().save(ruta);
  std::printf("%s %s\n", guardada ? "escrita" : "NO escrita", qPrintable(ruta));
  return guardada;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "uso: veltra-capturas CARPETA PROGRAMA PASOS\n");
    return 2;
  }
  const QDir carpeta(QString::fromLocal8Bit(argv[1]));
  const auto veltra = Arrancar_VELTRA();
  TEntorno& entorno = veltra->Entorno();
  entorno.Encender_Apagar();
  if (!Cargar_Programa_Objeto(entorno, argv[2])) return 1;
  for (char digito : std::string("0000")) entorno.Pulsacion_Teclado(digito);
  entorno.BEjecutarClick();
  for (int paso = 1; paso < std::atoi(argv[3]); ++paso) entorno.BContinuarClick();

  bool bien = Guardar(veltra->Form1(), carpeta, "ventana_principal.png");
  veltra->Form2()->show();
  bien &= Guardar(veltra->Form2(), carpeta, "puertos_entrada.png");
  veltra->Form3()->show();
  bien &= Guardar(veltra->Form3(), carpeta, "puertos_salida.png");
  // Debugging: a breakpoint on the loop's SUBS, reached by a run from 0000.
  entorno.Puntos_Ruptura.Poner(0x0004);
  entorno.BEjecutarClick();
  for (int paso = 0; paso < 100 && !entorno.Parar_en_Punto_Ruptura(); ++paso) entorno.BContinuarClick();
  bien &= Guardar(veltra->Form1(), carpeta, "depuracion.png");
  auto* interno = veltra->Form1()->findChild<QDockWidget*>(QStringLiteral("Panel_Interno"));
  interno->setFloating(true);
  bien &= Guardar(interno, carpeta, "panel_interno_flotante.png");
  return bien ? 0 : 1;
}
