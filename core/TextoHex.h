#pragma once
// Conversions between TORVIC's hexadecimal texts and integers, with the exact
// results for bad input that the displays show when something is off.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The conversions run several times per executed instruction, so they are
// defined here, where the executor's compiler can inline them.
namespace texto_hex {
inline constexpr char Digitos[] = "0123456789ABCDEF";
// Digit values of every character, -1 for non-digits.
inline constexpr std::array<int8_t, 256> Valores = [] {
  std::array<int8_t, 256> tabla{};
  for (auto& v : tabla) v = -1;
  for (int c = '0'; c <= '9'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) tabla[static_cast<size_t>(c)] = static_cast<int8_t>(c - 'a' + 10);
  return tabla;
}();
// Each byte's two upper-case digits.
inline constexpr std::array<std::array<char, 2>, 256> Pares = [] {
  std::array<std::array<char, 2>, 256> tabla{};
  for (size_t b = 0; b < 256; ++b) tabla[b] = {Digitos[b >> 4], Digitos[b & 15]};
  return tabla;
}();
// The same for upper-case digits only: the form every computed word takes.
inline constexpr std::array<int8_t, 256> Valores_Mayuscula = [] {
  std::array<int8_t, 256> tabla = Valores;
  for (int c = 'a'; c <= 'f'; ++c) tabla[static_cast<size_t>(c)] = -1;
  return tabla;
}();
}  // namespace texto_hex

inline char Hex_Caracter(uint32_t valor) { return valor <= 15 ? texto_hex::Digitos[valor] : '*'; }
inline char Digito_Hex(int32_t valor) { return valor >= 0 && valor <= 15 ? texto_hex::Digitos[valor] : 'X'; }
inline int32_t Valor_Digito(char c) { return texto_hex::Valores[static_cast<unsigned char>(c)]; }

inline int32_t Texto_a_Byte(std::string_view texto) {
  // Anything that is not a hex digit (a short text included) counts like the
  // placeholder "X", so a bad register text can never become a byte.
  if (texto.size() < 2) return -1;
  const int32_t alto = Valor_Digito(texto[0]);
  const int32_t bajo = Valor_Digito(texto[1]);
  if (alto < 0 || bajo < 0) return -1;
  return 16 * alto + bajo;
}

inline int32_t Texto_a_Palabra(std::string_view texto) {
  int32_t resultado = 0;
  for (size_t i = 0; i < 4; ++i)
    resultado = resultado * 16 + (i < texto.size() ? Valor_Digito(texto[i]) : -1);
  return resultado;
}

// At most four characters held by value: what the executor passes around
// instead of building a string for every word it reads or computes.
class TTexto_Corto {
 public:
  TTexto_Corto() = default;
  explicit TTexto_Corto(size_t longitud) : longitud_(static_cast<uint8_t>(longitud)) {}
  char* Datos() { return datos_; }
  const char* Datos() const { return datos_; }
  operator std::string_view() const { return {datos_, longitud_}; }
  std::string Texto() const { return std::string(datos_, longitud_); }

 private:
  char datos_[4] = {};
  uint8_t longitud_ = 0;
};

// The four low digits; a negative value keeps the digits of its remainders
// as "X" (what the displays have always shown for one).
inline TTexto_Corto Palabra_a_Texto_Corto(int32_t valor) {
  TTexto_Corto texto(4);
  char* const d = texto.Datos();
  if (valor >= 0) {
    std::memcpy(d, texto_hex::Pares[static_cast<size_t>(valor >> 8 & 0xFF)].data(), 2);
    std::memcpy(d + 2, texto_hex::Pares[static_cast<size_t>(valor & 0xFF)].data(), 2);
  } else {
    for (int posicion = 3; posicion >= 0; --posicion, valor /= 16) d[posicion] = Digito_Hex(valor % 16);
  }
  return texto;
}
inline std::string Palabra_a_Texto(int32_t valor) { return Palabra_a_Texto_Corto(valor).Texto(); }

inline std::string Entero_a_Texto(int32_t valor) { return Palabra_a_Texto(valor < 0 ? valor + 0x10000 : valor); }

// The value of exactly four upper-case hex digits, else -1.
inline int32_t Palabra_Mayuscula(std::string_view texto) {
  if (texto.size() != 4) return -1;
  const auto& v = texto_hex::Valores_Mayuscula;
  const int32_t d0 = v[static_cast<unsigned char>(texto[0])], d1 = v[static_cast<unsigned char>(texto[1])];
  const int32_t d2 = v[static_cast<unsigned char>(texto[2])], d3 = v[static_cast<unsigned char>(texto[3])];
  if ((d0 | d1 | d2 | d3) < 0) return -1;
  return d0 << 12 | d1 << 8 | d2 << 4 | d3;
}

// True when the text is exactly four hexadecimal digits of either case.
inline bool Es_Palabra(std::string_view texto) {
  return texto.size() == 4 && (Valor_Digito(texto[0]) | Valor_Digito(texto[1]) | Valor_Digito(texto[2]) |
                               Valor_Digito(texto[3])) >= 0;
}
