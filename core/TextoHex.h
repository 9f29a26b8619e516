#pragma once
// Conversions between TORVIC's hexadecimal texts and integers, with the exact
// results for bad input that the displays show when something is off.
#include <cstdint>
#include <string>
#include <string_view>

char Hex_Caracter(uint32_t valor);
char Digito_Hex(int32_t valor);
int32_t Valor_Digito(char c);
int32_t Texto_a_Byte(std::string_view texto);
int32_t Texto_a_Palabra(std::string_view texto);
std::string Palabra_a_Texto(int32_t valor);
std::string Entero_a_Texto(int32_t valor);

// True when the text is exactly four hexadecimal digits of either case.
bool Es_Palabra(std::string_view texto);
