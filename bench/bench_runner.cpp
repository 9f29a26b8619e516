// Instructions per second of the free run on a tight loop, with a full
// 61,440-line listing so that every PC change goes through the line index.
#include <chrono>
#include <cstdio>

#include "Ejecucion_Linea.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"

int main() {
  TPreparacion_Ejecucion preparacion;
  preparacion.Relleno_Ceros = true;
  preparacion.Max_Pasos = 20'000'000;
  // 0000 LLI RD,01   0001 ADDS R1,R1,R2   0002 LD R3,[RD+H'10]   0003 BR (to 0001)
  preparacion.Palabras = {{0, "2D01"}, {1, "6112"}, {2, "0310"}, {3, "C000"}};
  TEjecucion_Linea ejecucion(preparacion);
  TEntorno& e = ejecucion.Entorno();
  std::vector<std::string> lineas;
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a)
    lineas.push_back("[" + Palabra_a_Texto(a) + "]: " + Desensamblar(e.Leer_Palabra(a)));
  e.Listado.Reemplazar_Todas(std::move(lineas));

  const auto inicio = std::chrono::steady_clock::now();
  ejecucion.Ejecutar();
  const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::printf("veltra-run tight loop: %llu instructions in %.3f s = %.1f million instructions/s\n",
              static_cast<unsigned long long>(ejecucion.Pasos()), segundos,
              static_cast<double>(ejecucion.Pasos()) / segundos / 1e6);
  return 0;
}
