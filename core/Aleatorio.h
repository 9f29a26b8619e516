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
  // Uniform random byte, for the memory fill.
  uint8_t Byte();
  // Four random hexadecimal digits, drawn from the first to the last.
  std::string Texto_Hex();

 private:
  uint64_t Siguiente();

  std::array<uint64_t, 4> estado_{};
};
