#include "asm/Programa_Objeto.h"

#include <algorithm>

#include "core/TextoHex.h"
#include "disasm/UNASM.h"

namespace {

void Agregar_Hex(std::string& texto, unsigned valor, int digitos) {
  for (int d = digitos - 1; d >= 0; --d) texto += "0123456789ABCDEF"[(valor >> (4 * d)) & 0xF];
}

}  // namespace

std::string Texto_Objeto(const std::vector<TPalabra_Ensamblada>& palabras, TFormato_Objeto formato,
                         bool desensamblado) {
  std::vector<TPalabra_Ensamblada> ordenadas = palabras;
  std::stable_sort(ordenadas.begin(), ordenadas.end(),
                   [](const auto& a, const auto& b) { return a.Direccion < b.Direccion; });
  std::string texto;
  texto.reserve(ordenadas.size() * 16 + 12);
  for (const TPalabra_Ensamblada& p : ordenadas) {
    const auto direccion = static_cast<unsigned>(p.Direccion);
    if (formato == TFormato_Objeto::EHC) {
      Agregar_Hex(texto, direccion, 4);
      texto += ' ';
      Agregar_Hex(texto, p.Palabra, 4);
      if (desensamblado) texto += " ; " + Desensamblar(texto.substr(texto.size() - 4));
    } else {
      const unsigned suma = 2 + (direccion >> 8) + (direccion & 0xFF) + (p.Palabra >> 8u) + (p.Palabra & 0xFFu);
      texto += ":02";
      Agregar_Hex(texto, direccion, 4);
      texto += "00";
      Agregar_Hex(texto, p.Palabra, 4);
      Agregar_Hex(texto, (0x100 - (suma & 0xFF)) & 0xFF, 2);
    }
    texto += '\n';
  }
  if (formato == TFormato_Objeto::HEX) texto += ":00000001FF\n";
  return texto;
}

std::string Texto_Programa_Escrito(const TEntorno& entorno) {
  std::vector<TPalabra_Ensamblada> palabras;
  for (int32_t direccion : entorno.Palabras_Escritas.Lista(entorno.Memoria))
    palabras.push_back({direccion, static_cast<uint16_t>(Texto_a_Palabra(entorno.Leer_Palabra(direccion))), 0});
  return palabras.empty() ? std::string() : Texto_Objeto(palabras, TFormato_Objeto::EHC, true);
}

std::string Texto_Listado(const std::vector<TPalabra_Ensamblada>& palabras, std::string_view fuente) {
  const std::vector<std::string_view> lineas = Dividir_Lineas(fuente);
  std::string texto;
  for (const TPalabra_Ensamblada& p : palabras) {
    Agregar_Hex(texto, static_cast<unsigned>(p.Direccion), 4);
    texto += ' ';
    Agregar_Hex(texto, p.Palabra, 4);
    texto += "  ";
    if (p.Linea >= 1 && static_cast<std::size_t>(p.Linea) <= lineas.size()) {
      std::string_view linea = lineas[static_cast<std::size_t>(p.Linea - 1)];
      while (!linea.empty() && (linea.back() == ' ' || linea.back() == '\t')) linea.remove_suffix(1);
      texto += linea;
    }
    texto += '\n';
  }
  return texto;
}
