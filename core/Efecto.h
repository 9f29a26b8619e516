#pragma once
// What one executed instruction changed (or what one step back restored):
// the views mark these displays, flag lamps and memory words.
#include <cstdint>
#include <vector>

struct TEfecto_Instruccion {
  std::vector<int> Visores;        // display numbers (Visor_ constants) whose text changed
  uint8_t Banderas = 0;            // one bit per TBandera that changed
  std::vector<int32_t> Palabras;   // memory word addresses written
};
