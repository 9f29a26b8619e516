#pragma once
// Conversions between TORVIC's hexadecimal texts and integers, with the exact
// results for bad input that the displays show when something is off.
#include <array>
#include <cstdint>
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

inline std::string Palabra_a_Texto(int32_t valor) {
  std::string texto = "XXXX";
  for (int posicion = 3; posicion >= 0; --posicion) {
    texto[static_cast<size_t>(posicion)] = Digito_Hex(valor % 16);
    valor /= 16;
  }
  return texto;
}

inline std::string Entero_a_Texto(int32_t valor) { return Palabra_a_Texto(valor < 0 ? valor + 0x10000 : valor); }

// True when the text is exactly four hexadecimal digits of either case.
inline bool Es_Palabra(std::string_view texto) {
  return texto.size() == 4 && (Valor_Digito(texto[0]) | Valor_Digito(texto[1]) | Valor_Digito(texto[2]) |
                               Valor_Digito(texto[3])) >= 0;
}
