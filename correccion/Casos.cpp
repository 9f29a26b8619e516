#include "Casos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <cmath>

#include "core/TextoHex.h"

namespace {

// JSON numbers are doubles: integers are exact up to 2^53.
constexpr double Maximo_Entero = 9007199254740992.0;
const char* const Nombres_Bandera[] = {"Z", "S", "C", "V"};
const char* const No_Registro = "no es un registro (r0..rF, AR, DR, IR, PC)";

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
      if (!espera.Parada) l.Error(ruta, "no es una parada (" + Nombres_de_Fin() + "): " + Texto_Json(v));
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

TCaso Leer_Caso(const QJsonObject& objeto, TLector& l) {
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
    } else {
      l.Error(ruta, "clave desconocida");
    }
  }
  for (const char* obligatoria : {"nombre", "espera"})
    if (!objeto.contains(QLatin1String(obligatoria))) l.Error({}, std::string("falta \"") + obligatoria + "\"");
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

TLectura_Casos Leer_Casos(const QByteArray& texto, const std::string& archivo) {
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
    if (caso.isObject()) lectura.Casos.push_back(Leer_Caso(caso.toObject(), l));
    else l.Error({}, "necesita un objeto: " + Texto_Json(caso));
  }
  if (!lectura.Errores.empty()) lectura.Casos.clear();
  return lectura;
}
