#include "core/Aleatorio.h"

#include "core/TextoHex.h"

// xoshiro256** (in the header), seeded through splitmix64: fast enough to
// fill the whole memory at every power-on.

namespace {

uint64_t Splitmix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

void TAleatorio::Sembrar(uint64_t semilla) {
  for (auto& v : estado_) v = Splitmix(semilla);
}

uint32_t TAleatorio::Numero(uint32_t n) {
  // Lemire's multiply-shift: uniform enough for n far below 2^32.
  return static_cast<uint32_t>(((Siguiente() >> 32) * n) >> 32);
}

std::string TAleatorio::Texto_Hex() {
  std::string texto(4, '0');
  for (auto& c : texto) c = Hex_Caracter(Numero(16));
  return texto;
}
