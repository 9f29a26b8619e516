#pragma once
// The words of an EHC line: address and content, separated by blanks.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Number of runs of non-blanks.
int Contar_Palabras(std::string_view linea);
// Word n (from 1) of a compacted line: the text after the (n-1)-th space up to
// the next one. A line without spaces is its own word for every n; a line with
// fewer words than n gives the empty text.
std::string_view Extraer_Palabra(std::string_view linea, int n);
// The word with fill characters in front up to the width; nothing when the
// word is already longer.
std::optional<std::string> Rellenar_Izquierda(std::string_view palabra, std::size_t ancho, char relleno);
