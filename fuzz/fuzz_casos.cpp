// Arbitrary bytes as a teacher's case file, read for grading and for a
// solution. Beyond the sanitizers, it checks that a refusal names its file
// and keeps no case, and that what the reader takes, written as --solucion
// writes it, reads back to as many cases and writes again to the same text.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

#include "correccion/Casos.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  const QByteArray texto(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  for (const bool solucion : {false, true}) {
    const TLectura_Casos lectura = Leer_Casos(texto, "f", solucion);
    if (lectura.Errores.empty() == lectura.Casos.empty()) std::abort();
    for (const std::string& error : lectura.Errores)
      if (error.rfind("f:", 0) != 0) std::abort();
    if (lectura.Casos.empty()) continue;
    const QByteArray escrito = Texto_Casos(QJsonDocument::fromJson(texto).object());
    const TLectura_Casos otra = Leer_Casos(escrito, "f", solucion);
    if (!otra.Errores.empty() || otra.Casos.size() != lectura.Casos.size()) std::abort();
    if (Texto_Casos(QJsonDocument::fromJson(escrito).object()) != escrito) std::abort();
  }
  return 0;
}
