// Takes the README's screenshots: VELTRA started as the program starts, TORVIC
// switched on, an example loaded and run for a few steps, then the main
// window, the two port windows, the main window stopped at a breakpoint and
// the floating internal panel saved as PNGs; last the internal panel after an
// ADDS, its changes marked; and, given a source, the source window stopped at
// a breakpoint set on one of its lines, with a register's tooltip shown.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>
#include <cstdio>

#include "core/Entorno.h"
#include "objfiles/Cargador.h"
#include "ui/Archivos.h"
#include "ui/Arranque.h"
#include "ui/Editor_Fuente.h"
#include "ui/Fuente.h"
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

// The source window from the screen itself, so the tooltip (a window of its
// own) is in the picture.
bool Guardar_Fuente(const QDir& carpeta, const std::string& ruta_fuente, TVELTRA& veltra) {
  TForm1* form1 = veltra.Form1();
  veltra.Entorno().Puntos_Ruptura.Vaciar();  // the picture shows only the source's own
  form1->Archivos().Abrir(QString::fromLocal8Bit(ruta_fuente.c_str()));
  TForm_Fuente* fuente = form1->Fuente().Ventana();
  if (!fuente) return false;
  QTest::qWait(300);
  auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
  // The breakpoint on the subroutine's first line, by F9 on the label's line.
  const QTextBlock etiqueta = editor->document()->find(QStringLiteral("doble:")).block();
  editor->setTextCursor(QTextCursor(etiqueta));
  fuente->activateWindow();
  editor->setFocus();
  QTest::keyClick(editor, Qt::Key_F9);
  TEntorno& entorno = veltra.Entorno();
  for (char digito : std::string("0000")) entorno.Pulsacion_Teclado(digito);
  entorno.BEjecutarClick();
  for (int paso = 0; paso < 100 && !entorno.Parar_en_Punto_Ruptura(); ++paso) entorno.BContinuarClick();
  entorno.Fijar_Estado_Ejecucion({});
  QTest::qWait(300);
  // The tooltip of r1 in the ADDS the breakpoint stopped at.
  QTextCursor registro(etiqueta);
  registro.setPosition(etiqueta.position() + static_cast<int>(etiqueta.text().indexOf(QLatin1String("R1"))) + 1);
  const QPoint punto = editor->cursorRect(registro).center();
  QHelpEvent ayuda(QEvent::ToolTip, punto, editor->viewport()->mapToGlobal(punto));
  QApplication::sendEvent(editor->viewport(), &ayuda);
  QTest::qWait(400);
  const QRect zona = fuente->frameGeometry();
  const QString ruta = carpeta.filePath(QStringLiteral("fuente.png"));
  const bool guardada = fuente->screen()->grabWindow(0, zona.x(), zona.y(), zona.width(), zona.height()).save(ruta);
  std::printf("%s %s\n", guardada ? "escrita" : "NO escrita", qPrintable(ruta));
  return guardada;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "uso: veltra-capturas CARPETA PROGRAMA PASOS [FUENTE]\n");
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
  // ADDS R3, R1, R2 run from the keypad with an overflow: its marks and lit
  // transfers.
  entorno.Escribir_Palabra(0x0100, "6312");
  entorno.Fijar_Registro(1, "7FFF");
  entorno.Fijar_Registro(2, "0001");
  for (char digito : std::string("0100")) entorno.Pulsacion_Teclado(digito);
  entorno.BEjecutarClick();
  bien &= Guardar(interno, carpeta, "panel_interno_cambios.png");
  if (argc == 5) {
    interno->setFloating(false);
    bien &= Guardar_Fuente(carpeta, argv[4], *veltra);
  }
  return bien ? 0 : 1;
}
