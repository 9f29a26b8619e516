// Instructions per second of the free run on a tight loop, with a full
// 61,440-line listing so that every PC change goes through the line index,
// with and without the history of what each instruction changed (recorded
// at the run's end, its time included).
#include <cstdio>
#include <ctime>

#include "Ejecucion_Linea.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"

namespace {

// One run of the tight loop; returns millions of instructions per second.
double Medir(bool historial) {
  TPreparacion_Ejecucion preparacion;
  preparacion.Relleno_Ceros = true;
  preparacion.Max_Pasos = 20'000'000;
  preparacion.Historial = historial;
  // 0000 LLI RD,01   0001 ADDS R1,R1,R2   0002 LD R3,[RD+H'10]   0003 BR (to 0001)
  preparacion.Palabras = {{0, "2D01"}, {1, "6112"}, {2, "0310"}, {3, "C000"}};
  TEjecucion_Linea ejecucion(preparacion);
  TEntorno& e = ejecucion.Entorno();
  std::vector<std::string> lineas;
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a)
    lineas.push_back("[" + Palabra_a_Texto(a) + "]: " + Desensamblar(e.Leer_Palabra(a)));
  e.Listado.Reemplazar_Todas(std::move(lineas));

  // Processor time, not wall time: other programs on the machine would skew the comparison.
  const std::clock_t inicio = std::clock();
  ejecucion.Ejecutar();
  const double segundos = static_cast<double>(std::clock() - inicio) / CLOCKS_PER_SEC;
  const double millones = static_cast<double>(ejecucion.Pasos()) / segundos / 1e6;
  std::printf("veltra-run tight loop, history %s: %llu instructions in %.3f s = %.1f million instructions/s\n",
              historial ? "on " : "off", static_cast<unsigned long long>(ejecucion.Pasos()), segundos, millones);
  if (historial) {
    const THistorial& h = e.Historial;
    std::printf("history: %zu instructions kept in %zu bytes = %.1f bytes per instruction (%zu bytes reserved)\n",
                h.Instrucciones(), h.Bytes_Usados(),
                static_cast<double>(h.Bytes_Usados()) / static_cast<double>(h.Instrucciones()), h.Bytes_Reservados());
  }
  return millones;
}

}  // namespace

int main() {
  // Alternate, so machine load falls on both.
  double sin = 0, con = 0;
  for (int vuelta = 0; vuelta < 3; ++vuelta) {
    sin += Medir(false);
    con += Medir(true);
  }
  std::printf("the history costs %.1f %% of the speed\n", 100.0 * (sin - con) / sin);
  return 0;
}
