#pragma once
// Validation of a one-word Intel HEX record after normalisation.
#include <string_view>

// 0..9, A..F, a..f.
bool Es_Digito_Hex(char c);
// True for the empty line, and for ":" followed by exactly 14 hex digits.
bool Linea_Hex_Valida(std::string_view linea);
