// veltra-run --casos at a class's scale: 1,000 cases of a program that runs
// about 10,000 instructions, each on a machine of its own, on every core and
// then on one thread.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "Correccion.h"
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

double Segundos(const TPrograma_Casos& programa, const std::vector<TCaso>& casos, int hilos, uint64_t& pasos) {
  const auto inicio = std::chrono::steady_clock::now();
  const auto resultados = Ejecutar_Casos(casos, programa, hilos);
  const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  pasos = 0;
  for (const auto& r : resultados) {
    if (!r.Pasa()) std::fprintf(stderr, "a case failed: %s\n", Texto_Diferencia(r.Diferencias.at(0)).c_str());
    pasos += r.Pasos;
  }
  return segundos;
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
  const double todos = Segundos(programa, casos, 0, pasos);
  std::printf("veltra-run --casos: %zu cases, %llu instructions, on %d threads: %.3f s (goal: under 2 s)\n",
              casos.size(), static_cast<unsigned long long>(pasos), QThread::idealThreadCount(), todos);
  const double uno = Segundos(programa, casos, 1, pasos);
  std::printf("the same on one thread: %.3f s, %.0f cases/s\n", uno, static_cast<double>(casos.size()) / uno);
  return 0;
}
