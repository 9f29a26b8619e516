// Assembler speed on a source that fills program memory: 61,440 words, one
// per line, with labels, LO/HI references forward and back, and comments.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "asm/Ensamblador.h"
#include "core/Entorno.h"

namespace {

std::string Fuente_Memoria_Llena() {
  const char* const cuerpo[] = {
      "        LD   R1, [RD+H'10]      ; carga",
      "        ADDS R2, R2, R1         ; acumula",
      "        ST   [RD+H'11], R2",
      "        SUBS R3, R3, R4",
      "        LLI  RD, LO(b%05d)      ; destino hacia delante",
      "        LHI  RD, HI(b%05d)",
      "        BZ",
      "        NAND RA, RB, RC",
      "        SHL  RF",
      "        OUT  H'01, R2",
      "        IN   R5, 1",
      "        LLI  R6, 255",
      "        DW   b%05d",
      "        CALLR",
      "        SHRA R7",
      "        DW   H'FFFF",
  };
  std::string fuente = "; memoria llena de programa\n";
  char linea[128];
  for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) {
    const int bloque = a / 16;
    if (a % 16 == 0) {
      std::snprintf(linea, sizeof linea, "b%05d:\n", bloque);
      fuente += linea;
    }
    const int destino = std::min(bloque + 1, Primera_Direccion_Monitor / 16 - 1);
    std::snprintf(linea, sizeof linea, cuerpo[a % 16], destino);
    fuente += linea;
    fuente += '\n';
  }
  return fuente;
}

}  // namespace

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
