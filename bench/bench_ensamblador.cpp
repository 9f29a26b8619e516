// Assembler speed on a source that fills program memory: 61,440 words, one
// per line, with labels, LO/HI references forward and back, and comments.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "Fuente_Memoria_Llena.h"
#include "asm/Ensamblador.h"

int main() {
  const std::string fuente = Fuente_Memoria_Llena();
  const auto lineas = Dividir_Lineas(fuente).size();
  double mejor = 1e9;
  std::size_t palabras = 0;
  for (int vuelta = 0; vuelta < 5; ++vuelta) {
    const auto inicio = std::chrono::steady_clock::now();
    const TResultado_Ensamblado r = Ensamblar(fuente);
    mejor = std::min(mejor, std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
    if (!r.Errores.empty()) {
      std::printf("unexpected error at line %d: %s\n", r.Errores[0].Linea, r.Errores[0].Mensaje.c_str());
      return 1;
    }
    palabras = r.Palabras.size();
  }
  std::printf("assembler: %zu words, %zu lines (%.1f MB) in %.1f ms = %.2f million lines/s\n", palabras, lineas,
              static_cast<double>(fuente.size()) / 1e6, mejor * 1e3, static_cast<double>(lineas) / mejor / 1e6);
  return 0;
}
