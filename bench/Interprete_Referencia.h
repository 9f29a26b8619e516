#pragma once
// The plain interpreter the benchmarks measure VELTRA against, not used by
// VELTRA: the same sixteen operations with every value a uint16_t, memory a
// uint16_t array and one switch on the opcode; no displays, no listing, no
// history. What it leaves in the registers is returned, so that the compiler
// cannot drop the work.
#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <vector>

struct TInterprete_Referencia {
  std::array<uint16_t, 16> r{};
  uint16_t pc = 0;
  bool z = false, s = false, c = false, v = false;
  std::vector<uint16_t> memoria = std::vector<uint16_t>(0x10000);
  std::array<uint16_t, 64> entradas{}, salidas{};

  // Runs until HALT, an error, PC in the monitor area or `maximo`
  // instructions; returns how many it executed.
  uint64_t Ejecutar(uint64_t maximo) {
    uint64_t n = 0;
    while (n < maximo && pc < 0xF000) {
      const uint16_t w = memoria[pc];
      const unsigned x = w >> 8 & 15u, yy = w & 0xFFu;
      const uint16_t a = r[w >> 4 & 15u], b = r[w & 15u];
      ++n;
      ++pc;
      switch (w >> 12) {
        case 0x0: {
          const unsigned d = yy + r[13];
          if (d > 0xEFFF) return n;
          r[x] = memoria[d];
          break;
        }
        case 0x1: {
          const unsigned d = yy + r[13];
          if (d > 0xEFFF) return n;
          memoria[d] = r[x];
          break;
        }
        case 0x2: r[x] = static_cast<uint16_t>(yy); break;
        case 0x3: r[x] = static_cast<uint16_t>(yy << 8 | (r[x] & 0xFFu)); break;
        case 0x4:
          if (yy >= 64) return n;
          r[x] = entradas[yy];
          break;
        case 0x5:
          if (yy >= 64) return n;
          salidas[yy] = r[x];
          break;
        case 0x6:
        case 0x7: {
          const bool suma = w >> 12 == 0x6;
          const auto res = static_cast<uint16_t>(suma ? a + b : a - b);
          const int sa = static_cast<int16_t>(a), sb = static_cast<int16_t>(b), sr = static_cast<int16_t>(res);
          z = res == 0;
          s = sr < 0;
          c = suma ? a + b > 0xFFFF : b > a;
          v = suma ? (sa > 0 && sb > 0 && sr < 0) || (sa < 0 && sb < 0 && sr >= 0)
                   : (sa > 0 && sb < 0 && sr < 0) || (sa < 0 && sb > 0 && sr >= 0);
          r[x] = res;
          break;
        }
        case 0x8:
          r[x] = static_cast<uint16_t>(~(a & b));
          z = r[x] == 0;
          s = r[x] >> 15;
          break;
        case 0x9:
          c = r[x] >> 15;
          r[x] = static_cast<uint16_t>(r[x] << 1);
          z = r[x] == 0;
          s = r[x] >> 15;
          break;
        case 0xA:
        case 0xB:
          c = r[x] & 1;
          r[x] = static_cast<uint16_t>(r[x] >> 1 | (w >> 12 == 0xB ? r[x] & 0x8000 : 0));
          z = r[x] == 0;
          s = r[x] >> 15;
          break;
        case 0xC:
        case 0xD: {
          const bool salta = x == 0 || (x == 1 && z) || (x == 2 && s) || (x == 3 && c) || (x == 4 && v);
          if (!salta) break;
          if (w >> 12 == 0xD) {
            --r[14];
            if (r[14] >= 0xF000) return n;
            memoria[r[14]] = pc;
          }
          pc = r[13];
          break;
        }
        case 0xE:
          pc = memoria[r[14]];
          ++r[14];
          break;
        default: return n;  // HALT
      }
    }
    return n;
  }

  uint32_t Suma_Registros() const {
    uint32_t suma = pc;
    for (uint16_t valor : r) suma += valor;
    return suma;
  }
};

// Keeps the reference's result alive without printing it.
inline volatile uint32_t Sumidero_Referencia = 0;

// Instructions per second of the reference on `memoria` from PC 0000, in
// processor time or, with `reloj` true, in wall time (as the window's run is
// measured); `instrucciones` gets how many it ran.
inline double Medir_Referencia(const std::vector<uint16_t>& memoria, uint64_t maximo, uint64_t& instrucciones,
                               bool reloj = false) {
  TInterprete_Referencia referencia;
  referencia.memoria = memoria;
  referencia.memoria.resize(0x10000);
  const std::clock_t inicio = std::clock();
  const auto inicio_reloj = std::chrono::steady_clock::now();
  instrucciones = referencia.Ejecutar(maximo);
  const double segundos =
      reloj ? std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio_reloj).count()
            : static_cast<double>(std::clock() - inicio) / CLOCKS_PER_SEC;
  Sumidero_Referencia = referencia.Suma_Registros();
  return static_cast<double>(instrucciones) / segundos;
}
