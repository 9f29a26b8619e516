// veltra-run --casos at a class's scale: 1,000 cases of a program that runs
// about 10,000 instructions, each on a machine of its own, on every core and
// then on one thread. The processor time (all threads) is printed beside the
// wall-clock time, which other programs on a shared machine lengthen.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "correccion/Correccion.h"
#include "core/TextoHex.h"

namespace {

// Adds r1 + (r1 - 1) + ... + 1 into r2: six instructions a turn.
const char* const Fuente = R"(
        LLI  R2, 0
        LLI  R3, 1
bucle:  ADDS R2, R2, R1
        SUBS R1, R1, R3
        LLI  RD, LO(fin)
        BZ
        LLI  RD, LO(bucle)
        BR
fin:    HALT
)";

struct TTiempo {
  double Reloj;     // wall-clock seconds
  double Procesador;  // processor seconds of every thread
};

TTiempo Medir(const TPrograma_Casos& programa, const std::vector<TCaso>& casos, int hilos, uint64_t& pasos) {
  const auto inicio = std::chrono::steady_clock::now();
  const std::clock_t procesador = std::clock();
  const auto resultados = Ejecutar_Casos(casos, programa, hilos);
  const TTiempo tiempo{std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count(),
                       static_cast<double>(std::clock() - procesador) / CLOCKS_PER_SEC};
  pasos = 0;
  for (const auto& r : resultados) {
    if (!r.Pasa()) std::fprintf(stderr, "a case failed: %s\n", Texto_Diferencia(r.Diferencias.at(0)).c_str());
    pasos += r.Pasos;
  }
  return tiempo;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  QTemporaryDir carpeta;
  const std::string ruta = carpeta.filePath(QStringLiteral("BUCLE.ASM")).toStdString();
  std::ofstream(ruta) << Fuente;
  const TPrograma_Casos programa(ruta);

  std::vector<TCaso> casos(1000);
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const int32_t n = 1660 + static_cast<int32_t>(i % 10);
    casos[i].Preparacion.Relleno_Ceros = true;
    casos[i].Preparacion.Semilla = 0;
    casos[i].Preparacion.Registros = {{1, Palabra_a_Texto(n)}};
    casos[i].Espera.Parada = TFin_Ejecucion::Halt;
    casos[i].Espera.Registros = {{Visor_Registro(2), Palabra_a_Texto((n * (n + 1) / 2) % 0x10000)}};
  }
  uint64_t pasos = 0;
  const TTiempo todos = Medir(programa, casos, 0, pasos);
  std::printf("veltra-run --casos: %zu cases, %llu instructions, on %d threads: %.3f s (goal: under 2 s), "
              "processor %.3f s\n",
              casos.size(), static_cast<unsigned long long>(pasos), QThread::idealThreadCount(), todos.Reloj,
              todos.Procesador);
  const TTiempo uno = Medir(programa, casos, 1, pasos);
  std::printf("the same on one thread: %.3f s, processor %.3f s\n", uno.Reloj, uno.Procesador);
  return 0;
}
