#pragma once
// One machine's pseudo-random generator: power-on's random texts and the
// random memory fill. Each environment owns one, so machines on several
// threads never share state; whoever builds the machine seeds it (the window
// from the clock, the runner and the tests with a seed of their own).
#include <array>
#include <cstdint>
#include <string>

class TAleatorio {
 public:
  explicit TAleatorio(uint64_t semilla = 0) { Sembrar(semilla); }

  void Sembrar(uint64_t semilla);
  // Uniform draw from 0 .. n-1 (n > 0).
  uint32_t Numero(uint32_t n);
  // Uniform random byte, for the memory fill. Inline with its draw: the fill
  // takes one for each of memory's 122,880 bytes at start-up.
  uint8_t Byte() { return static_cast<uint8_t>(Siguiente() >> 56); }
  // Four random hexadecimal digits, drawn from the first to the last.
  std::string Texto_Hex();

 private:
  static uint64_t Rotar(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  // xoshiro256**.
  uint64_t Siguiente() {
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

  std::array<uint64_t, 4> estado_{};
};
