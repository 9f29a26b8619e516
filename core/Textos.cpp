#include "core/Textos.h"

std::string Agrupar_Cifras(uint64_t n) {
  const std::string cifras = std::to_string(n);
  std::string texto;
  for (size_t i = 0; i < cifras.size(); ++i) {
    if (i > 0 && (cifras.size() - i) % 3 == 0) texto += '.';
    texto += cifras[i];
  }
  return texto;
}

std::string Cantidad(uint64_t n, std::string_view singular, std::string_view plural) {
  return Agrupar_Cifras(n) + ' ' + std::string(n == 1 ? singular : plural);
}
