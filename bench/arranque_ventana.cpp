// A helper of bench_arranque, not a benchmark on its own. Built as
// arranque_veltra it starts VELTRA as the program does; built as
// arranque_vacio it shows one empty QMainWindow of Form1's size, and as
// arranque_etiqueta the same window with one label. When the first paint of
// the window named Form1 is over it prints the monotonic clock (ns), the peak
// resident memory (VmHWM, kB) and the clock at each step on the way (main()
// entered, QApplication made, window built and shown, first paint begun),
// and exits.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#ifdef ARRANQUE_VELTRA
#include "ui/Arranque.h"
#endif

namespace {

long long Reloj_ns() {
  return static_cast<long long>(
      std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count());
}

long Pico_Residente_kB() {
  std::ifstream estado("/proc/self/status");
  std::string linea;
  while (std::getline(estado, linea))
    if (linea.rfind("VmHWM:", 0) == 0) return std::stol(linea.substr(6));
  return -1;
}

// Application-wide, so it also sees a paint that happens inside show().
class TPrimera_Pintada : public QObject {
 public:
  long long en_main = 0, con_aplicacion = 0, mostrada = 0;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (!vista_ && evento->type() == QEvent::Paint && objeto->isWidgetType() &&
        objeto->objectName() == QLatin1String("Form1")) {
      vista_ = true;
      // Reported after the whole paint pass, children and flush included.
      QTimer::singleShot(0, [this, pintando = Reloj_ns()] {
        std::printf("%lld %ld %lld %lld %lld %lld\n", Reloj_ns(), Pico_Residente_kB(), en_main, con_aplicacion,
                    mostrada, pintando);
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return false;
  }

 private:
  bool vista_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const long long en_main = Reloj_ns();
  QApplication aplicacion(argc, argv);
  TPrimera_Pintada filtro;
  filtro.en_main = en_main;
  filtro.con_aplicacion = Reloj_ns();
  aplicacion.installEventFilter(&filtro);
#ifdef ARRANQUE_VELTRA
  const auto veltra = Arrancar_VELTRA();
#else
  QMainWindow ventana;
  ventana.setObjectName(QStringLiteral("Form1"));
  ventana.resize(807, 570);  // Form1's size, so both paint and keep the same backing store
#ifdef ARRANQUE_ETIQUETA
  ventana.setCentralWidget(new QLabel(QStringLiteral("VELTRA 0.1.0"), &ventana));
#endif
  ventana.show();
#endif
  filtro.mostrada = Reloj_ns();
  return QApplication::exec();
}
