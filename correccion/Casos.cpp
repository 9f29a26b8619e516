#include "Casos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "core/TextoHex.h"
#include "core/Textos.h"

namespace {

// JSON numbers are doubles: integers are exact up to 2^53.
constexpr double Maximo_Entero = 9007199254740992.0;
const char* const Nombres_Bandera[] = {"Z", "S", "C", "V"};
const char* const No_Registro = "no es un registro (r0..rF, AR, DR, IR, PC)";
const char* const Cualquiera = "cualquiera";
const char* const Claves_Comprobar =
    "r0..rF, AR, DR, IR, PC, registros, Z, S, C, V, banderas, puertos_salida.PP, memoria.AAAA[:N], parada";

std::string S(const QString& texto) { return texto.toStdString(); }

// The value as the file wrote it, for messages.
std::string Texto_Json(const QJsonValue& valor) {
  const QByteArray lista = QJsonDocument(QJsonArray{valor}).toJson(QJsonDocument::Compact);
  return lista.mid(1, lista.size() - 2).toStdString();
}

// The number written in exactly `digitos` hex digits of either case.
std::optional<int32_t> Hex(const QString& texto, int digitos) {
  if (texto.size() != digitos) return std::nullopt;
  int32_t valor = 0;
  for (const QChar c : texto) {
    const int32_t digito = c.unicode() < 128 ? Valor_Digito(static_cast<char>(c.unicode())) : -1;
    if (digito < 0) return std::nullopt;
    valor = 16 * valor + digito;
  }
  return valor;
}

std::optional<int> Visor_de_Nombre(const QString& nombre) {
  const QString n = nombre.toUpper();
  if (n.size() == 2 && n[0] == QLatin1Char('R'))
    if (const auto numero = Hex(n.mid(1), 1)) return Visor_Registro(*numero);
  for (int visor : {Visor_AR, Visor_DR, Visor_IR, Visor_PC})
    if (S(n) == Nombre_Registro(visor)) return visor;
  return std::nullopt;
}

std::optional<TBandera> Bandera_de_Nombre(const QString& nombre) {
  for (TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    if (S(nombre.toUpper()) == Nombres_Bandera[bandera]) return bandera;
  return std::nullopt;
}

// "línea:columna", both from 1, the column in characters, of the parser's
// error offset, which lies just past the character it stopped at.
std::string Posicion(const QByteArray& texto, int offset) {
  const auto fin = std::clamp<qsizetype>(offset - 1, 0, texto.size());
  int linea = 1, columna = 1;
  for (qsizetype i = 0; i < fin; ++i) {
    const auto byte = static_cast<unsigned char>(texto[i]);
    if (byte == '\n') {
      ++linea;
      columna = 1;
    } else if ((byte & 0xC0) != 0x80) {
      ++columna;
    }
  }
  return std::to_string(linea) + ":" + std::to_string(columna);
}

// Reads the members of one place of the file (the file itself, or one case),
// naming the place and the key in every error.
class TLector {
 public:
  TLector(std::vector<std::string>& errores, std::string lugar) : errores_(errores), lugar_(std::move(lugar)) {}

  void Error(const std::string& clave, const std::string& texto) {
    errores_.push_back(lugar_ + ": " + (clave.empty() ? texto : clave + ": " + texto));
  }

  // Calls entrada(key, key path, value) for each member of an object.
  template <class F>
  void Objeto(const QJsonValue& valor, const std::string& clave, F&& entrada) {
    if (!valor.isObject()) return Error(clave, "necesita un objeto: " + Texto_Json(valor));
    const QJsonObject objeto = valor.toObject();
    for (auto it = objeto.begin(); it != objeto.end(); ++it) entrada(it.key(), clave + "." + S(it.key()), it.value());
  }

  std::optional<std::string> Palabra(const QJsonValue& valor, const std::string& clave) {
    if (valor.isString() && Hex(valor.toString(), 4)) return S(valor.toString().toUpper());
    Error(clave, "necesita cuatro dígitos hex: " + Texto_Json(valor));
    return std::nullopt;
  }

  std::optional<int> Puerto(const QString& nombre, const std::string& clave) {
    const auto puerto = Hex(nombre, 2);
    if (puerto && *puerto < Numero_Puertos) return *puerto;
    Error(clave, "no es un puerto (dos dígitos hex, de 00 a 3F)");
    return std::nullopt;
  }

  std::optional<int32_t> Direccion(const QString& nombre, const std::string& clave) {
    const auto direccion = Hex(nombre, 4);
    if (direccion && *direccion < Primera_Direccion_Monitor) return *direccion;
    Error(clave, "no es una dirección de memoria (cuatro dígitos hex, de 0000 a EFFF)");
    return std::nullopt;
  }

  std::optional<uint64_t> Entero(const QJsonValue& valor, const std::string& clave, double minimo) {
    const double numero = valor.toDouble(-1);
    if (valor.isDouble() && numero >= minimo && numero <= Maximo_Entero && numero == std::floor(numero))
      return static_cast<uint64_t>(numero);
    Error(clave, std::string(minimo > 0 ? "necesita un número entero positivo: " : "necesita un número entero no negativo: ") +
                     Texto_Json(valor));
    return std::nullopt;
  }

  // An object of words keyed by port (two hex digits) or by address (four):
  // {"01": "0008"}.
  void Palabras(const QJsonValue& valor, const std::string& clave, bool por_puerto,
                std::vector<std::pair<int, std::string>>& lista) {
    Objeto(valor, clave, [&](const QString& nombre, const std::string& r, const QJsonValue& w) {
      const std::optional<int> item = por_puerto ? Puerto(nombre, r) : Direccion(nombre, r);
      const auto palabra = Palabra(w, r);
      if (item && palabra) Agregar(lista, *item, *palabra, r);
    });
  }

  // Adds an item once; its name written twice (r3 and R3) is an error.
  template <class K, class V>
  void Agregar(std::vector<std::pair<K, V>>& lista, K clave_item, V valor, const std::string& clave) {
    if (std::any_of(lista.begin(), lista.end(), [&](const auto& par) { return par.first == clave_item; }))
      return Error(clave, "repetido");
    lista.emplace_back(clave_item, std::move(valor));
  }

 private:
  std::vector<std::string>& errores_;
  std::string lugar_;
};

template <class K, class V>
void Ordenar(std::vector<std::pair<K, V>>& lista) {
  std::sort(lista.begin(), lista.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

TEspera Leer_Espera(const QJsonValue& valor, TLector& l) {
  TEspera espera;
  l.Objeto(valor, "espera", [&](const QString& clave, const std::string& ruta, const QJsonValue& v) {
    if (clave == QLatin1String("parada")) {
      espera.Parada = v.isString() ? Fin_de_Nombre(S(v.toString())) : std::nullopt;
      if (!espera.Parada && v != QLatin1String(Cualquiera))
        l.Error(ruta, "no es una parada (" + Nombres_de_Parada() + "): " + Texto_Json(v));
    } else if (clave == QLatin1String("registros")) {
      l.Objeto(v, ruta, [&](const QString& nombre, const std::string& r, const QJsonValue& w) {
        const auto visor = Visor_de_Nombre(nombre);
        if (!visor) return l.Error(r, No_Registro);
        if (const auto palabra = l.Palabra(w, r)) l.Agregar(espera.Registros, *visor, *palabra, r);
      });
    } else if (clave == QLatin1String("banderas")) {
      l.Objeto(v, ruta, [&](const QString& nombre, const std::string& r, const QJsonValue& w) {
        const auto bandera = Bandera_de_Nombre(nombre);
        if (!bandera) return l.Error(r, "no es una bandera (Z, S, C, V)");
        if (!w.isDouble() || (w.toDouble() != 0 && w.toDouble() != 1)) return l.Error(r, "necesita 0 o 1: " + Texto_Json(w));
        l.Agregar(espera.Banderas, *bandera, w.toInt(), r);
      });
    } else if (clave == QLatin1String("puertos_salida")) {
      l.Palabras(v, ruta, true, espera.Salidas);
    } else if (clave == QLatin1String("memoria")) {
      l.Palabras(v, ruta, false, espera.Memoria);
    } else {
      l.Error(ruta, "clave desconocida");
    }
  });
  Ordenar(espera.Registros);
  Ordenar(espera.Banderas);
  Ordenar(espera.Salidas);
  Ordenar(espera.Memoria);
  return espera;
}

// Sorted, each item once: the order in which `espera` is written.
template <class T>
void Ordenar_Sin_Repetir(std::vector<T>& lista) {
  std::sort(lista.begin(), lista.end());
  lista.erase(std::unique(lista.begin(), lista.end()), lista.end());
}

// "memoria.AAAA" or "memoria.AAAA:N", N words in decimal, all below the monitor.
void Leer_Memoria_Comprobar(const QString& texto, TComprobar& c, TLector& l) {
  const QString resto = texto.mid(8);
  const qsizetype dos_puntos = resto.indexOf(QLatin1Char(':'));
  const std::string clave = "comprobar: \"" + S(texto) + "\"";
  const auto direccion = Hex(resto.left(dos_puntos), 4);
  if (!direccion || *direccion >= Primera_Direccion_Monitor) {
    l.Error(clave, "no es una dirección de memoria (cuatro dígitos hex, de 0000 a EFFF)");
    return;
  }
  const int32_t maximo = Primera_Direccion_Monitor - *direccion;
  int32_t cantidad = 1;
  if (dos_puntos >= 0) {
    static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,5}$"));
    const QString numero = resto.mid(dos_puntos + 1);
    cantidad = decimal.match(numero).hasMatch() ? numero.toInt() : 0;
    if (cantidad < 1 || cantidad > maximo) {
      l.Error(clave, "la cuenta necesita un número de palabras de 1 a " + Agrupar_Cifras(static_cast<uint64_t>(maximo)) +
                         " (hasta EFFF)");
      return;
    }
  }
  for (int32_t a = *direccion; a < *direccion + cantidad; ++a) c.Memoria.push_back(a);
}

TComprobar Leer_Comprobar(const QJsonValue& valor, TLector& l) {
  TComprobar c;
  if (!valor.isArray()) {
    l.Error("comprobar", "necesita una lista de claves: " + Texto_Json(valor));
    return c;
  }
  if (valor.toArray().isEmpty()) l.Error("comprobar", "la lista está vacía");
  for (const QJsonValue item : valor.toArray()) {
    if (!item.isString()) {
      l.Error("comprobar", "necesita claves en texto: " + Texto_Json(item));
      continue;
    }
    const QString texto = item.toString();
    if (const auto visor = Visor_de_Nombre(texto)) {
      c.Registros.push_back(*visor);
    } else if (const auto bandera = Bandera_de_Nombre(texto)) {
      c.Banderas.push_back(*bandera);
    } else if (texto == QLatin1String("registros")) {
      for (int n = 0; n < 16; ++n) c.Registros.push_back(Visor_Registro(n));
    } else if (texto == QLatin1String("banderas")) {
      for (TBandera b : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V}) c.Banderas.push_back(b);
    } else if (texto == QLatin1String("parada")) {
      c.Parada = true;
    } else if (texto.startsWith(QLatin1String("puertos_salida."))) {
      const auto puerto = Hex(texto.mid(15), 2);
      if (puerto && *puerto < Numero_Puertos) c.Salidas.push_back(static_cast<int>(*puerto));
      else l.Error("comprobar: \"" + S(texto) + "\"", "no es un puerto (dos dígitos hex, de 00 a 3F)");
    } else if (texto.startsWith(QLatin1String("memoria."))) {
      Leer_Memoria_Comprobar(texto, c, l);
    } else {
      l.Error("comprobar", Texto_Json(item) + " no es una clave que comprobar (" + Claves_Comprobar + ")");
    }
  }
  Ordenar_Sin_Repetir(c.Registros);
  Ordenar_Sin_Repetir(c.Banderas);
  Ordenar_Sin_Repetir(c.Salidas);
  Ordenar_Sin_Repetir(c.Memoria);
  return c;
}

TCaso Leer_Caso(const QJsonObject& objeto, TLector& l, bool solucion) {
  TCaso caso;
  TPreparacion_Ejecucion& p = caso.Preparacion;
  // Repeatable by default: zeros in memory, and power-on's random texts from seed 0.
  p.Relleno_Ceros = true;
  p.Semilla = 0;
  for (auto it = objeto.begin(); it != objeto.end(); ++it) {
    const QString& clave = it.key();
    const std::string ruta = S(clave);
    const QJsonValue v = it.value();
    if (clave == QLatin1String("nombre")) {
      if (v.isString() && !v.toString().isEmpty()) caso.Nombre = S(v.toString());
      else l.Error(ruta, "necesita un texto: " + Texto_Json(v));
    } else if (clave == QLatin1String("inicio")) {
      if (const auto palabra = l.Palabra(v, ruta)) p.Inicio = *palabra;
    } else if (clave == QLatin1String("registros")) {
      l.Objeto(v, ruta, [&](const QString& nombre, const std::string& r, const QJsonValue& w) {
        const auto visor = Visor_de_Nombre(nombre);
        if (!visor) return l.Error(r, No_Registro);
        if (*visor >= 16) return l.Error(r, "solo se fijan r0..rF; la dirección de comienzo va en \"inicio\"");
        if (const auto palabra = l.Palabra(w, r)) l.Agregar(p.Registros, *visor, *palabra, r);
      });
    } else if (clave == QLatin1String("puertos_entrada")) {
      l.Palabras(v, ruta, true, p.Entradas);
    } else if (clave == QLatin1String("memoria")) {
      l.Palabras(v, ruta, false, p.Palabras);
    } else if (clave == QLatin1String("max_instrucciones")) {
      if (const auto n = l.Entero(v, ruta, 1)) p.Max_Pasos = *n;
    } else if (clave == QLatin1String("puntos")) {
      if (v.isDouble() && v.toDouble() >= 0 && std::isfinite(v.toDouble())) caso.Puntos = v.toDouble();
      else l.Error(ruta, "necesita un número no negativo: " + Texto_Json(v));
    } else if (clave == QLatin1String("relleno")) {
      if (v == QLatin1String("ceros") || v == QLatin1String("aleatorio")) p.Relleno_Ceros = v == QLatin1String("ceros");
      else l.Error(ruta, "necesita \"ceros\" o \"aleatorio\": " + Texto_Json(v));
    } else if (clave == QLatin1String("semilla")) {
      if (const auto n = l.Entero(v, ruta, 0)) p.Semilla = *n;
    } else if (clave == QLatin1String("espera")) {
      caso.Espera = Leer_Espera(v, l);
    } else if (clave == QLatin1String("comprobar")) {
      caso.Comprobar = Leer_Comprobar(v, l);
    } else {
      l.Error(ruta, "clave desconocida");
    }
  }
  if (!objeto.contains(QLatin1String("nombre"))) l.Error({}, "falta \"nombre\"");
  // A solution fills what `comprobar` asks for; grading needs what is expected.
  if (solucion && !objeto.contains(QLatin1String("espera")) && !objeto.contains(QLatin1String("comprobar")))
    l.Error({}, "falta \"espera\" o \"comprobar\"");
  else if (!solucion && !objeto.contains(QLatin1String("espera")))
    l.Error({}, "falta \"espera\"");
  return caso;
}

}  // namespace

std::string Nombre_Registro(int visor) {
  switch (visor) {
    case Visor_AR: return "AR";
    case Visor_DR: return "DR";
    case Visor_IR: return "IR";
    case Visor_PC: return "PC";
    default: return std::string("r") + Digito_Hex(visor);
  }
}

const char* Nombre_Bandera(TBandera bandera) { return Nombres_Bandera[bandera]; }

namespace {

// Keys in the machine's order: registers, then flags, then the rest as text.
bool Antes(const QString& a, const QString& b) {
  const auto rango = [](const QString& clave) {
    if (const auto visor = Visor_de_Nombre(clave)) return *visor;
    if (const auto bandera = Bandera_de_Nombre(clave)) return 100 + static_cast<int>(*bandera);
    return 200;
  };
  const int ra = rango(a), rb = rango(b);
  return ra != rb ? ra < rb : a.toUpper() < b.toUpper();
}

QByteArray Compacto(const QJsonValue& valor) {
  QByteArrayList partes;
  if (valor.isObject()) {
    const QJsonObject objeto = valor.toObject();
    QStringList claves = objeto.keys();
    std::stable_sort(claves.begin(), claves.end(), Antes);
    for (const QString& clave : claves)
      partes << QByteArray::fromStdString(Texto_Json(clave)) + ": " + Compacto(objeto.value(clave));
    return "{" + partes.join(", ") + "}";
  }
  if (valor.isArray()) {
    for (const QJsonValue item : valor.toArray()) partes << Compacto(item);
    return "[" + partes.join(", ") + "]";
  }
  return QByteArray::fromStdString(Texto_Json(valor));
}

// The members of `objeto` named in `orden`, one a line at `sangria`; `espera`
// spreads over lines of its own.
void Escribir_Objeto(QByteArray& texto, const QJsonObject& objeto, std::initializer_list<const char*> orden,
                     const QByteArray& sangria) {
  texto += "{\n";
  bool primero = true;
  for (const char* nombre : orden) {
    const QJsonValue valor = objeto.value(QLatin1String(nombre));
    if (valor.isUndefined()) continue;
    texto += (primero ? "" : ",\n") + sangria + "  \"" + nombre + "\": ";
    primero = false;
    if (QLatin1String(nombre) == QLatin1String("espera"))
      Escribir_Objeto(texto, valor.toObject(), {"parada", "registros", "banderas", "puertos_salida", "memoria"},
                      sangria + "  ");
    else
      texto += Compacto(valor);
  }
  texto += "\n" + sangria + "}";
}

}  // namespace

QByteArray Texto_Casos(const QJsonObject& raiz) {
  QByteArray texto = "{\n  \"casos\": [\n";
  const QJsonArray casos = raiz.value(QLatin1String("casos")).toArray();
  for (qsizetype i = 0; i < casos.size(); ++i) {
    texto += "    ";
    Escribir_Objeto(texto, casos[i].toObject(),
                    {"nombre", "inicio", "registros", "puertos_entrada", "memoria", "relleno", "semilla",
                     "max_instrucciones", "puntos", "comprobar", "espera"},
                    "    ");
    texto += i + 1 < casos.size() ? ",\n" : "\n";
  }
  return texto + "  ]\n}\n";
}

std::string Nombres_de_Parada() { return Nombres_de_Fin() + ", " + Cualquiera; }

TLectura_Casos Leer_Casos(const QByteArray& texto, const std::string& archivo, bool solucion) {
  TLectura_Casos lectura;
  QJsonParseError error{};
  const QJsonDocument documento = QJsonDocument::fromJson(texto, &error);
  if (error.error != QJsonParseError::NoError) {
    lectura.Errores.push_back(archivo + ":" + Posicion(texto, error.offset) + ": " + S(error.errorString()));
    return lectura;
  }
  TLector general(lectura.Errores, archivo);
  if (!documento.isObject()) {
    general.Error({}, "necesita un objeto con la lista \"casos\"");
    return lectura;
  }
  const QJsonObject raiz = documento.object();
  for (const QString& clave : raiz.keys())
    if (clave != QLatin1String("casos")) general.Error(S(clave), "clave desconocida");
  const QJsonValue casos = raiz.value(QLatin1String("casos"));
  if (casos.isUndefined()) general.Error({}, "falta \"casos\"");
  else if (!casos.isArray()) general.Error("casos", "necesita una lista de casos: " + Texto_Json(casos));
  else if (casos.toArray().isEmpty()) general.Error("casos", "la lista está vacía");

  const QJsonArray lista = casos.toArray();
  for (qsizetype i = 0; i < lista.size(); ++i) {
    const QJsonValue caso = lista[i];
    const QJsonValue nombre = caso.toObject().value(QLatin1String("nombre"));
    std::string lugar = archivo + ": caso " + std::to_string(i + 1);
    if (nombre.isString() && !nombre.toString().isEmpty()) lugar += " (" + S(nombre.toString()) + ")";
    TLector l(lectura.Errores, lugar);
    if (caso.isObject()) lectura.Casos.push_back(Leer_Caso(caso.toObject(), l, solucion));
    else l.Error({}, "necesita un objeto: " + Texto_Json(caso));
  }
  if (!lectura.Errores.empty()) lectura.Casos.clear();
  return lectura;
}
