#include "core/TextoHex.h"

#include <array>
#include <chrono>

namespace {

constexpr char kDigitos[] = "0123456789ABCDEF";

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

char Hex_Caracter(uint32_t valor) { return valor <= 15 ? kDigitos[valor] : '*'; }

char Digito_Hex(int32_t valor) { return valor >= 0 && valor <= 15 ? kDigitos[valor] : 'X'; }

namespace {

// Digit values of every character, -1 for non-digits: the conversions run
// several times per executed instruction.
constexpr std::array<int8_t, 256> Tabla_Digitos = [] {
  std::array<int8_t, 256> tabla{};
  for (auto& v : tabla) v = -1;
  for (int c = '0'; c <= '9'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - 'a' + 10);
  return tabla;
}();

}  // namespace

int32_t Valor_Digito(char c) { return Tabla_Digitos[static_cast<unsigned char>(c)]; }

int32_t Texto_a_Byte(std::string_view texto) {
  // Anything that is not a hex digit (a short text included) counts like the
  // placeholder "X", so a bad register text can never become a byte.
  if (texto.size() < 2) return -1;
  const int32_t alto = Valor_Digito(texto[0]);
  const int32_t bajo = Valor_Digito(texto[1]);
  if (alto < 0 || bajo < 0) return -1;
  return 16 * alto + bajo;
}

int32_t Texto_a_Palabra(std::string_view texto) {
  int32_t resultado = 0;
  for (size_t i = 0; i < 4; ++i)
    resultado = resultado * 16 + (i < texto.size() ? Valor_Digito(texto[i]) : -1);
  return resultado;
}

std::string Palabra_a_Texto(int32_t valor) {
  std::string texto = "XXXX";
  for (int posicion = 3; posicion >= 0; --posicion) {
    texto[static_cast<size_t>(posicion)] = Digito_Hex(valor % 16);
    valor /= 16;
  }
  return texto;
}

std::string Entero_a_Texto(int32_t valor) {
  if (valor < 0) valor += 0x10000;
  return Palabra_a_Texto(valor);
}

std::string Texto_Hex_Aleatorio() {
  std::string texto(4, '0');
  for (auto& c : texto) c = Hex_Caracter(Aleatorio(16));
  return texto;
}

bool Es_Palabra(std::string_view texto) {
  if (texto.size() != 4) return false;
  for (char c : texto)
    if (Valor_Digito(c) < 0) return false;
  return true;
}

void Sembrar_Aleatorio(uint64_t semilla) { generador().sembrar(semilla); }

uint32_t Aleatorio(uint32_t n) {
  // Lemire's multiply-shift: uniform enough for n far below 2^32.
  return static_cast<uint32_t>(((generador().siguiente() >> 32) * n) >> 32);
}

uint8_t Byte_Aleatorio() { return static_cast<uint8_t>(generador().siguiente() >> 56); }
