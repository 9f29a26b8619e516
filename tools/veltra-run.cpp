// veltra-run: runs a TORVIC program the way VELTRA would, with no window, and
// reports the machine's state as text or JSON.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "correccion/Corregir.h"
#include "Ejecucion_Linea.h"
#include "core/TextoHex.h"
#include "core/Textos.h"
#include "disasm/UNASM.h"
#include "traduccion/Traduccion_Qt.h"
#include "estado/Archivo_Estado.h"

namespace {

constexpr int Salida_Opciones = 3;

struct TVolcado {
  int32_t Direccion;
  int32_t Cantidad;
};

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// A message for the terminal: each "\r" line break starts an indented line.
QString Mensaje_Terminal(const std::string& mensaje) {
  return Q(mensaje).replace(QLatin1Char('\r'), QStringLiteral("\n  "));
}

const char* const Uso =
    "uso: veltra-run [--start ADDR] [--max-steps N] [--seed N] [--fill random|zero] [--reg N=VVVV]... "
    "[--in PP=VVVV]... [--mem ADDR=VVVV]... [--dump ADDR[:COUNT]]... [--break ADDR]... [--back N] [--trace] "
    "[--json] [--estado FILE] [--guardar-estado FILE] [FILE]\n"
    "     veltra-run --casos CASOS.json [--json] [--junit FILE] PROGRAMA\n"
    "     veltra-run --casos CASOS.json --entregas CARPETA [--csv FILE] [--html FILE] [--junit CARPETA]\n"
    "     veltra-run --casos CASOS.json --solucion SOLUCION -o FILE";

[[noreturn]] void Opcion_Invalida(const QString& mensaje) {
  QTextStream(stderr) << "veltra-run: " << mensaje << "\n" << Uso << "\n";
  std::exit(Salida_Opciones);
}

// The parser's own error texts are English: name the option in Spanish.
QString Error_de_Analisis(const QCommandLineParser& parser, const QStringList& argumentos) {
  if (!parser.unknownOptionNames().isEmpty()) {
    const QString nombre = parser.unknownOptionNames().first();
    return QStringLiteral("opción desconocida: ") + (nombre.size() > 1 ? "--" : "-") + nombre;
  }
  return QStringLiteral("falta el valor de la opción ") + argumentos.last();
}

bool Es_Hex(const QString& texto, int digitos) {
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]+$"));
  return texto.size() == digitos && hex.match(texto).hasMatch();
}

// "CLAVE=VVVV" with a key of the given number of hex digits and a word value.
std::optional<std::pair<int32_t, std::string>> Par(const QString& texto, int digitos_clave) {
  const QStringList partes = texto.split(QLatin1Char('='));
  if (partes.size() != 2 || !Es_Hex(partes[0], digitos_clave) || !Es_Hex(partes[1], 4)) return {};
  return std::make_pair(partes[0].toInt(nullptr, 16), partes[1].toUpper().toStdString());
}

int Estado_Salida(TFin_Ejecucion fin) {
  switch (fin) {
    case TFin_Ejecucion::Halt: return 0;
    case TFin_Ejecucion::Detenida: return 1;
    case TFin_Ejecucion::Punto_Ruptura: return 4;
    default: return 2;
  }
}

QString Hex2(int valor) { return QStringLiteral("%1").arg(valor, 2, 16, QLatin1Char('0')).toUpper(); }

QJsonArray Arreglo(const std::vector<std::string>& textos) {
  QJsonArray arreglo;
  for (const auto& texto : textos) arreglo.append(Q(texto));
  return arreglo;
}

// Without `fin` the file could not be loaded and nothing ran; a script still
// gets the whole object, with the reason in load_messages.
// Retrocedidas: the instructions stepped back with --back, when it was given.
QJsonObject Informe_Json(TEjecucion_Linea& ejecucion, std::optional<TFin_Ejecucion> fin,
                         const std::vector<TVolcado>& volcados, std::optional<uint64_t> retrocedidas) {
  TEntorno& e = ejecucion.Entorno();
  QJsonObject registros;
  for (int n = 0; n < 16; ++n)
    registros.insert(QStringLiteral("r") + QChar::fromLatin1(Digito_Hex(n)), Q(e.Valor(Visor_Registro(n))));
  registros.insert(QStringLiteral("AR"), Q(e.Valor(Visor_AR)));
  registros.insert(QStringLiteral("DR"), Q(e.Valor(Visor_DR)));
  registros.insert(QStringLiteral("IR"), Q(e.Valor(Visor_IR)));
  registros.insert(QStringLiteral("PC"), Q(e.Valor(Visor_PC)));
  QJsonObject banderas;
  const char* nombres[] = {"Z", "S", "C", "V"};
  for (TBandera b : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    banderas.insert(QLatin1String(nombres[b]), e.Leer_Bandera(b));
  QJsonObject entradas, salidas;
  for (int p = 0; p < Numero_Puertos; ++p) {
    entradas.insert(Hex2(p), Q(e.Valor(Visor_Entrada(p))));
    salidas.insert(Hex2(p), Q(e.Valor(Visor_Salida(p))));
  }
  QJsonObject memoria;
  for (const auto& v : volcados)
    for (int32_t a = v.Direccion; a < v.Direccion + v.Cantidad; ++a)
      memoria.insert(Q(Palabra_a_Texto(a)), Q(e.Leer_Palabra(a)));

  QJsonObject informe;
  informe.insert(QStringLiteral("load_messages"), Arreglo(ejecucion.Mensajes_Carga()));
  informe.insert(QStringLiteral("run_messages"), Arreglo(ejecucion.Mensajes_Ejecucion()));
  informe.insert(QStringLiteral("listing"), Arreglo(e.Listado.Lineas()));
  informe.insert(QStringLiteral("stop"), QLatin1String(fin ? Nombre_Fin(*fin) : "load_failed"));
  informe.insert(QStringLiteral("steps"), static_cast<qint64>(ejecucion.Pasos()));
  if (retrocedidas) informe.insert(QStringLiteral("stepped_back"), static_cast<qint64>(*retrocedidas));
  informe.insert(QStringLiteral("registers"), registros);
  informe.insert(QStringLiteral("flags"), banderas);
  informe.insert(QStringLiteral("input_ports"), entradas);
  informe.insert(QStringLiteral("output_ports"), salidas);
  informe.insert(QStringLiteral("memory"), memoria);
  return informe;
}

void Informe_Texto(QTextStream& out, TEjecucion_Linea& ejecucion, TFin_Ejecucion fin,
                   const std::vector<TVolcado>& volcados, std::optional<uint64_t> retrocedidas) {
  TEntorno& e = ejecucion.Entorno();
  const auto mensajes = [&](const char* titulo, const std::vector<std::string>& lista) {
    if (lista.empty()) return;
    out << titulo << "\n";
    for (const auto& m : lista) out << "  " << Mensaje_Terminal(m) << "\n";
  };
  mensajes("Mensajes de la carga:", ejecucion.Mensajes_Carga());
  mensajes("Mensajes de la ejecución:", ejecucion.Mensajes_Ejecucion());
  const char* motivos[] = {"HALT", "ejecución detenida", "PC en el área del monitor",
                           "límite de instrucciones", "punto de ruptura"};
  const auto instrucciones = [](uint64_t n) { return Q(Cantidad(n, "instrucción", "instrucciones")); };
  out << "Fin: " << motivos[static_cast<int>(fin)] << " tras "
      << instrucciones(ejecucion.Pasos() + retrocedidas.value_or(0)) << "\n";
  if (retrocedidas)
    out << (*retrocedidas == 1 ? "Retrocedida " : "Retrocedidas ") << instrucciones(*retrocedidas) << ": quedan "
        << Q(Agrupar_Cifras(ejecucion.Pasos())) << "\n";
  for (int n = 0; n < 16; ++n)
    out << "r" << Digito_Hex(n) << "=" << Q(e.Valor(Visor_Registro(n))) << (n % 8 == 7 ? "\n" : "  ");
  out << "AR=" << Q(e.Valor(Visor_AR)) << "  DR=" << Q(e.Valor(Visor_DR)) << "  IR="
      << Q(e.Valor(Visor_IR)) << "  PC=" << Q(e.Valor(Visor_PC)) << "\n";
  out << "Z=" << e.Leer_Bandera(Bandera_Z) << "  S=" << e.Leer_Bandera(Bandera_S)
      << "  C=" << e.Leer_Bandera(Bandera_C) << "  V=" << e.Leer_Bandera(Bandera_V) << "\n";
  out << "OP1=" << Q(e.Valor(Visor_OP1)) << "  OP2=" << Q(e.Valor(Visor_OP2)) << "\n";
  for (const auto& v : volcados)
    for (int32_t a = v.Direccion; a < v.Direccion + v.Cantidad; ++a)
      out << "[" << Q(Palabra_a_Texto(a)) << "] " << Q(e.Leer_Palabra(a)) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("veltra-run"));
  Instalar_Traduccion_Qt(aplicacion);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Ejecuta un programa de TORVIC sin ventana."));
  const QCommandLineOption ayuda = Opcion_Ayuda();
  const QCommandLineOption inicio(QStringLiteral("start"), QStringLiteral("Dirección de inicio (0000)."), QStringLiteral("ADDR"));
  const QCommandLineOption pasos(QStringLiteral("max-steps"), QStringLiteral("Máximo de instrucciones (1000000)."), QStringLiteral("N"));
  const QCommandLineOption semilla(QStringLiteral("seed"), QStringLiteral("Semilla del generador aleatorio."), QStringLiteral("N"));
  const QCommandLineOption relleno(QStringLiteral("fill"), QStringLiteral("Relleno de memoria: random o zero."), QStringLiteral("random|zero"));
  const QCommandLineOption registro(QStringLiteral("reg"), QStringLiteral("Fija el registro N (un dígito hex)."), QStringLiteral("N=VVVV"));
  const QCommandLineOption entrada(QStringLiteral("in"), QStringLiteral("Fija el puerto de entrada PP (00..3F)."), QStringLiteral("PP=VVVV"));
  const QCommandLineOption palabra(QStringLiteral("mem"), QStringLiteral("Guarda una palabra en memoria."), QStringLiteral("ADDR=VVVV"));
  const QCommandLineOption volcado(QStringLiteral("dump"), QStringLiteral("Muestra COUNT palabras (decimal) desde ADDR."), QStringLiteral("ADDR[:COUNT]"));
  const QCommandLineOption punto(QStringLiteral("break"), QStringLiteral("Detiene la ejecución antes de ADDR (salvo la primera instrucción)."), QStringLiteral("ADDR"));
  const QCommandLineOption atras(QStringLiteral("back"), QStringLiteral("Al terminar, retrocede N instrucciones."), QStringLiteral("N"));
  const QCommandLineOption traza(QStringLiteral("trace"), QStringLiteral("Escribe cada instrucción en la salida de errores."));
  const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Informe en JSON."));
  const QCommandLineOption casos(QStringLiteral("casos"), QStringLiteral("Corrige PROGRAMA (.EHC, .HEX o .ASM) con los casos de CASOS."), QStringLiteral("CASOS.json"));
  const QCommandLineOption junit(QStringLiteral("junit"), QStringLiteral("Con --casos, escribe también el informe en JUnit XML."), QStringLiteral("FILE"));
  const QCommandLineOption entregas(QStringLiteral("entregas"), QStringLiteral("Con --casos, corrige cada programa de CARPETA (un archivo o una subcarpeta por alumno)."), QStringLiteral("CARPETA"));
  const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Con --entregas, escribe una fila por alumno en CSV."), QStringLiteral("FILE"));
  const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("Con --entregas, escribe el informe en una página HTML."), QStringLiteral("FILE"));
  const QCommandLineOption solucion(QStringLiteral("solucion"), QStringLiteral("Con --casos, rellena \"espera\" con lo que deja SOLUCION, según \"comprobar\"."), QStringLiteral("SOLUCION"));
  const QCommandLineOption salida(QStringLiteral("o"), QStringLiteral("Con --solucion, el archivo de casos que se escribe."), QStringLiteral("FILE"));
  const QCommandLineOption estado(QStringLiteral("estado"), QStringLiteral("Empieza desde un estado guardado (.VELTRA)."), QStringLiteral("FILE"));
  const QCommandLineOption guardar_estado(QStringLiteral("guardar-estado"), QStringLiteral("Guarda el estado al terminar."), QStringLiteral("FILE"));
  parser.addOptions({ayuda, inicio, pasos, semilla, relleno, registro, entrada, palabra, volcado, punto, atras, traza, json, estado, guardar_estado, casos, junit, entregas, csv, html, solucion, salida});
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Programa objeto (.HEX o .EHC)."), QStringLiteral("[FILE]"));
  if (!parser.parse(aplicacion.arguments()))
    Opcion_Invalida(Error_de_Analisis(parser, aplicacion.arguments()));
  if (parser.isSet(ayuda)) {
    QTextStream(stdout) << parser.helpText();
    return 0;
  }

  const auto nombre_opcion = [](const QCommandLineOption& opcion) {
    const QString nombre = opcion.names().first();
    return (nombre.size() > 1 ? QStringLiteral("--") : QStringLiteral("-")) + nombre;
  };
  if (parser.isSet(casos)) {
    // Each case says how its machine is prepared and run; each way of
    // grading takes its own reports.
    const auto admite = [&](const QString& modo, std::initializer_list<const QCommandLineOption*> opciones) {
      for (const QString& nombre : parser.optionNames())
        if (std::none_of(opciones.begin(), opciones.end(), [&](auto* o) { return o->names().first() == nombre; }))
          Opcion_Invalida(modo + QStringLiteral(" no admite ") + (nombre.size() > 1 ? "--" : "-") + nombre);
    };
    const QStringList programas = parser.positionalArguments();
    if (parser.isSet(solucion)) {
      admite(QStringLiteral("--solucion"), {&casos, &solucion, &salida});
      if (!programas.isEmpty()) Opcion_Invalida(QStringLiteral("sobra un argumento: ") + programas.first());
      if (!parser.isSet(salida)) Opcion_Invalida(QStringLiteral("--solucion necesita -o FILE"));
      return Completar_Casos(parser.value(casos), parser.value(solucion), parser.value(salida));
    }
    if (parser.isSet(entregas)) {
      admite(QStringLiteral("--entregas"), {&casos, &entregas, &csv, &html, &junit});
      if (!programas.isEmpty()) Opcion_Invalida(QStringLiteral("sobra un argumento: ") + programas.first());
      return Corregir_Entregas(parser.value(casos), parser.value(entregas), parser.value(csv), parser.value(html),
                               parser.value(junit));
    }
    admite(QStringLiteral("--casos"), {&casos, &json, &junit});
    if (programas.size() != 1) Opcion_Invalida(QStringLiteral("--casos necesita un PROGRAMA"));
    return Corregir(parser.value(casos), programas.first(), parser.isSet(json), parser.value(junit));
  }
  for (const QCommandLineOption* opcion : {&junit, &entregas, &csv, &html, &solucion, &salida})
    if (parser.isSet(*opcion)) Opcion_Invalida(nombre_opcion(*opcion) + QStringLiteral(" solo va con --casos"));

  TPreparacion_Ejecucion preparacion;
  if (parser.isSet(inicio)) {
    const QString texto = parser.value(inicio);
    if (!Es_Hex(texto, 4)) Opcion_Invalida(QStringLiteral("--start necesita cuatro dígitos hex: ") + texto);
    preparacion.Inicio = texto.toUpper().toStdString();
  }
  if (parser.isSet(pasos)) {
    bool ok = false;
    preparacion.Max_Pasos = parser.value(pasos).toULongLong(&ok);
    if (!ok || preparacion.Max_Pasos == 0) Opcion_Invalida(QStringLiteral("--max-steps necesita un número positivo: ") + parser.value(pasos));
  }
  if (parser.isSet(semilla)) {
    bool ok = false;
    preparacion.Semilla = parser.value(semilla).toULongLong(&ok);
    if (!ok) Opcion_Invalida(QStringLiteral("--seed necesita un número: ") + parser.value(semilla));
  }
  if (parser.isSet(relleno)) {
    const QString texto = parser.value(relleno);
    if (texto != QLatin1String("random") && texto != QLatin1String("zero"))
      Opcion_Invalida(QStringLiteral("--fill es random o zero: ") + texto);
    preparacion.Relleno_Ceros = texto == QLatin1String("zero");
  }
  for (const QString& texto : parser.values(registro)) {
    const auto par = Par(texto, 1);
    if (!par) Opcion_Invalida(QStringLiteral("--reg necesita N=VVVV: ") + texto);
    preparacion.Registros.emplace_back(par->first, par->second);
  }
  for (const QString& texto : parser.values(entrada)) {
    const auto par = Par(texto, 2);
    if (!par || par->first >= Numero_Puertos) Opcion_Invalida(QStringLiteral("--in necesita PP=VVVV con PP de 00 a 3F: ") + texto);
    preparacion.Entradas.emplace_back(par->first, par->second);
  }
  for (const QString& texto : parser.values(palabra)) {
    const auto par = Par(texto, 4);
    if (!par || par->first >= Primera_Direccion_Monitor) Opcion_Invalida(QStringLiteral("--mem necesita ADDR=VVVV con ADDR de 0000 a EFFF: ") + texto);
    preparacion.Palabras.emplace_back(par->first, par->second);
  }
  std::vector<TVolcado> volcados;
  for (const QString& texto : parser.values(volcado)) {
    const QStringList partes = texto.split(QLatin1Char(':'));
    bool ok = partes.size() <= 2 && Es_Hex(partes[0], 4);
    int cantidad = 1;
    if (ok && partes.size() == 2) cantidad = partes[1].toInt(&ok);
    const int direccion = partes[0].toInt(nullptr, 16);
    if (!ok || cantidad < 1 || direccion + cantidad > 0x10000) Opcion_Invalida(QStringLiteral("--dump necesita ADDR[:COUNT] dentro de 0000..FFFF: ") + texto);
    volcados.push_back({direccion, cantidad});
  }
  for (const QString& texto : parser.values(punto)) {
    if (!Es_Hex(texto, 4) || texto.toInt(nullptr, 16) >= Primera_Direccion_Monitor)
      Opcion_Invalida(QStringLiteral("--break necesita ADDR de 0000 a EFFF: ") + texto);
    preparacion.Puntos_Ruptura.push_back(texto.toInt(nullptr, 16));
  }
  std::optional<uint64_t> retroceder;
  if (parser.isSet(atras)) {
    bool ok = false;
    retroceder = parser.value(atras).toULongLong(&ok);
    if (!ok) Opcion_Invalida(QStringLiteral("--back necesita un número: ") + parser.value(atras));
    preparacion.Historial = true;
  }
  const QStringList archivos = parser.positionalArguments();
  if (archivos.size() > 1) Opcion_Invalida(QStringLiteral("sobra un argumento: ") + archivos[1]);
  if (!archivos.isEmpty()) preparacion.Archivo = archivos[0].toStdString();
  if (parser.isSet(estado)) {
    std::string mensaje;
    preparacion.Estado = Leer_Estado(parser.value(estado), mensaje);
    if (!preparacion.Estado) {
      QTextStream(stderr) << "veltra-run: " << Mensaje_Terminal(mensaje) << "\n";
      return Salida_Opciones;
    }
  }

  TEjecucion_Linea ejecucion(preparacion);
  const bool cargado = ejecucion.Cargar();
  if (!cargado) {
    for (const auto& m : ejecucion.Mensajes_Carga()) QTextStream(stderr) << "veltra-run: " << Mensaje_Terminal(m) << "\n";
    if (parser.isSet(json))
      QTextStream(stdout) << QJsonDocument(Informe_Json(ejecucion, std::nullopt, volcados, std::nullopt)).toJson(QJsonDocument::Indented);
    return Salida_Opciones;
  }
  QTextStream err(stderr);
  const auto trazar = [&](const std::string& direccion, const std::string& contenido) {
    err << Q(direccion) << " " << Q(contenido) << " " << Q(Desensamblar(contenido)) << "\n";
  };
  const TFin_Ejecucion fin = parser.isSet(traza) ? ejecucion.Ejecutar(trazar) : ejecucion.Ejecutar();
  err.flush();
  std::optional<uint64_t> retrocedidas;
  if (retroceder) retrocedidas = ejecucion.Retroceder(*retroceder);

  QString motivo;
  if (parser.isSet(guardar_estado) && !(motivo = Guardar_Estado(ejecucion.Entorno(), parser.value(guardar_estado))).isEmpty())
    err << "veltra-run: no se pudo guardar el estado en " << parser.value(guardar_estado) << ": " << motivo << Qt::endl;

  QTextStream out(stdout);
  if (parser.isSet(json)) out << QJsonDocument(Informe_Json(ejecucion, fin, volcados, retrocedidas)).toJson(QJsonDocument::Indented);
  else Informe_Texto(out, ejecucion, fin, volcados, retrocedidas);
  return motivo.isEmpty() ? Estado_Salida(fin) : Salida_Opciones;
}
