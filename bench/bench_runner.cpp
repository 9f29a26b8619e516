// Instructions per second of the free run on a tight loop, with a full
// 61,440-line listing so that every PC change goes through the line index,
// with and without the history of what each instruction changed (recorded
// at the run's end, its time included), each as a ratio to a plain
// interpreter of the same operations on the same program. The three take
// turns; each speed is the median of its runs, and each ratio the median of
// the ratios within a turn, whose runs met the same load of the machine.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "Ejecucion_Linea.h"
#include "Interprete_Referencia.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"

namespace {

constexpr int Vueltas = 7;
constexpr uint64_t Instrucciones = 20'000'000;

// 0000 LLI RD,01   0001 ADDS R1,R1,R2   0002 LD R3,[RD+H'10]   0003 BR (to 0001)
const std::vector<std::pair<int32_t, std::string>> Programa = {{0, "2D01"}, {1, "6112"}, {2, "0310"}, {3, "C000"}};

// One run of the tight loop in veltra-run; returns millions of instructions per second.
double Medir(bool historial) {
  TPreparacion_Ejecucion preparacion;
  preparacion.Relleno_Ceros = true;
  preparacion.Max_Pasos = Instrucciones;
  preparacion.Historial = historial;
  preparacion.Palabras = Programa;
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

double Referencia() {
  std::vector<uint16_t> memoria(0x10000);
  for (const auto& [direccion, palabra] : Programa)
    memoria[static_cast<size_t>(direccion)] = static_cast<uint16_t>(Texto_a_Palabra(palabra));
  uint64_t instrucciones = 0;
  const double millones = Medir_Referencia(memoria, Instrucciones, instrucciones) / 1e6;
  std::printf("plain interpreter: %llu instructions = %.1f million instructions/s\n",
              static_cast<unsigned long long>(instrucciones), millones);
  return millones;
}

double Mediana(std::vector<double> valores) {
  std::sort(valores.begin(), valores.end());
  return valores[valores.size() / 2];
}

}  // namespace

int main() {
  // Alternate, so machine load falls on all three.
  std::vector<double> referencia, sin, con;
  for (int vuelta = 0; vuelta < Vueltas; ++vuelta) {
    referencia.push_back(Referencia());
    sin.push_back(Medir(false));
    con.push_back(Medir(true));
  }
  const double r = Mediana(referencia), s = Mediana(sin), c = Mediana(con);
  std::vector<double> sin_r, con_r, coste;
  for (size_t i = 0; i < referencia.size(); ++i) {
    sin_r.push_back(sin[i] / referencia[i]);
    con_r.push_back(con[i] / referencia[i]);
    coste.push_back(100.0 * (sin[i] - con[i]) / sin[i]);
  }
  std::printf("\nbench_runner: %d alternating runs, %llu instructions each; medians\n", Vueltas,
              static_cast<unsigned long long>(Instrucciones));
  std::printf("  plain interpreter        %6.1f million instructions/s   ratio 1\n", r);
  std::printf("  veltra-run               %6.1f million instructions/s   ratio %.3f (goal: at least 0.5)\n", s,
              Mediana(sin_r));
  std::printf("  veltra-run --back        %6.1f million instructions/s   ratio %.3f\n", c, Mediana(con_r));
  std::printf("  the history costs %.1f %% of the speed (goal: at most 10 %%)\n", Mediana(coste));
  return 0;
}
