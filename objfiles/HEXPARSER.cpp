#include "objfiles/HEXPARSER.h"

#include <algorithm>

#include "objfiles/Normalizar.h"

bool Es_Digito_Hex(char c) {
  c = Mayuscula(c);
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool Linea_Hex_Valida(std::string_view linea) {
  if (linea.empty()) return true;
  return linea.size() == 15 && linea[0] == ':' && std::all_of(linea.begin() + 1, linea.end(), Es_Digito_Hex);
}
