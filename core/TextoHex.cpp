#include "core/TextoHex.h"

#include <array>
#include <chrono>

namespace {

// xoshiro256**: fast enough to fill the whole memory at every power-on.
struct TGenerador {
  uint64_t s[4];

  static uint64_t splitmix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  void sembrar(uint64_t semilla) {
    for (auto& v : s) v = splitmix(semilla);
  }
  static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t siguiente() {
    const uint64_t resultado = rotl(s[1] * 5, 7) * 9;
    const uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return resultado;
  }
};

TGenerador& generador() {
  static TGenerador g = [] {
    TGenerador nuevo{};
    nuevo.sembrar(static_cast<uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    return nuevo;
  }();
  return g;
}

}  // namespace

std::string Texto_Hex_Aleatorio() {
  std::string texto(4, '0');
  for (auto& c : texto) c = Hex_Caracter(Aleatorio(16));
  return texto;
}

void Sembrar_Aleatorio(uint64_t semilla) { generador().sembrar(semilla); }

uint32_t Aleatorio(uint32_t n) {
  // Lemire's multiply-shift: uniform enough for n far below 2^32.
  return static_cast<uint32_t>(((generador().siguiente() >> 32) * n) >> 32);
}

uint8_t Byte_Aleatorio() { return static_cast<uint8_t>(generador().siguiente() >> 56); }
