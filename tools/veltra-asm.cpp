// veltra-asm: assembles a TORVIC source into an object program that VELTRA
// loads (.EHC or .HEX), with every error as FUENTE:línea:columna: mensaje.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "asm/Ensamblador.h"
#include "asm/Programa_Objeto.h"
#include "objfiles/Lector_Lineas.h"
#include "traduccion/Traduccion_Qt.h"

namespace {

constexpr int Salida_Error = 1;

const char* const Uso = "uso: veltra-asm FUENTE [-o SALIDA.EHC|SALIDA.HEX] [--listado]";

void Escribir(std::FILE* flujo, const std::string& texto) { std::fwrite(texto.data(), 1, texto.size(), flujo); }

[[noreturn]] void Fallar(const std::string& mensaje, bool con_uso = false) {
  Escribir(stderr, "veltra-asm: " + mensaje + "\n" + (con_uso ? std::string(Uso) + "\n" : ""));
  std::exit(Salida_Error);
}

std::string Texto(const QString& texto) { return texto.toStdString(); }

std::string Leer_Fuente(const std::string& ruta) {
  TArchivo_Entero archivo = Leer_Archivo_Entero(ruta);
  switch (archivo.Fallo) {
    case TArchivo_Entero::TFallo::Ninguno: break;
    case TArchivo_Entero::TFallo::Apertura: Fallar("no se pudo abrir " + ruta + ": " + archivo.Motivo);
    case TArchivo_Entero::TFallo::Lectura: Fallar("no se pudo leer " + ruta + ": " + archivo.Motivo);
    case TArchivo_Entero::TFallo::Demasiado_Grande:
      Fallar(ruta + " es demasiado grande para una fuente (más de 64 MB)");
  }
  return std::move(archivo.Contenido);
}

// Written whole to a new file beside the target, then renamed over it, so a
// failed write never leaves half a program where the loader would find it.
void Escribir_Archivo(const std::string& ruta, const std::string& texto) {
  const std::filesystem::path destino(ruta);
  const std::filesystem::path carpeta = destino.has_parent_path() ? destino.parent_path() : ".";
  std::string temporal = (carpeta / ("." + destino.filename().string() + ".XXXXXX")).string();
  const auto fallar = [&](int error) { Fallar("no se pudo escribir " + ruta + ": " + Motivo_Error_Sistema(error)); };
  const int fd = ::mkstemp(temporal.data());
  if (fd < 0) fallar(errno);
  const mode_t mascara = ::umask(0);
  ::umask(mascara);
  ::fchmod(fd, 0666 & ~mascara);
  std::size_t escritos = 0;
  while (escritos < texto.size()) {
    const ssize_t n = ::write(fd, texto.data() + escritos, texto.size() - escritos);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      ::close(fd);
      ::unlink(temporal.c_str());
      fallar(error);
    }
    escritos += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 || ::rename(temporal.c_str(), ruta.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporal.c_str());
    fallar(error);
  }
}

// FUENTE.ASM gives FUENTE.EHC; any other name gets .EHC added, so the source
// itself is never the default output.
std::string Salida_por_Omision(const std::string& fuente) {
  const std::filesystem::path ruta(fuente);
  std::string extension = ruta.extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == ".ASM") return std::filesystem::path(ruta).replace_extension(".EHC").string();
  return fuente + ".EHC";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("veltra-asm"));
  Instalar_Traduccion_Qt(aplicacion);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Ensambla un programa de TORVIC escrito en texto y escribe el programa objeto."));
  const QCommandLineOption ayuda = Opcion_Ayuda();
  const QCommandLineOption salida({QStringLiteral("o"), QStringLiteral("salida")},
                                  QStringLiteral("Programa objeto que se escribe, .EHC o .HEX (por omisión, FUENTE con extensión .EHC)."),
                                  QStringLiteral("SALIDA"));
  const QCommandLineOption listado(QStringLiteral("listado"),
                                   QStringLiteral("Muestra cada palabra: dirección, contenido y línea de la fuente."));
  parser.addOptions({ayuda, salida, listado});
  parser.addPositionalArgument(QStringLiteral("FUENTE"), QStringLiteral("Programa en ensamblador de TORVIC (.ASM)."));
  if (!parser.parse(aplicacion.arguments())) {
    if (!parser.unknownOptionNames().isEmpty()) {
      const QString nombre = parser.unknownOptionNames().first();
      Fallar("opción desconocida: " + std::string(nombre.size() > 1 ? "--" : "-") + Texto(nombre), true);
    }
    Fallar("falta el valor de la opción " + Texto(aplicacion.arguments().last()), true);
  }
  if (parser.isSet(ayuda)) {
    Escribir(stdout, Texto(parser.helpText()));
    return 0;
  }
  const QStringList argumentos = parser.positionalArguments();
  if (argumentos.isEmpty()) Fallar("falta la FUENTE", true);
  if (argumentos.size() > 1) Fallar("sobra un argumento: " + Texto(argumentos[1]), true);
  const std::string fuente = QFile::encodeName(argumentos[0]).toStdString();
  const std::string destino = parser.isSet(salida) ? QFile::encodeName(parser.value(salida)).toStdString()
                                                   : Salida_por_Omision(fuente);
  const auto formato = Formato_por_Extension(destino);
  if (!formato) Fallar("el programa objeto debe terminar en .EHC o .HEX: " + destino);
  std::error_code sin_error;
  if (std::filesystem::equivalent(fuente, destino, sin_error))
    Fallar("la salida no puede ser la propia fuente: " + destino);

  const std::string texto = Leer_Fuente(fuente);
  const TResultado_Ensamblado resultado = Ensamblar(texto);
  if (!resultado.Errores.empty()) {
    std::string errores;
    for (const TError_Ensamblado& e : resultado.Errores)
      errores += fuente + ":" + std::to_string(e.Linea) + ":" + std::to_string(e.Columna) + ": " + e.Mensaje + "\n";
    Escribir(stderr, errores);
    return Salida_Error;
  }
  Escribir_Archivo(destino, Texto_Objeto(resultado.Palabras, *formato));
  if (parser.isSet(listado)) Escribir(stdout, Texto_Listado(resultado.Palabras, texto));
  return 0;
}
