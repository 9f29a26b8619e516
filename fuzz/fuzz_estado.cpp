// Arbitrary bytes as a .VELTRA state file: read, and when the reader takes
// them, restored into the machine. Beyond the sanitizers, it checks that what
// the reader takes can be restored and comes back unchanged through the file.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "estado/Archivo_Estado.h"
#include "fuzz/Entorno_Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  std::string problema;
  const auto instantanea =
      Decodificar_Estado(QByteArray::fromRawData(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano)),
                         problema);
  if (!instantanea) {
    if (problema.empty()) std::abort();  // a refusal always names its problem
    return 0;
  }
  TEntorno& e = Entorno_Fuzz();
  if (!Restaurar(e, *instantanea).empty()) std::abort();
  if (e.Memoria.DataSize() != Bytes_Memoria) std::abort();
  if (Codificar_Estado(Capturar(e)) != Codificar_Estado(*instantanea)) std::abort();
  return 0;
}
