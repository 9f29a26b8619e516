#include "estado/Archivo_Estado.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>
#include <limits>

#include "core/TextoHex.h"
#include "core/Textos.h"

namespace {

const QString Marca_Formato = QStringLiteral("VELTRA estado de TORVIC");
constexpr int Palabras_por_Linea = 16;
constexpr int Lineas_Memoria = Primera_Direccion_Monitor / Palabras_por_Linea;
// Far above any real state (about half a megabyte with a full listing).
constexpr qint64 Tamano_Maximo = 32 * 1024 * 1024;

QString Q(const std::string& texto) { return QString::fromStdString(texto); }
QString Hex(int32_t valor, int digitos) { return QString::number(valor, 16).toUpper().rightJustified(digitos, QLatin1Char('0')); }

QString Clave_Registro(int visor) { return Q(Nombre_Visor(visor)); }

// Reading stops at the first problem: each step throws its text.
struct TProblema {
  std::string Texto;
};

[[noreturn]] void Fallar(std::string texto) { throw TProblema{std::move(texto)}; }

QJsonValue Campo(const QJsonObject& objeto, const QString& clave, const std::string& donde = {}) {
  const QJsonValue valor = objeto.value(clave);
  if (valor.isUndefined()) Fallar("falta «" + clave.toStdString() + "»" + donde);
  return valor;
}

QJsonObject Objeto(const QJsonValue& valor, const QString& nombre) {
  if (!valor.isObject()) Fallar("«" + nombre.toStdString() + "» no es un objeto");
  return valor.toObject();
}

QJsonArray Arreglo(const QJsonValue& valor, const QString& nombre) {
  if (!valor.isArray()) Fallar("«" + nombre.toStdString() + "» no es una lista");
  return valor.toArray();
}

std::string Texto(const QJsonValue& valor, const std::string& nombre) {
  if (!valor.isString()) Fallar(nombre + " no es un texto");
  return valor.toString().toStdString();
}

int64_t Entero(const QJsonValue& valor, const std::string& nombre, int64_t minimo, int64_t maximo) {
  const double numero = valor.toDouble(std::nan(""));
  if (!valor.isDouble() || std::floor(numero) != numero || numero < static_cast<double>(minimo) ||
      numero > static_cast<double>(maximo))
    Fallar(nombre + " no es un número entero entre " + std::to_string(minimo) + " y " + std::to_string(maximo));
  return static_cast<int64_t>(numero);
}

uint8_t Byte_Campo(const QJsonObject& objeto, const char* nombre, const QString& donde) {
  return static_cast<uint8_t>(
      Entero(Campo(objeto, QLatin1String(nombre), " en «" + donde.toStdString() + "»"), nombre, 0, 255));
}

std::vector<int32_t> Direcciones(const QJsonValue& valor, const QString& nombre) {
  std::vector<int32_t> direcciones;
  for (const QJsonValue& elemento : Arreglo(valor, nombre)) {
    const std::string texto = Texto(elemento, "una dirección de «" + nombre.toStdString() + "»");
    if (!Es_Palabra(texto)) Fallar("«" + texto + "» en «" + nombre.toStdString() + "» no es una dirección AAAA");
    direcciones.push_back(Texto_a_Palabra(texto));
  }
  return direcciones;
}

QJsonArray Arreglo_Direcciones(const std::vector<int32_t>& direcciones) {
  QJsonArray arreglo;
  for (int32_t direccion : direcciones) arreglo.append(Hex(direccion, 4));
  return arreglo;
}

// Ports by their two hex digits: every one of 00..3F, nothing else.
void Leer_Puertos(const QJsonObject& puertos, const QString& nombre, int (*visor)(int), TInstantanea& s) {
  for (auto it = puertos.begin(); it != puertos.end(); ++it) {
    bool hex = false;
    const int puerto = it.key().toInt(&hex, 16);
    if (!hex || it.key().size() != 2 || puerto >= Numero_Puertos)
      Fallar("el puerto «" + it.key().toStdString() + "» de «" + nombre.toStdString() + "» no está entre 00 y 3F");
    s.Visores[static_cast<size_t>(visor(puerto))] =
        Texto(it.value(), "el puerto " + it.key().toStdString() + " de «" + nombre.toStdString() + "»");
  }
  if (puertos.size() != Numero_Puertos)
    Fallar("«" + nombre.toStdString() + "» no tiene los 64 puertos de 00 a 3F");
}

// "AAAA: WWWW WWWW ..." with sixteen words, the address being 16 times the line's index.
void Leer_Memoria(const QJsonArray& lineas, std::vector<uint8_t>& memoria) {
  if (lineas.size() != Lineas_Memoria)
    Fallar("la memoria tiene " + Cantidad(static_cast<uint64_t>(lineas.size()), "línea", "líneas") + " en lugar de " +
           Agrupar_Cifras(Lineas_Memoria));
  memoria.assign(static_cast<size_t>(Bytes_Memoria), 0);
  for (int i = 0; i < Lineas_Memoria; ++i) {
    // The line's name is only built for a message: there are 3840 lines to read.
    const QJsonValue valor = lineas[i];
    const std::string linea = valor.isString() ? valor.toString().toStdString()
                                               : Texto(valor, "la línea " + std::to_string(i + 1) + " de la memoria");
    const std::string_view v(linea);
    bool valida = v.size() == 5 + 5 * Palabras_por_Linea && v.substr(4, 2) == ": " &&
                  v.substr(0, 4) == Palabra_a_Texto(i * Palabras_por_Linea);
    // Read in place, the digits and spaces of a line checked together:
    // there are 61,440 words, and the state fuzz target reads them all.
    int32_t digitos = 0;
    int separadores = 0;
    uint8_t* destino = memoria.data() + 2 * static_cast<size_t>(i * Palabras_por_Linea);
    for (int w = 0; valida && w < Palabras_por_Linea; ++w) {
      const char* palabra = v.data() + 6 + 5 * w;
      const int32_t d0 = Valor_Digito(palabra[0]), d1 = Valor_Digito(palabra[1]);
      const int32_t d2 = Valor_Digito(palabra[2]), d3 = Valor_Digito(palabra[3]);
      digitos |= d0 | d1 | d2 | d3;
      destino[2 * w] = static_cast<uint8_t>((d0 & 15) << 4 | (d1 & 15));
      destino[2 * w + 1] = static_cast<uint8_t>((d2 & 15) << 4 | (d3 & 15));
    }
    for (int w = 0; valida && w + 1 < Palabras_por_Linea; ++w) separadores |= v[10 + 5 * static_cast<size_t>(w)] ^ ' ';
    valida = valida && digitos >= 0 && separadores == 0;
    if (!valida)
      Fallar("la línea " + std::to_string(i + 1) + " de la memoria no es «" + Hex(i * Palabras_por_Linea, 4).toStdString() +
             ": » y 16 palabras");
  }
}

TInstantanea Decodificar_Objeto(const QJsonObject& raiz);

TInstantanea Decodificar(const QByteArray& bytes) {
  QJsonParseError error{};
  const QJsonDocument documento = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError)
    Fallar("no es un archivo de estado de VELTRA (no es JSON legible: carácter " + std::to_string(error.offset) + ")");
  if (!documento.isObject()) Fallar("no es un estado de TORVIC");
  return Decodificar_Objeto(documento.object());
}

TInstantanea Decodificar_Objeto(const QJsonObject& raiz) {
  if (raiz.value(QStringLiteral("formato")).toString() != Marca_Formato) Fallar("no es un estado de TORVIC");
  const int64_t version = Entero(Campo(raiz, QStringLiteral("version")), "la versión", 1,
                                 std::numeric_limits<int32_t>::max());
  if (version > Version_Estado)
    Fallar("es de la versión " + std::to_string(version) + ", posterior a la " + std::to_string(Version_Estado) +
           " que lee este VELTRA");

  TInstantanea s;
  const QJsonObject registros = Objeto(Campo(raiz, QStringLiteral("registros")), QStringLiteral("registros"));
  for (int visor = 0; visor <= Visor_PC; ++visor)
    s.Visores[static_cast<size_t>(visor)] =
        Texto(Campo(registros, Clave_Registro(visor), " en «registros»"), Nombre_Visor(visor));
  Leer_Puertos(Objeto(Campo(raiz, QStringLiteral("puertos_entrada")), QStringLiteral("puertos_entrada")),
               QStringLiteral("puertos_entrada"), [](int p) { return Visor_Entrada(p); }, s);
  Leer_Puertos(Objeto(Campo(raiz, QStringLiteral("puertos_salida")), QStringLiteral("puertos_salida")),
               QStringLiteral("puertos_salida"), [](int p) { return Visor_Salida(p); }, s);

  const QJsonObject banderas = Objeto(Campo(raiz, QStringLiteral("banderas")), QStringLiteral("banderas"));
  const char* const nombres[] = {"Z", "S", "C", "V"};
  for (int b = 0; b < 4; ++b)
    s.Banderas[static_cast<size_t>(b)] =
        static_cast<int>(Entero(Campo(banderas, QLatin1String(nombres[b]), " en «banderas»"),
                                std::string("la bandera ") + nombres[b], std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max()));

  const QString estado_nombre = QStringLiteral("estado_maquina");
  const QJsonObject estado = Objeto(Campo(raiz, estado_nombre), estado_nombre);
  s.Estado_Maquina.Encendida = Byte_Campo(estado, "Encendida", estado_nombre);
  s.Estado_Maquina.Modo_Paso_a_Paso = Byte_Campo(estado, "Modo_Paso_a_Paso", estado_nombre);

  const QString opciones_nombre = QStringLiteral("opciones_entorno");
  const QJsonObject opciones = Objeto(Campo(raiz, opciones_nombre), opciones_nombre);
  TOpciones_Entorno& o = s.Opciones_Entorno;
  o.Inicio_Registros = Byte_Campo(opciones, "Inicio_Registros", opciones_nombre);
  o.Relleno_Memoria = Byte_Campo(opciones, "Relleno_Memoria", opciones_nombre);
  o.Iniciar_Memoria_al_Encender = Byte_Campo(opciones, "Iniciar_Memoria_al_Encender", opciones_nombre);
  o.Modo_Consola = Byte_Campo(opciones, "Modo_Consola", opciones_nombre);
  o.Intervalo_Paso = static_cast<uint32_t>(
      Entero(Campo(opciones, QStringLiteral("Intervalo_Paso"), " en «opciones_entorno»"), "Intervalo_Paso", 0,
             std::numeric_limits<uint32_t>::max()));
  o.Modo_Desensamblador = Byte_Campo(opciones, "Modo_Desensamblador", opciones_nombre);
  o.Posicion_Cursor_Memoria = static_cast<int32_t>(
      Entero(Campo(opciones, QStringLiteral("Posicion_Cursor_Memoria"), " en «opciones_entorno»"),
             "Posicion_Cursor_Memoria", 0, std::numeric_limits<int32_t>::max()));

  Leer_Memoria(Arreglo(Campo(raiz, QStringLiteral("memoria")), QStringLiteral("memoria")), s.Memoria);

  const QJsonObject listado = Objeto(Campo(raiz, QStringLiteral("listado")), QStringLiteral("listado"));
  for (const QJsonValue& linea : Arreglo(Campo(listado, QStringLiteral("lineas"), " en «listado»"),
                                         QStringLiteral("lineas")))
    s.Lineas_Listado.push_back(Texto(linea, "una línea del listado"));
  s.Seleccion_Listado = static_cast<int>(Entero(Campo(listado, QStringLiteral("seleccion"), " en «listado»"),
                                                "la línea seleccionada del listado", -1,
                                                std::numeric_limits<int32_t>::max()));
  const QJsonValue ordenado = Campo(listado, QStringLiteral("ordenado"), " en «listado»");
  if (!ordenado.isBool()) Fallar("«ordenado» del listado no es true ni false");
  s.Listado_Ordenado = ordenado.toBool();

  s.Palabras_Escritas = Direcciones(Campo(raiz, QStringLiteral("palabras_escritas")), QStringLiteral("palabras_escritas"));
  s.Puntos_Ruptura = Direcciones(Campo(raiz, QStringLiteral("puntos_ruptura")), QStringLiteral("puntos_ruptura"));

  if (std::string problema = Problema_Instantanea(s); !problema.empty()) Fallar(std::move(problema));
  return s;
}

std::string Mensaje_Archivo(const char* accion, const QString& ruta, const QString& motivo) {
  return std::string("ERROR: No se pudo ") + accion + " el archivo " + ruta.toStdString() + "\rMotivo: " +
         motivo.toStdString() + ".";
}

}  // namespace

QByteArray Codificar_Estado(const TInstantanea& s) {
  QJsonObject registros;
  for (int visor = 0; visor <= Visor_PC; ++visor)
    registros.insert(Clave_Registro(visor), Q(s.Visores[static_cast<size_t>(visor)]));
  QJsonObject entradas, salidas;
  for (int p = 0; p < Numero_Puertos; ++p) {
    entradas.insert(Hex(p, 2), Q(s.Visores[static_cast<size_t>(Visor_Entrada(p))]));
    salidas.insert(Hex(p, 2), Q(s.Visores[static_cast<size_t>(Visor_Salida(p))]));
  }
  QJsonObject banderas;
  const char* const nombres[] = {"Z", "S", "C", "V"};
  for (int b = 0; b < 4; ++b) banderas.insert(QLatin1String(nombres[b]), s.Banderas[static_cast<size_t>(b)]);
  const TOpciones_Entorno& o = s.Opciones_Entorno;
  const QJsonObject opciones{{QStringLiteral("Inicio_Registros"), o.Inicio_Registros},
                             {QStringLiteral("Relleno_Memoria"), o.Relleno_Memoria},
                             {QStringLiteral("Iniciar_Memoria_al_Encender"), o.Iniciar_Memoria_al_Encender},
                             {QStringLiteral("Modo_Consola"), o.Modo_Consola},
                             {QStringLiteral("Intervalo_Paso"), static_cast<qint64>(o.Intervalo_Paso)},
                             {QStringLiteral("Modo_Desensamblador"), o.Modo_Desensamblador},
                             {QStringLiteral("Posicion_Cursor_Memoria"), o.Posicion_Cursor_Memoria}};
  QJsonArray memoria;
  const auto palabras = static_cast<int32_t>(s.Memoria.size() / 2);
  std::string fila;
  // Digits are put in by hand: the exit saves the state, and QString's
  // number formatting for every word would slow the window's closing.
  const auto Agregar_Hex = [&fila](int32_t valor) {
    for (int d = 3; d >= 0; --d) fila += Digito_Hex((valor >> (4 * d)) & 0xF);
  };
  for (int32_t inicio = 0; inicio < palabras; inicio += Palabras_por_Linea) {
    fila.clear();
    Agregar_Hex(inicio);
    fila += ':';
    for (int32_t a = inicio; a < std::min(inicio + Palabras_por_Linea, palabras); ++a) {
      fila += ' ';
      Agregar_Hex(s.Memoria[static_cast<size_t>(2 * a)] << 8 | s.Memoria[static_cast<size_t>(2 * a + 1)]);
    }
    memoria.append(QString::fromLatin1(fila.data(), static_cast<qsizetype>(fila.size())));
  }
  QJsonArray lineas;
  for (const std::string& linea : s.Lineas_Listado) lineas.append(Q(linea));

  const QJsonObject raiz{
      {QStringLiteral("formato"), Marca_Formato},
      {QStringLiteral("version"), Version_Estado},
      {QStringLiteral("registros"), registros},
      {QStringLiteral("puertos_entrada"), entradas},
      {QStringLiteral("puertos_salida"), salidas},
      {QStringLiteral("banderas"), banderas},
      {QStringLiteral("estado_maquina"),
       QJsonObject{{QStringLiteral("Encendida"), s.Estado_Maquina.Encendida},
                   {QStringLiteral("Modo_Paso_a_Paso"), s.Estado_Maquina.Modo_Paso_a_Paso}}},
      {QStringLiteral("opciones_entorno"), opciones},
      {QStringLiteral("memoria"), memoria},
      {QStringLiteral("listado"), QJsonObject{{QStringLiteral("lineas"), lineas},
                                             {QStringLiteral("seleccion"), s.Seleccion_Listado},
                                             {QStringLiteral("ordenado"), s.Listado_Ordenado}}},
      {QStringLiteral("palabras_escritas"), Arreglo_Direcciones(s.Palabras_Escritas)},
      {QStringLiteral("puntos_ruptura"), Arreglo_Direcciones(s.Puntos_Ruptura)},
  };
  return QJsonDocument(raiz).toJson(QJsonDocument::Indented);
}

std::optional<TInstantanea> Decodificar_Estado(const QByteArray& bytes, std::string& problema) {
  try {
    return Decodificar(bytes);
  } catch (const TProblema& fallo) {
    problema = fallo.Texto;
    return std::nullopt;
  }
}

std::optional<TInstantanea> Decodificar_Estado(const QJsonObject& objeto, std::string& problema) {
  try {
    return Decodificar_Objeto(objeto);
  } catch (const TProblema& fallo) {
    problema = fallo.Texto;
    return std::nullopt;
  }
}

QString Guardar_Estado(const TEntorno& entorno, const QString& ruta) {
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) return archivo.errorString();
  archivo.write(Codificar_Estado(Capturar(entorno)));
  if (!archivo.commit()) return archivo.errorString();
  return {};
}

std::optional<TInstantanea> Leer_Estado(const QString& ruta, std::string& mensaje) {
  QFile archivo(ruta);
  if (QFileInfo::exists(ruta) && !QFileInfo(ruta).isFile()) {
    mensaje = Mensaje_Archivo("abrir", ruta, QStringLiteral("no es un archivo"));
    return std::nullopt;
  }
  if (!archivo.open(QIODevice::ReadOnly)) {
    mensaje = Mensaje_Archivo("abrir", ruta, archivo.errorString());
    return std::nullopt;
  }
  std::string problema;
  std::optional<TInstantanea> s;
  if (archivo.size() > Tamano_Maximo) problema = "es demasiado grande para ser un estado de TORVIC";
  else s = Decodificar_Estado(archivo.readAll(), problema);
  if (!s) mensaje = Mensaje_Estado_No_Valido + problema;
  return s;
}

std::string Abrir_Estado(TEntorno& entorno, const QString& ruta) {
  std::string mensaje;
  const std::optional<TInstantanea> s = Leer_Estado(ruta, mensaje);
  if (!s) return mensaje;
  if (std::string problema = Restaurar(entorno, *s); !problema.empty()) return Mensaje_Estado_No_Valido + problema;
  return {};
}
