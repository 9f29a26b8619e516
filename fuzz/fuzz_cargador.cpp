// Arbitrary bytes through the load command, read in the format FORMATO_FUZZ.
// Beyond the sanitizers, it checks what every load must leave behind.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Entorno.h"
#include "fuzz/Entorno_Fuzz.h"
#include "objfiles/Cargador.h"
#include "objfiles/HEXPARSER.h"
#include "objfiles/Normalizar.h"

namespace {

bool Linea_Listado_Valida(const std::string& linea) {
  if (linea.size() < 8 || linea[0] != '[' || linea.compare(5, 3, "]: ") != 0) return false;
  for (size_t i = 1; i < 5; ++i)
    if (!Es_Digito_Hex(linea[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  TEntorno& e = Entorno_Fuzz();
  const std::string_view bytes(reinterpret_cast<const char*>(datos), tamano);
  Vaciar_Listado_Carga(e);
  TFuente_Memoria fuente(bytes);
  if (!Cargar_Flujo(e, FORMATO_FUZZ, fuente, "fuzz")) std::abort();  // memory never fails to read

  // At most one line per word address, each beginning with its address.
  if (e.Listado.Numero_Lineas() > 0x10000) std::abort();
  for (const std::string& linea : e.Listado.Lineas())
    if (!Linea_Listado_Valida(linea)) std::abort();
  if (e.Memoria.DataSize() != Bytes_Memoria) std::abort();

  // The streaming normaliser that the reader uses agrees with Normalizar_Linea.
  if (tamano <= Longitud_Maxima_Linea) {
    TNormalizador_Linea normalizador;
    for (char c : bytes) normalizador.Agregar(c);
    if (normalizador.Texto() != Normalizar_Linea(bytes)) std::abort();
  }
  return 0;
}
