// Arbitrary bytes as an assembler source. Beyond the sanitizers, it checks
// what every assembly must give: errors with a place in the source, or words
// inside program memory, one per address, that load back with no message.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "asm/Ensamblador.h"
#include "asm/Programa_Objeto.h"
#include "core/Entorno.h"
#include "fuzz/Entorno_Fuzz.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  const std::string_view fuente(reinterpret_cast<const char*>(datos), tamano);
  const TResultado_Ensamblado r = Ensamblar(fuente);
  const auto lineas = static_cast<int64_t>(Dividir_Lineas(fuente).size());

  if (r.Errores.empty() == r.Palabras.empty()) std::abort();
  for (const TError_Ensamblado& e : r.Errores)
    if (e.Linea < 1 || e.Linea > std::max<int64_t>(lineas, 1) || e.Columna < 1 || e.Mensaje.empty()) std::abort();
  std::vector<bool> usadas(Primera_Direccion_Monitor);
  for (const TPalabra_Ensamblada& p : r.Palabras) {
    if (p.Direccion < 0 || p.Direccion >= Primera_Direccion_Monitor || usadas[static_cast<size_t>(p.Direccion)])
      std::abort();
    usadas[static_cast<size_t>(p.Direccion)] = true;
    if (p.Linea < 1 || p.Linea > lineas) std::abort();
  }
  (void)Texto_Listado(r.Palabras, fuente);
  if (r.Palabras.empty()) return 0;

  for (TFormato_Objeto formato : {TFormato_Objeto::EHC, TFormato_Objeto::HEX}) {
    const std::string objeto = Texto_Objeto(r.Palabras, formato);
    TEntorno& e = Entorno_Fuzz();
    Pantalla_Fuzz().Mensajes = 0;
    Vaciar_Listado_Carga(e);
    TFuente_Memoria bytes(objeto);
    if (!Cargar_Flujo(e, formato, bytes, "fuzz") || Pantalla_Fuzz().Mensajes != 0) std::abort();
    if (e.Listado.Numero_Lineas() != static_cast<int64_t>(r.Palabras.size())) std::abort();
    for (const TPalabra_Ensamblada& p : r.Palabras)
      if (e.Leer_Palabra(p.Direccion) != Palabra_a_Texto(p.Palabra)) std::abort();
  }
  return 0;
}
