// VELTRA's entry point: `veltra [ARCHIVO]`.
#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include "traduccion/Traduccion_Qt.h"
#include "ui/Ajustes.h"
#include "ui/Arranque.h"

namespace {

constexpr int Salida_Opciones = 1;

}  // namespace

int main(int argc, char** argv) {
  Aplicar_Ampliacion();
  QApplication aplicacion(argc, argv);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("VELTRA, el Entorno Integrado de Desarrollo para TORVIC."));
  const QCommandLineOption ayuda = Opcion_Ayuda();
  parser.addOption(ayuda);
  parser.addPositionalArgument(
      QStringLiteral("ARCHIVO"),
      QStringLiteral("Programa que se carga al abrir VELTRA: objeto (.EHC, .HEX) o en ensamblador (.ASM)."),
      QStringLiteral("[ARCHIVO]"));
  if (!parser.parse(QApplication::arguments())) {
    const QStringList desconocidas = parser.unknownOptionNames();
    const QString nombre = desconocidas.isEmpty() ? QString() : desconocidas.constFirst();
    QTextStream(stderr) << "veltra: opción desconocida: " << (nombre.size() > 1 ? "--" : "-") << nombre
                        << "\nuso: veltra [ARCHIVO]\n";
    return Salida_Opciones;
  }
  if (parser.isSet(ayuda)) {
    // Only the help needs Qt's own texts here; the start-up installs them for the windows.
    Instalar_Traduccion_Qt(aplicacion);
    QTextStream(stdout) << parser.helpText();
    return 0;
  }
  const auto veltra = Arrancar_VELTRA(parser.positionalArguments());
  return QApplication::exec();
}
