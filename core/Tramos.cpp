#include "core/Tramos.h"

#include "core/Entorno.h"

namespace {

using enum TTramo;

constexpr TTramo Carga[] = {Registros_AR, AR_Memoria, Memoria_DR, DR_Registros};
constexpr TTramo Almacenamiento[] = {Registros_AR, Registros_DR, AR_Memoria, DR_Memoria};
constexpr TTramo Inmediato[] = {IR_Registros};
constexpr TTramo Entrada[] = {Puertos_Registros};
constexpr TTramo Salida[] = {Registros_Puertos};
constexpr TTramo Aritmetica[] = {Registros_UAL, UAL_Registros, UAL_FF};
constexpr TTramo Salto[] = {Registros_PC};
constexpr TTramo Llamada[] = {Registros_AR, PC_DR, AR_Memoria, DR_Memoria, Registros_PC};
constexpr TTramo Retorno[] = {Registros_AR, AR_Memoria, Memoria_DR, DR_PC};
constexpr TTramo Busqueda[] = {PC_AR, AR_Memoria, Memoria_DR, DR_IR};

// In the order of TTramo.
constexpr const char* Nombres[Numero_Tramos] = {
    "Registros-AR", "Registros-DR", "PC-AR", "PC-DR", "AR-Memoria", "DR-Memoria", "Memoria-DR", "DR-Registros",
    "DR-PC", "DR-IR", "IR-Registros", "Puertos-Registros", "Registros-Puertos", "Registros-UAL", "UAL-Registros",
    "UAL-FF", "Registros-PC",
};

int Codigo(const TUltima_Instruccion& instruccion) { return (instruccion.Palabra >> 12) & 0xF; }

}  // namespace

const char* Nombre_Tramo(TTramo tramo) { return Nombres[static_cast<int>(tramo)]; }

std::span<const TTramo> Tramos_Instruccion(const TUltima_Instruccion& instruccion) {
  if (instruccion.Desenlace != TDesenlace::Hecha) return {};
  switch (Codigo(instruccion)) {
    case 0x0: return Carga;
    case 0x1: return Almacenamiento;
    case 0x2:
    case 0x3: return Inmediato;
    case 0x4: return Entrada;
    case 0x5: return Salida;
    case 0xC: return Salto;
    case 0xD: return Llamada;
    case 0xE: return Retorno;
    case 0xF: return {};
    default: return Aritmetica;  // 6 to B
  }
}

std::span<const TTramo> Tramos_Busqueda(const TUltima_Instruccion& instruccion) {
  switch (instruccion.Desenlace) {
    case TDesenlace::No_Tomada:
    case TDesenlace::Rechazada: return Busqueda;
    case TDesenlace::Hecha: {
      // A taken B or CALL and a RET load PC themselves instead of advancing it.
      const int codigo = Codigo(instruccion);
      if (codigo >= 0xC && codigo <= 0xE) return {};
      return Busqueda;
    }
    default: return {};
  }
}

bool Marcar_Visor(int visor, const TUltima_Instruccion& instruccion) {
  const bool de_la_busqueda = visor >= Visor_AR && visor <= Visor_PC;
  return !de_la_busqueda || Tramos_Busqueda(instruccion).empty();
}
