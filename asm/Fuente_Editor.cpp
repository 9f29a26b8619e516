#include "asm/Fuente_Editor.h"

#include <algorithm>

#include "core/TextoHex.h"
#include "core/Textos.h"

namespace {

bool Es_Blanco(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
// As the assembler reads a name: accented letters' bytes belong to it.
bool Es_De_Nombre(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool Es_Continuacion(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool Es_H(std::string_view nombre) { return nombre == "H" || nombre == "h"; }
bool Es_Lo_Hi(std::string_view nombre) {
  if (nombre.size() != 2) return false;
  const char a = static_cast<char>(nombre[0] & ~0x20), b = static_cast<char>(nombre[1] & ~0x20);
  return (a == 'L' && b == 'O') || (a == 'H' && b == 'I');
}

// Bytes to characters, walking forward only: a line is read once.
class TContador {
 public:
  explicit TContador(std::string_view linea) : linea_(linea) {}
  int32_t Caracter(std::size_t byte) {
    for (; byte_ < byte && byte_ < linea_.size(); ++byte_)
      if (!Es_Continuacion(linea_[byte_])) ++caracter_;
    return caracter_;
  }

 private:
  std::string_view linea_;
  std::size_t byte_ = 0;
  int32_t caracter_ = 0;
};

}  // namespace

std::vector<TPieza> Piezas_Linea(std::string_view linea) {
  std::vector<TPieza> piezas;
  TContador contador(linea);
  const auto pieza = [&](std::size_t inicio, std::size_t fin, TClase_Pieza clase) {
    const int32_t a = contador.Caracter(inicio);
    piezas.push_back({a, contador.Caracter(fin) - a, clase});
  };
  std::size_t i = 0;
  while (i < linea.size()) {
    const char c = linea[i];
    if (c == ';') {
      pieza(i, linea.size(), TClase_Pieza::Comentario);
      break;
    }
    if (!Es_De_Nombre(c)) {
      ++i;
      continue;
    }
    const std::size_t inicio = i;
    while (i < linea.size() && Es_De_Nombre(linea[i])) ++i;
    const std::string_view nombre = linea.substr(inicio, i - inicio);
    if (Es_H(nombre) && i < linea.size() && linea[i] == '\'') {
      for (++i; i < linea.size() && Es_De_Nombre(linea[i]);) ++i;
      pieza(inicio, i, TClase_Pieza::Constante);
      continue;
    }
    if (c >= '0' && c <= '9') {
      pieza(inicio, i, TClase_Pieza::Constante);
      continue;
    }
    std::size_t j = i;
    while (j < linea.size() && Es_Blanco(linea[j])) ++j;
    const char siguiente = j < linea.size() ? linea[j] : '\0';
    TClase_Pieza clase = TClase_Pieza::Etiqueta;
    if (siguiente == '(' && Es_Lo_Hi(nombre)) clase = TClase_Pieza::Constante;
    else if (siguiente != ':') {
      switch (Clase_Nombre(nombre)) {
        case TClase_Nombre::Mnemonico: clase = TClase_Pieza::Mnemonico; break;
        case TClase_Nombre::Directiva: clase = TClase_Pieza::Directiva; break;
        case TClase_Nombre::Registro: clase = TClase_Pieza::Registro; break;
        case TClase_Nombre::Otro: break;
      }
    }
    pieza(inicio, i, clase);
  }
  return piezas;
}

const TPieza* Pieza_en(const std::vector<TPieza>& piezas, int32_t posicion) {
  for (const TPieza& p : piezas)
    if (posicion >= p.Inicio && posicion < p.Inicio + p.Largo) return &p;
  return nullptr;
}

TTramo_Error Tramo_Error(std::string_view linea, int32_t columna) {
  const int32_t largo = TContador(linea).Caracter(linea.size());
  if (largo == 0) return {};
  const int32_t inicio = std::clamp(columna - 1, 0, largo - 1);
  if (columna - 1 >= largo) return {inicio, largo};
  // A comment is no token: one character, as for punctuation.
  const std::vector<TPieza> piezas = Piezas_Linea(linea);
  const TPieza* p = Pieza_en(piezas, inicio);
  if (!p || p->Clase == TClase_Pieza::Comentario) return {inicio, inicio + 1};
  return {inicio, p->Inicio + p->Largo};
}

TMapa_Lineas::TMapa_Lineas(const std::vector<TPalabra_Ensamblada>& palabras) {
  int32_t ultima = 0;
  for (const TPalabra_Ensamblada& p : palabras) ultima = std::max(ultima, p.Linea);
  direccion_por_linea_.assign(static_cast<std::size_t>(ultima) + 1, -1);
  linea_por_direccion_.assign(0x10000, 0);
  for (const TPalabra_Ensamblada& p : palabras) {
    if (p.Linea <= 0 || p.Direccion < 0 || p.Direccion > 0xFFFF) continue;
    direccion_por_linea_[static_cast<std::size_t>(p.Linea)] = p.Direccion;
    linea_por_direccion_[static_cast<std::size_t>(p.Direccion)] = p.Linea;
  }
  siguiente_.assign(direccion_por_linea_.size(), 0);
  int32_t proxima = 0;
  for (auto linea = static_cast<int32_t>(direccion_por_linea_.size()) - 1; linea > 0; --linea) {
    if (direccion_por_linea_[static_cast<std::size_t>(linea)] >= 0) proxima = linea;
    siguiente_[static_cast<std::size_t>(linea)] = proxima;
  }
}

int32_t TMapa_Lineas::Direccion(int32_t linea) const {
  if (linea <= 0 || linea >= static_cast<int32_t>(direccion_por_linea_.size())) return -1;
  return direccion_por_linea_[static_cast<std::size_t>(linea)];
}

int32_t TMapa_Lineas::Linea_con_Palabra(int32_t linea) const {
  if (linea >= static_cast<int32_t>(siguiente_.size())) return 0;
  return siguiente_[static_cast<std::size_t>(std::max(linea, 1))];
}

int32_t TMapa_Lineas::Linea(int32_t direccion) const {
  if (direccion < 0 || direccion >= static_cast<int32_t>(linea_por_direccion_.size())) return 0;
  return linea_por_direccion_[static_cast<std::size_t>(direccion)];
}

std::vector<std::string> Completar(std::string_view prefijo, const std::vector<TEtiqueta_Ensamblada>& etiquetas) {
  const auto empieza = [prefijo](std::string_view nombre) {
    return nombre.size() >= prefijo.size() &&
           std::equal(prefijo.begin(), prefijo.end(), nombre.begin(), [](char a, char b) {
             return (a >= 'a' && a <= 'z' ? a - 32 : a) == (b >= 'a' && b <= 'z' ? b - 32 : b);
           });
  };
  std::vector<std::string> nombres;
  for (std::string_view nombre : Mnemonicos_y_Directivas())
    if (empieza(nombre)) nombres.emplace_back(nombre);
  for (const TEtiqueta_Ensamblada& e : etiquetas)
    if (empieza(e.Nombre) && std::find(nombres.begin(), nombres.end(), e.Nombre) == nombres.end())
      nombres.push_back(e.Nombre);
  return nombres;
}

std::string Resumen_Ensamblado(const TResultado_Ensamblado& resultado) {
  if (resultado.Palabras.empty()) return "Sin errores: 0 palabras";
  const auto [menor, mayor] = std::minmax_element(
      resultado.Palabras.begin(), resultado.Palabras.end(),
      [](const TPalabra_Ensamblada& a, const TPalabra_Ensamblada& b) { return a.Direccion < b.Direccion; });
  return "Sin errores: " + Cantidad(resultado.Palabras.size(), "palabra", "palabras") + ", de " +
         Palabra_a_Texto(menor->Direccion) + " a " + Palabra_a_Texto(mayor->Direccion);
}
