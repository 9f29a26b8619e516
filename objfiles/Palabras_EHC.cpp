#include "objfiles/Palabras_EHC.h"

#include "objfiles/Normalizar.h"

int Contar_Palabras(std::string_view linea) {
  const std::string compacta = Compactar_Blancos(linea);
  int palabras = 0;
  bool tras_blanco = true;
  for (char c : compacta) {
    if (!Es_Blanco(c) && tras_blanco) ++palabras;
    tras_blanco = Es_Blanco(c);
  }
  return palabras;
}

std::string_view Extraer_Palabra(std::string_view linea, int n) {
  if (linea.find(' ') == std::string_view::npos) return linea;
  std::size_t inicio = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t espacio = linea.find(' ', inicio);
    if (espacio == std::string_view::npos) return {};
    inicio = espacio + 1;
  }
  return linea.substr(inicio, linea.find(' ', inicio) - inicio);
}

std::optional<std::string> Rellenar_Izquierda(std::string_view palabra, std::size_t ancho, char relleno) {
  if (palabra.size() > ancho) return std::nullopt;
  return std::string(ancho - palabra.size(), relleno) + std::string(palabra);
}
