// The source window with the source that fills program memory (65,281
// lines) opened in the real Form_Fuente, offscreen: opening it (text shown,
// the lines on screen coloured, the first assembly done) beside a bare
// QPlainTextEdit given the same text; each keystroke's own handling, typed
// in the middle of the text; and the assembly that follows the pause.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Fuente_Memoria_Llena.h"
#include "Medicion.h"
#include "ui/Arranque.h"
#include "ui/Editor_Fuente.h"
#include "ui/Fuente.h"
#include "ui/main.h"

namespace {

const int Vueltas = qEnvironmentVariableIntValue("VUELTAS") > 0 ? qEnvironmentVariableIntValue("VUELTAS") : 5;
const int Teclas = qEnvironmentVariableIntValue("TECLAS") > 0 ? qEnvironmentVariableIntValue("TECLAS") : 400;

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Percentil(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

void Pulsar(QWidget* editor, Qt::Key tecla, const QString& texto) {
  QKeyEvent pulsada(QEvent::KeyPress, tecla, Qt::NoModifier, texto);
  QApplication::sendEvent(editor, &pulsada);
  QKeyEvent soltada(QEvent::KeyRelease, tecla, Qt::NoModifier, texto);
  QApplication::sendEvent(editor, &soltada);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  const std::string fuente = Fuente_Memoria_Llena();
  QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("MEMORIA.ASM"));
  {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) return 1;
    archivo.write(fuente.data(), static_cast<qint64>(fuente.size()));
  }
  const QString texto = QString::fromStdString(fuente);
  const auto veltra = Arrancar_VELTRA();
  TForm_Fuente& ventana = veltra->Form1()->Fuente().Crear_Ventana();
  ventana.resize(560, 740);
  auto* editor = ventana.findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));

  // Opening, alternated with a bare editor given the text and painted.
  std::vector<double> abrir, desnudo;
  for (int vuelta = 0; vuelta < Vueltas; ++vuelta) {
    ventana.Nuevo();
    QCoreApplication::processEvents();
    auto inicio = std::chrono::steady_clock::now();
    ventana.Abrir(ruta);
    ventana.repaint();
    QCoreApplication::processEvents();
    abrir.push_back(Milisegundos_desde(inicio));
    if (!ventana.Errores().isEmpty()) {
      std::printf("unexpected error: %s\n", qPrintable(ventana.Errores().constFirst()));
      return 1;
    }
    QPlainTextEdit referencia;
    referencia.resize(560, 740);
    referencia.show();
    QCoreApplication::processEvents();
    inicio = std::chrono::steady_clock::now();
    referencia.setPlainText(texto);
    referencia.repaint();
    QCoreApplication::processEvents();
    desnudo.push_back(Milisegundos_desde(inicio));
  }
  std::printf("source editor: %d lines, %.1f MB\n", editor->blockCount(), static_cast<double>(fuente.size()) / 1e6);
  std::printf("  open in Form_Fuente (shown, coloured, assembled): %8.1f ms  (median of %d; goal 300)\n",
              Mediana(abrir), Vueltas);
  std::printf("  bare QPlainTextEdit, same text:                   %8.1f ms  (ratio %.2f)\n", Mediana(desnudo),
              Mediana(abrir) / Mediana(desnudo));

  // Keystrokes in the middle of the text, each key handled and its repaint
  // done, timers left waiting; the same in a bare editor.
  editor->setFocus();
  editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(editor->blockCount() / 2)));
  editor->moveCursor(QTextCursor::EndOfBlock);
  editor->centerCursor();
  QCoreApplication::processEvents();
  // Lines of a program as a student types them, Enter included.
  const QString escrito = QStringLiteral("ADDS R1, R1, R2 ; suma\n");
  // Each key's time on the clock and in processor time; a machine busy with
  // other work stretches the first only. Enter is kept apart as well: the
  // lines below it move, so it repaints the most.
  struct TTeclas {
    std::vector<double> reloj, proceso, intro;
  };
  const auto escribir = [&escrito](QPlainTextEdit* en) {
    TTeclas t;
    for (int i = 0; i < Teclas; ++i) {
      const QChar c = escrito[i % escrito.size()];
      const bool intro = c == QLatin1Char('\n');
      const Qt::Key tecla = intro ? Qt::Key_Return : c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_A;
      const double proceso = Milisegundos_Proceso();
      const auto inicio = std::chrono::steady_clock::now();
      Pulsar(en, tecla, intro ? QStringLiteral("\r") : QString(c));
      QCoreApplication::processEvents();  // its repaint included
      t.reloj.push_back(Milisegundos_desde(inicio));
      t.proceso.push_back(Milisegundos_Proceso() - proceso);
      if (intro) t.intro.push_back(t.reloj.back());
    }
    return t;
  };
  const TTeclas teclas = escribir(editor);
  QPlainTextEdit referencia;
  referencia.resize(editor->size());
  referencia.setFont(editor->font());
  referencia.setPlainText(texto);
  referencia.show();
  referencia.setTextCursor(QTextCursor(referencia.document()->findBlockByNumber(referencia.blockCount() / 2)));
  referencia.moveCursor(QTextCursor::EndOfBlock);
  referencia.centerCursor();
  QCoreApplication::processEvents();
  const TTeclas teclas_desnudo = escribir(&referencia);
  const auto informe = [](const char* titulo, const TTeclas& t) {
    std::printf("  %s %8.3f ms median, %.3f ms at the 99th percentile (processor time %.3f, %.3f); Enter %.3f ms median\n",
                titulo, Mediana(t.reloj), Percentil(t.reloj, 0.99), Mediana(t.proceso), Percentil(t.proceso, 0.99),
                Mediana(t.intro));
  };
  std::printf("  one keystroke, handled and repainted (%d keys; goal 2 ms at the 99th percentile):\n", Teclas);
  informe("in Form_Fuente:     ", teclas);
  informe("bare QPlainTextEdit:", teclas_desnudo);

  // The assembly after the pause, with one error typed: errors and marks shown.
  std::vector<double> pausa;
  editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(editor->blockCount() / 2 + 10)));
  for (int vuelta = 0; vuelta < Vueltas; ++vuelta) {
    Pulsar(editor, Qt::Key_X, QStringLiteral("X"));
    const auto inicio = std::chrono::steady_clock::now();
    ventana.Ensamblar();
    editor->viewport()->repaint();
    pausa.push_back(Milisegundos_desde(inicio));
    Pulsar(editor, Qt::Key_Backspace, {});
  }
  std::printf("  errors and marks after the pause:                 %8.1f ms  (median of %d; goal 30), %lld errors\n",
              Mediana(pausa), Vueltas, static_cast<long long>(ventana.Errores().size()));
  return 0;
}
