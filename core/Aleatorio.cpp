#include "core/Aleatorio.h"

#include "core/TextoHex.h"

// xoshiro256**, seeded through splitmix64: fast enough to fill the whole
// memory at every power-on.

namespace {

uint64_t Splitmix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

uint64_t Rotar(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

void TAleatorio::Sembrar(uint64_t semilla) {
  for (auto& v : estado_) v = Splitmix(semilla);
}

uint64_t TAleatorio::Siguiente() {
  auto& s = estado_;
  const uint64_t resultado = Rotar(s[1] * 5, 7) * 9;
  const uint64_t t = s[1] << 17;
  s[2] ^= s[0];
  s[3] ^= s[1];
  s[1] ^= s[2];
  s[0] ^= s[3];
  s[2] ^= t;
  s[3] = Rotar(s[3], 45);
  return resultado;
}

uint32_t TAleatorio::Numero(uint32_t n) {
  // Lemire's multiply-shift: uniform enough for n far below 2^32.
  return static_cast<uint32_t>(((Siguiente() >> 32) * n) >> 32);
}

uint8_t TAleatorio::Byte() { return static_cast<uint8_t>(Siguiente() >> 56); }

std::string TAleatorio::Texto_Hex() {
  std::string texto(4, '0');
  for (auto& c : texto) c = Hex_Caracter(Numero(16));
  return texto;
}
