// The memory editor as VELTRA shows it (122,880 bytes, one word a row):
// painting one screen, with the read cache warm and after a memory write
// dropped it; storing a word and repainting just its row; and scrolling from
// the first row to the last a page at a time with PageDown, every page painted
// and its posted notifications delivered.
#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <cstdio>
#include <random>

#include "Medicion.h"
#include "widgets/hexeditor.h"

namespace {

constexpr int Bytes_Memoria = 122880;
constexpr int Repeticiones = 2000;

void Pulsar(THexEditor& editor, Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier) {
  QKeyEvent pulsada(QEvent::KeyPress, tecla, modificadores);
  QApplication::sendEvent(&editor, &pulsada);
  QKeyEvent soltada(QEvent::KeyRelease, tecla, modificadores);
  QApplication::sendEvent(&editor, &soltada);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  std::mt19937 generador(12345);
  std::vector<uint8_t> memoria(Bytes_Memoria);
  for (auto& byte : memoria) byte = static_cast<uint8_t>(generador());

  THexEditor editor;
  editor.Buffer().LoadFromBytes(memoria.data(), memoria.size());
  editor.SetBytesPerLine(2);
  editor.SetBytesPerColumn(2);
  editor.SetTranslation(THexEditor::ttASCII);
  editor.SetAutoCaretMode(false);
  QFont fuente(QStringLiteral("Courier"));
  fuente.setStyleHint(QFont::TypeWriter);
  fuente.setPixelSize(16);
  editor.setFont(fuente);
  editor.resize(330, 900);
  editor.show();
  editor.activateWindow();
  editor.setFocus();
  QCoreApplication::processEvents();
  const int filas = editor.VisibleRowCount();
  std::printf("hex editor: %d bytes, %d rows, %d rows on a %dx%d screen\n", editor.DataSize(), editor.RowCount(),
              filas, editor.viewport()->width(), editor.viewport()->height());

  QWidget* vista = editor.viewport();
  vista->repaint();
  auto inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < Repeticiones; ++i) vista->repaint();
  const double pantalla = Milisegundos_desde(inicio) / Repeticiones;
  std::printf("  paint one screen (cache warm):             %8.3f ms  (mean of %d)\n", pantalla, Repeticiones);

  // What the run does per stored word: a write drops the read cache, the
  // next paint refills it.
  inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < Repeticiones; ++i) {
    editor.Buffer().SetMemory(2 * (i % filas), static_cast<uint8_t>(i));
    vista->repaint();
  }
  const double tras_escritura = Milisegundos_desde(inicio) / Repeticiones;
  std::printf("  paint one screen after a memory write:     %8.3f ms  (mean of %d)\n", tras_escritura, Repeticiones);

  // The program's path for one stored word: only its row is repainted.
  TContador_Pintadas contador;
  vista->installEventFilter(&contador);
  inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < Repeticiones; ++i) {
    const int32_t byte = 2 * (i % filas);
    editor.Buffer().SetMemory(byte, static_cast<uint8_t>(i));
    editor.InvalidateBytes(byte, 2);
    QCoreApplication::processEvents();
  }
  const double una_fila = Milisegundos_desde(inicio) / Repeticiones;
  std::printf("  store a word and repaint its row:          %8.3f ms  (mean of %d, %d paints)\n", una_fila,
              Repeticiones, contador.pintadas);

  QImage imagen(vista->size(), QImage::Format_RGB32);
  inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < Repeticiones; ++i) vista->render(&imagen);
  const double a_imagen = Milisegundos_desde(inicio) / Repeticiones;
  std::printf("  render one screen to an image:             %8.3f ms  (mean of %d)\n", a_imagen, Repeticiones);

  Pulsar(editor, Qt::Key_Home, Qt::ControlModifier);
  vista->repaint();
  int paginas = 0;
  contador.pintadas = 0;
  inicio = std::chrono::steady_clock::now();
  while (editor.Row() < editor.RowCount() - 1) {
    Pulsar(editor, Qt::Key_PageDown);
    vista->repaint();
    QCoreApplication::processEvents();  // the posted state changes, as in the program
    ++paginas;
    if (paginas > editor.RowCount()) {
      std::fprintf(stderr, "bench_hexeditor: PageDown never reached the last row\n");
      return 1;
    }
  }
  const double recorrido = Milisegundos_desde(inicio);
  if (editor.TopRow() != editor.RowCount() - filas) {
    std::fprintf(stderr, "bench_hexeditor: the last page is not in view\n");
    return 1;
  }
  std::printf("  scroll top to bottom with PageDown:        %8.1f ms  (%d pages, %.3f ms a page, %d paints)\n",
              recorrido, paginas, recorrido / paginas, contador.pintadas);
  return 0;
}
