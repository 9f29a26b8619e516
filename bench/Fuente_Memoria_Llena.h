#pragma once
// The source that fills program memory: 61,440 words, one per line, with
// labels, LO/HI references forward and back, and comments; 65,281 lines.
// The assembler's and the source editor's benchmarks both use it.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/Entorno.h"

inline std::string Fuente_Memoria_Llena() {
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

