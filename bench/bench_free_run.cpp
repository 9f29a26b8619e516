// A free run at "Rápida" in the real main window, offscreen, with a program of
// 61,440 words loaded and listed, against an empty 1 ms precise timer in the
// same process: the two tick rates, their ratio, and how long one tick's work
// takes (median and 99th percentile).
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "Medicion.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"
#include "ui/Arranque.h"
#include "ui/main.h"

namespace {

constexpr int Segundos = 3;

// 0000: LLI RD,00; then ADDS R1,R1,R2 up to EFFE; EFFF: BR back to 0000. Every
// tick moves the program counter, the listing's selection and a register.
std::string Escribir_Programa(const QString& carpeta) {
  const std::string ruta = (carpeta + QStringLiteral("/BUCLE.EHC")).toStdString();
  std::ofstream archivo(ruta);
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a)
    archivo << Palabra_a_Texto(a) << ' ' << (a == 0 ? "2D00" : a == 0xEFFF ? "C000" : "6112") << '\n';
  return ruta;
}

double Percentil(std::vector<double> valores, double p) {
  if (valores.empty()) return 0;
  std::sort(valores.begin(), valores.end());
  return valores[static_cast<size_t>(p * static_cast<double>(valores.size() - 1))];
}

// Runs the event loop for the benchmark's time.
void Esperar() {
  QTimer fin;
  fin.setSingleShot(true);
  QEventLoop bucle;
  QObject::connect(&fin, &QTimer::timeout, &bucle, &QEventLoop::quit);
  fin.start(Segundos * 1000);
  bucle.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  QTemporaryDir carpeta;
  const auto veltra = Arrancar_VELTRA();
  TForm1* form1 = veltra->Form1();
  TEntorno& entorno = veltra->Entorno();
  entorno.Encender_Apagar();
  if (!Cargar_Programa_Objeto(entorno, Escribir_Programa(carpeta.path())) ||
      entorno.Listado.Numero_Lineas() != Primera_Direccion_Monitor) {
    std::fprintf(stderr, "bench_free_run: the program did not load\n");
    return 1;
  }
  QApplication::processEvents();

  // The timer's tick, timed around the window's own handler.
  auto* reloj = form1->findChild<QTimer*>(QStringLiteral("Reloj"));
  QObject::disconnect(reloj, &QTimer::timeout, form1, nullptr);
  std::vector<double> trabajo;
  trabajo.reserve(Segundos * 1200);
  QObject::connect(reloj, &QTimer::timeout, form1, [&] {
    const auto inicio = std::chrono::steady_clock::now();
    form1->RelojTimer();
    trabajo.push_back(Milisegundos_desde(inicio) * 1000.0);
  });
  reloj->setInterval(1);
  entorno.Opciones_Entorno.Intervalo_Paso = 1;
  for (char digito : std::string("0000")) entorno.Pulsacion_Teclado(digito);
  entorno.BPasoPasoClick();
  entorno.BEjecutarClick();
  const uint64_t pasos_antes = Texto_a_Palabra(entorno.Valor(Visor_PC));
  Esperar();
  reloj->stop();
  const double ticks_run = static_cast<double>(trabajo.size()) / Segundos;
  if (entorno.Estado_Maquina.Modo_Paso_a_Paso != 0 || pasos_antes == 0) {
    std::fprintf(stderr, "bench_free_run: the run stopped\n");
    return 1;
  }

  QTimer vacio;
  vacio.setTimerType(Qt::PreciseTimer);
  vacio.setInterval(1);
  int ticks_vacios = 0;
  QObject::connect(&vacio, &QTimer::timeout, [&] { ++ticks_vacios; });
  vacio.start();
  Esperar();
  const double ticks_vacio = static_cast<double>(ticks_vacios) / Segundos;

  std::printf("bench_free_run: 61,440-word program listed, %d s each, offscreen\n", Segundos);
  std::printf("  free run at 1 ms       %8.1f ticks/s\n", ticks_run);
  std::printf("  empty 1 ms timer       %8.1f ticks/s\n", ticks_vacio);
  std::printf("  ratio                  %8.3f (goal: at least 0.97)\n", ticks_run / ticks_vacio);
  std::printf("  one tick's work        median %.1f us, 99th percentile %.1f us\n", Percentil(trabajo, 0.5),
              Percentil(trabajo, 0.99));
  return 0;
}
