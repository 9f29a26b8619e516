#include "asm/Ensamblador.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <unordered_map>

#include "core/Entorno.h"

namespace {

enum class TForma {
  Carga,           // LD Rx, [RD+yy]
  Guarda,          // ST [RD+yy], Rx
  Registro_Byte,   // LLI, LHI, IN: Rx, yy
  Byte_Registro,   // OUT yy, Rx
  Tres_Registros,  // ADDS, SUBS, NAND: Rx, Rs, Rt
  Un_Registro,     // SHL, SHR, SHRA: Rx
  Salto,           // B and CALL: the target is in rD
  Sin_Operandos,   // RET, HALT
  Org,
  Dw,
};

struct TMnemonico {
  std::string_view Nombre;
  TForma Forma;
  uint16_t Codigo;
};

constexpr std::array<TMnemonico, 26> Mnemonicos = {{
    {"LD", TForma::Carga, 0x0000},          {"ST", TForma::Guarda, 0x1000},
    {"LLI", TForma::Registro_Byte, 0x2000}, {"LHI", TForma::Registro_Byte, 0x3000},
    {"IN", TForma::Registro_Byte, 0x4000},  {"OUT", TForma::Byte_Registro, 0x5000},
    {"ADDS", TForma::Tres_Registros, 0x6000}, {"SUBS", TForma::Tres_Registros, 0x7000},
    {"NAND", TForma::Tres_Registros, 0x8000}, {"SHL", TForma::Un_Registro, 0x9000},
    {"SHR", TForma::Un_Registro, 0xA000},   {"SHRA", TForma::Un_Registro, 0xB000},
    {"BR", TForma::Salto, 0xC000},          {"BZ", TForma::Salto, 0xC100},
    {"BS", TForma::Salto, 0xC200},          {"BC", TForma::Salto, 0xC300},
    {"BV", TForma::Salto, 0xC400},          {"CALLR", TForma::Salto, 0xD000},
    {"CALLZ", TForma::Salto, 0xD100},       {"CALLS", TForma::Salto, 0xD200},
    {"CALLC", TForma::Salto, 0xD300},       {"CALLV", TForma::Salto, 0xD400},
    {"RET", TForma::Sin_Operandos, 0xE000}, {"HALT", TForma::Sin_Operandos, 0xF000},
    {"ORG", TForma::Org, 0},                {"DW", TForma::Dw, 0},
}};

constexpr std::string_view Marca_Bom = "\xEF\xBB\xBF";
constexpr std::string_view Esperaba_Registro = "se esperaba un registro R0..RF";
constexpr std::string_view Esperaba_Fin = "se esperaba el fin de la línea o un comentario (;)";
// A longer bad name or number is quoted cut, so that a message stays short.
constexpr std::size_t Longitud_Cita = 32;
// A hex or decimal number is read up to this, which no field reaches.
constexpr int64_t Tope_Numero = int64_t{1} << 40;

enum class TCampo { Byte, Palabra, Direccion };
enum class TParte { Entera, Baja, Alta };

// A syntax error that ends the statement: where in the line, and why.
struct TFallo {
  std::size_t Posicion;
  std::string Mensaje;
};

char Mayuscula_Ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Mayusculas_Ascii(std::string_view texto) {
  std::string resultado(texto);
  for (char& c : resultado) c = Mayuscula_Ascii(c);
  return resultado;
}

bool Iguales_Sin_Caso(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Mayuscula_Ascii(x) == y; });
}

int Valor_Hex(char c) {
  c = Mayuscula_Ascii(c);
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Es_Letra(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool Es_Decimal(char c) { return c >= '0' && c <= '9'; }
// Bytes of accented letters belong to a name, so that "año" is read whole
// and refused whole.
bool Es_De_Nombre(char c) { return Es_Letra(c) || Es_Decimal(c) || static_cast<unsigned char>(c) >= 0x80; }
bool Es_Blanco_Fuente(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

std::string Hex(int64_t valor, int digitos) {
  std::string texto;
  do {
    texto.insert(texto.begin(), "0123456789ABCDEF"[valor & 0xF]);
    valor >>= 4;
  } while (valor > 0 || static_cast<int>(texto.size()) < digitos);
  return texto;
}

// Length of the well-formed UTF-8 sequence at the start of `texto`, 0 when
// it is not one.
std::size_t Largo_Utf8(std::string_view texto) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(texto[i]); };
  const unsigned char c = b(0);
  std::size_t largo = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (largo == 0 || largo > texto.size()) return 0;
  for (std::size_t i = 1; i < largo; ++i)
    if ((b(i) & 0xC0) != 0x80) return 0;
  if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) || (c == 0xF0 && b(1) < 0x90) ||
      (c == 0xF4 && b(1) > 0x8F))
    return 0;
  return largo;
}

// A piece of the source inside a message: cut when long, with "?" for bytes
// that are not UTF-8.
std::string Cita(std::string_view texto) {
  std::string cita;
  std::size_t i = 0;
  while (i < texto.size() && i < Longitud_Cita) {
    const std::size_t largo = Largo_Utf8(texto.substr(i));
    if (largo == 0) {
      cita += '?';
      ++i;
    } else {
      cita.append(texto.substr(i, largo));
      i += largo;
    }
  }
  if (i < texto.size()) cita += "\xE2\x80\xA6";  // "…"
  return cita;
}

int Numero_Registro(std::string_view nombre) {
  if (nombre.size() != 2 || Mayuscula_Ascii(nombre[0]) != 'R') return -1;
  return Valor_Hex(nombre[1]);
}

// Why a name cannot be a label; empty when it can.
std::string Motivo_Nombre_Invalido(std::string_view nombre) {
  if (Numero_Registro(nombre) >= 0) return Cita(nombre) + " es un registro y no puede ser una etiqueta";
  if (!std::all_of(nombre.begin(), nombre.end(), [](char c) { return Es_Letra(c) || Es_Decimal(c); }))
    return "nombre no válido: " + Cita(nombre) + " (solo letras sin acento, dígitos y _)";
  if (!Es_Letra(nombre[0])) return "nombre no válido: " + Cita(nombre) + " (empieza por una letra o _)";
  return {};
}

// A constant as an operand wrote it: a number, or a label's address or one
// of its bytes, known only at the end.
struct TConstante {
  int64_t Valor = 0;
  std::string Etiqueta;  // upper-cased; empty for a number
  std::string Nombre;    // the label as written
  TParte Parte = TParte::Entera;
  std::size_t Posicion = 0;           // where the constant begins
  std::size_t Posicion_Etiqueta = 0;  // where its label's name begins
};

// Reads one line, statement by statement.
class TCursor {
 public:
  explicit TCursor(std::string_view texto) : texto_(texto) {}

  std::size_t Posicion() const { return posicion_; }
  bool Al_Final() const { return posicion_ >= texto_.size(); }
  char Actual() const { return Al_Final() ? '\0' : texto_[posicion_]; }
  void Avanzar() { ++posicion_; }
  std::string_view Desde(std::size_t inicio) const { return texto_.substr(inicio, posicion_ - inicio); }

  void Saltar_Blancos() {
    while (!Al_Final() && Es_Blanco_Fuente(texto_[posicion_])) ++posicion_;
  }
  // At the end of the statement: nothing but blanks, then the end or a comment.
  bool Fin_Sentencia() {
    Saltar_Blancos();
    return Al_Final() || texto_[posicion_] == ';';
  }
  std::string_view Nombre() {
    const std::size_t inicio = posicion_;
    while (!Al_Final() && Es_De_Nombre(texto_[posicion_])) ++posicion_;
    return Desde(inicio);
  }
  bool Tomar(char c) {
    Saltar_Blancos();
    if (Al_Final() || texto_[posicion_] != c) return false;
    ++posicion_;
    return true;
  }
  void Exigir(char c, std::string_view mensaje) {
    if (!Tomar(c)) Fallar(mensaje);
  }
  [[noreturn]] void Fallar(std::string_view mensaje) const { throw TFallo{posicion_, std::string(mensaje)}; }
  [[noreturn]] static void Fallar_en(std::size_t posicion, std::string mensaje) {
    throw TFallo{posicion, std::move(mensaje)};
  }

 private:
  std::string_view texto_;
  std::size_t posicion_ = 0;
};

int Registro(TCursor& c) {
  c.Saltar_Blancos();
  const std::size_t inicio = c.Posicion();
  const int numero = Numero_Registro(c.Nombre());
  if (numero < 0) TCursor::Fallar_en(inicio, std::string(Esperaba_Registro));
  return numero;
}

int64_t Maximo(TCampo campo) { return campo == TCampo::Byte ? 0xFF : 0xFFFF; }

std::string No_Cabe(TCampo campo) { return campo == TCampo::Byte ? " no cabe en un byte" : " no cabe en una palabra"; }

std::string_view Esperaba_Constante(TCampo campo) {
  switch (campo) {
    case TCampo::Byte: return "se esperaba una constante: H'xx, decimal, LO(etiqueta) o HI(etiqueta)";
    case TCampo::Palabra: return "se esperaba una constante: H'xxxx, decimal o una etiqueta";
    case TCampo::Direccion: break;
  }
  return "se esperaba una dirección: H'xxxx o decimal";
}

// H'digits or decimal digits, already past their first name.
int64_t Numero(TCursor& c, std::string_view nombre, std::size_t inicio) {
  int64_t valor = 0;
  if (Iguales_Sin_Caso(nombre, "H") && c.Actual() == '\'') {
    c.Avanzar();
    const std::string_view digitos = c.Nombre();
    if (digitos.empty() || !std::all_of(digitos.begin(), digitos.end(), [](char d) { return Valor_Hex(d) >= 0; }))
      TCursor::Fallar_en(inicio, "constante hexadecimal no válida: " + Cita(c.Desde(inicio)));
    for (char d : digitos) valor = std::min(valor * 16 + Valor_Hex(d), Tope_Numero);
  } else {
    if (!std::all_of(nombre.begin(), nombre.end(), Es_Decimal))
      TCursor::Fallar_en(inicio, "constante decimal no válida: " + Cita(nombre) + " (en hexadecimal se escribe H'…)");
    for (char d : nombre) valor = std::min(valor * 10 + (d - '0'), Tope_Numero);
  }
  return valor;
}

TConstante Constante(TCursor& c, TCampo campo) {
  c.Saltar_Blancos();
  TConstante k;
  k.Posicion = c.Posicion();
  const std::string_view nombre = c.Nombre();
  if (nombre.empty()) c.Fallar(Esperaba_Constante(campo));
  const bool hexadecimal = Iguales_Sin_Caso(nombre, "H") && c.Actual() == '\'';
  if (hexadecimal || Es_Decimal(nombre[0])) {
    k.Valor = Numero(c, nombre, k.Posicion);
    if (k.Valor > Maximo(campo))
      TCursor::Fallar_en(k.Posicion, "constante fuera de rango: " + Cita(c.Desde(k.Posicion)) + No_Cabe(campo));
    return k;
  }
  if (campo == TCampo::Direccion) TCursor::Fallar_en(k.Posicion, std::string(Esperaba_Constante(campo)));
  std::string_view etiqueta = nombre;
  std::size_t inicio_etiqueta = k.Posicion;
  const bool byte = Iguales_Sin_Caso(nombre, "LO") || Iguales_Sin_Caso(nombre, "HI");
  if (byte && c.Tomar('(')) {
    k.Parte = Iguales_Sin_Caso(nombre, "LO") ? TParte::Baja : TParte::Alta;
    c.Saltar_Blancos();
    inicio_etiqueta = c.Posicion();
    etiqueta = c.Nombre();
    if (etiqueta.empty()) c.Fallar("se esperaba el nombre de una etiqueta");
  }
  if (Numero_Registro(etiqueta) >= 0) TCursor::Fallar_en(inicio_etiqueta, std::string(Esperaba_Constante(campo)));
  if (auto motivo = Motivo_Nombre_Invalido(etiqueta); !motivo.empty()) TCursor::Fallar_en(inicio_etiqueta, motivo);
  if (k.Parte != TParte::Entera) c.Exigir(')', "se esperaba )");
  k.Etiqueta = Mayusculas_Ascii(etiqueta);
  k.Nombre = std::string(etiqueta);
  k.Posicion_Etiqueta = inicio_etiqueta;
  return k;
}

const TMnemonico* Buscar(std::string_view nombre) {
  for (const TMnemonico& m : Mnemonicos)
    if (Iguales_Sin_Caso(nombre, m.Nombre)) return &m;
  return nullptr;
}

// The whole assembly, one line after another, then the labels.
class TEnsamblador {
 public:
  TResultado_Ensamblado Ensamblar(std::string_view fuente) {
    const std::vector<std::string_view> lineas = Dividir_Lineas(fuente);
    for (std::size_t i = 0; i < lineas.size(); ++i) {
      linea_ = static_cast<int32_t>(i + 1);
      texto_ = lineas[i];
      TCursor c(texto_);
      try {
        Linea(c);
      } catch (const TFallo& fallo) {
        Error(fallo.Posicion, fallo.Mensaje);
      }
    }
    Resolver_Etiquetas();
    for (auto& [clave, etiqueta] : etiquetas_)
      resultado_.Etiquetas.push_back({std::move(etiqueta.Nombre), etiqueta.Direccion, etiqueta.Linea});
    std::sort(resultado_.Etiquetas.begin(), resultado_.Etiquetas.end(),
              [](const TEtiqueta_Ensamblada& a, const TEtiqueta_Ensamblada& b) {
                return a.Linea != b.Linea ? a.Linea < b.Linea : a.Direccion < b.Direccion;
              });
    std::stable_sort(resultado_.Errores.begin(), resultado_.Errores.end(),
                     [](const TError_Ensamblado& a, const TError_Ensamblado& b) {
                       return a.Linea != b.Linea ? a.Linea < b.Linea : a.Columna < b.Columna;
                     });
    if (!resultado_.Errores.empty()) resultado_.Palabras.clear();
    else if (resultado_.Palabras.empty())
      resultado_.Errores.push_back({1, 1, "el programa no coloca ninguna palabra en memoria"});
    return std::move(resultado_);
  }

 private:
  struct TEtiqueta {
    int64_t Direccion;
    int32_t Linea;
    std::string Nombre;
  };
  // A label operand, filled in when every label is known.
  struct TReferencia {
    TConstante Constante;
    TCampo Campo;
    std::size_t Palabra;  // index into the words; npos when the word was not placed
    int32_t Linea;
    int32_t Columna;
    int32_t Columna_Etiqueta;
  };

  // Columns count characters, not the bytes of an accented letter.
  int32_t Columna(std::size_t posicion) const {
    const std::string_view antes = texto_.substr(0, std::min(posicion, texto_.size()));
    const auto continuaciones = std::count_if(antes.begin(), antes.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    });
    return static_cast<int32_t>(antes.size() - static_cast<std::size_t>(continuaciones) + 1);
  }

  void Error(std::size_t posicion, std::string mensaje) {
    resultado_.Errores.push_back({linea_, Columna(posicion), std::move(mensaje)});
  }

  void Linea(TCursor& c) {
    while (!c.Fin_Sentencia()) {
      const std::size_t inicio = c.Posicion();
      const std::string_view nombre = c.Nombre();
      if (nombre.empty()) c.Fallar("se esperaba una etiqueta, una instrucción o una directiva");
      if (c.Tomar(':')) {
        Definir(nombre, inicio);
        continue;
      }
      Sentencia(c, nombre, inicio);
      return;
    }
  }

  void Definir(std::string_view nombre, std::size_t inicio) {
    if (auto motivo = Motivo_Nombre_Invalido(nombre); !motivo.empty()) return Error(inicio, std::move(motivo));
    const auto [anterior, nueva] = etiquetas_.try_emplace(Mayusculas_Ascii(nombre), TEtiqueta{direccion_, linea_, std::string(nombre)});
    if (!nueva)
      Error(inicio, "etiqueta definida dos veces: " + Cita(nombre) + " (ya en la línea " +
                        std::to_string(anterior->second.Linea) + ")");
  }

  void Sentencia(TCursor& c, std::string_view nombre, std::size_t inicio) {
    const TMnemonico* m = Buscar(nombre);
    if (m && m->Forma == TForma::Org) {
      const TConstante k = Constante(c, TCampo::Direccion);
      if (!c.Fin_Sentencia()) c.Fallar(Esperaba_Fin);
      direccion_ = k.Valor;
      aviso_monitor_ = aviso_solape_ = false;
      return;
    }
    // A statement with an error still takes its word, so that the addresses
    // of the lines after it, and their messages, stay right.
    uint16_t palabra = 0;
    std::optional<TConstante> constante;
    TCampo campo = TCampo::Byte;
    try {
      if (!m) TCursor::Fallar_en(inicio, "instrucción o directiva desconocida: " + Cita(nombre));
      palabra = m->Codigo;
      const auto coma = [&] { c.Exigir(',', "se esperaba una coma"); };
      const auto x = [&](int r) { palabra = static_cast<uint16_t>(palabra | r << 8); };
      switch (m->Forma) {
        case TForma::Carga:
          x(Registro(c));
          coma();
          constante = Memoria(c);
          break;
        case TForma::Guarda:
          constante = Memoria(c);
          coma();
          x(Registro(c));
          break;
        case TForma::Registro_Byte:
          x(Registro(c));
          coma();
          constante = Constante(c, campo);
          break;
        case TForma::Byte_Registro:
          constante = Constante(c, campo);
          coma();
          x(Registro(c));
          break;
        case TForma::Tres_Registros:
          x(Registro(c));
          coma();
          palabra = static_cast<uint16_t>(palabra | Registro(c) << 4);
          coma();
          palabra = static_cast<uint16_t>(palabra | Registro(c));
          break;
        case TForma::Un_Registro: x(Registro(c)); break;
        case TForma::Salto:
          if (!c.Fin_Sentencia())
            c.Fallar(std::string(m->Nombre) + " no lleva operandos: el destino se carga antes en RD");
          break;
        case TForma::Sin_Operandos:
          if (!c.Fin_Sentencia()) c.Fallar(std::string(m->Nombre) + " no lleva operandos");
          break;
        case TForma::Dw:
          campo = TCampo::Palabra;
          constante = Constante(c, campo);
          break;
        case TForma::Org: break;
      }
      if (!c.Fin_Sentencia()) c.Fallar(Esperaba_Fin);
    } catch (const TFallo&) {
      ++direccion_;
      throw;
    }
    if (constante && constante->Etiqueta.empty())
      palabra = static_cast<uint16_t>(palabra | constante->Valor);
    const std::size_t indice = Colocar(palabra, inicio);
    if (constante && !constante->Etiqueta.empty()) {
      const int32_t columna = Columna(constante->Posicion);
      const int32_t columna_etiqueta = Columna(constante->Posicion_Etiqueta);
      referencias_.push_back({std::move(*constante), campo, indice, linea_, columna, columna_etiqueta});
    }
  }

  static TConstante Memoria(TCursor& c) {
    c.Exigir('[', "se esperaba [RD+desplazamiento]");
    c.Saltar_Blancos();
    const std::size_t base = c.Posicion();
    const int registro = Registro(c);
    if (registro != 13)
      TCursor::Fallar_en(base, "la base de LD y ST es siempre RD, no R" + Hex(registro, 1));
    c.Exigir('+', "se esperaba + tras RD");
    TConstante k = Constante(c, TCampo::Byte);
    c.Exigir(']', "se esperaba ]");
    return k;
  }

  // Stores the word at the current address unless that is the monitor's or
  // already holds one; each ORG block reports each of the two once.
  std::size_t Colocar(uint16_t palabra, std::size_t inicio) {
    std::size_t indice = std::string::npos;
    if (direccion_ >= Primera_Direccion_Monitor) {
      if (!aviso_monitor_)
        Error(inicio, "la palabra caería en H'" + Hex(direccion_, 4) + ", en el área del monitor (F000..FFFF)");
      aviso_monitor_ = true;
    } else if (const int32_t anterior = Ocupada(direccion_); anterior != 0) {
      if (!aviso_solape_)
        Error(inicio, "la dirección H'" + Hex(direccion_, 4) + " ya tiene una palabra, de la línea " +
                          std::to_string(anterior));
      aviso_solape_ = true;
    } else {
      ocupadas_.resize(std::max(ocupadas_.size(), static_cast<std::size_t>(direccion_) + 1));
      ocupadas_[static_cast<std::size_t>(direccion_)] = linea_;
      indice = resultado_.Palabras.size();
      resultado_.Palabras.push_back({static_cast<int32_t>(direccion_), palabra, linea_});
    }
    ++direccion_;
    return indice;
  }

  int32_t Ocupada(int64_t direccion) const {
    const auto d = static_cast<std::size_t>(direccion);
    return d < ocupadas_.size() ? ocupadas_[d] : 0;
  }

  void Resolver_Etiquetas() {
    for (const TReferencia& r : referencias_) {
      const TConstante& k = r.Constante;
      const auto error = [&](std::string mensaje) { resultado_.Errores.push_back({r.Linea, r.Columna, std::move(mensaje)}); };
      const auto etiqueta = etiquetas_.find(k.Etiqueta);
      if (etiqueta == etiquetas_.end()) {
        resultado_.Errores.push_back({r.Linea, r.Columna_Etiqueta, "etiqueta no definida: " + Cita(k.Nombre)});
        continue;
      }
      const int64_t direccion = etiqueta->second.Direccion;
      const std::string valor = Cita(k.Nombre) + " = H'" + Hex(direccion, 4);
      if (direccion > 0xFFFF) {
        error("constante fuera de rango: " + valor + " queda fuera de la memoria");
        continue;
      }
      int64_t v = k.Parte == TParte::Baja ? direccion & 0xFF : k.Parte == TParte::Alta ? direccion >> 8 : direccion;
      if (v > Maximo(r.Campo)) {
        error("constante fuera de rango: " + valor + No_Cabe(r.Campo) + "; use LO(" + Cita(k.Nombre) + ") o HI(" +
              Cita(k.Nombre) + ")");
        continue;
      }
      if (r.Palabra != std::string::npos) {
        auto& palabra = resultado_.Palabras[r.Palabra].Palabra;
        palabra = static_cast<uint16_t>(palabra | v);
      }
    }
  }

  TResultado_Ensamblado resultado_;
  std::unordered_map<std::string, TEtiqueta> etiquetas_;
  std::vector<TReferencia> referencias_;
  // The source line of the word at each address; 0 while free. It grows
  // with the highest address used, so a short source stays cheap.
  std::vector<int32_t> ocupadas_;
  int64_t direccion_ = 0;
  bool aviso_monitor_ = false;
  bool aviso_solape_ = false;
  int32_t linea_ = 0;
  std::string_view texto_;
};

}  // namespace

std::vector<std::string_view> Dividir_Lineas(std::string_view fuente) {
  if (fuente.substr(0, Marca_Bom.size()) == Marca_Bom) fuente.remove_prefix(Marca_Bom.size());
  std::vector<std::string_view> lineas;
  std::size_t inicio = 0;
  for (std::size_t i = 0; i < fuente.size(); ++i) {
    if (fuente[i] != '\n' && fuente[i] != '\r') continue;
    lineas.push_back(fuente.substr(inicio, i - inicio));
    if (fuente[i] == '\r' && i + 1 < fuente.size() && fuente[i + 1] == '\n') ++i;
    inicio = i + 1;
  }
  if (inicio < fuente.size()) lineas.push_back(fuente.substr(inicio));
  return lineas;
}

TResultado_Ensamblado Ensamblar(std::string_view fuente) { return TEnsamblador().Ensamblar(fuente); }

TClase_Nombre Clase_Nombre(std::string_view nombre) {
  if (Numero_Registro(nombre) >= 0) return TClase_Nombre::Registro;
  const TMnemonico* m = Buscar(nombre);
  if (!m) return TClase_Nombre::Otro;
  return m->Forma == TForma::Org || m->Forma == TForma::Dw ? TClase_Nombre::Directiva : TClase_Nombre::Mnemonico;
}

std::vector<std::string_view> Mnemonicos_y_Directivas() {
  std::vector<std::string_view> nombres;
  for (const TMnemonico& m : Mnemonicos) nombres.push_back(m.Nombre);
  return nombres;
}
