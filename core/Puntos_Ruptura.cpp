#include "core/Puntos_Ruptura.h"

#include "core/Entorno.h"
#include "core/TextoHex.h"

const char* const Mensaje_Direccion_No_Valida =
    "La dirección debe tener cuatro dígitos hexadecimales (0-9, A-F), por ejemplo 0012.";

void TPuntos_Ruptura::Poner(int32_t direccion) {
  if (Valida(direccion) && !Contiene(direccion)) Conmutar(direccion);
}

void TPuntos_Ruptura::Quitar(int32_t direccion) {
  if (Contiene(direccion)) Conmutar(direccion);
}

void TPuntos_Ruptura::Conmutar(int32_t direccion) {
  if (!Valida(direccion)) return;
  puntos_.flip(static_cast<size_t>(direccion));
  cantidad_ += Contiene(direccion) ? 1 : -1;
}

std::vector<int32_t> TPuntos_Ruptura::Lista() const {
  std::vector<int32_t> lista;
  for (int32_t a = 0; a < Numero_Direcciones; ++a)
    if (puntos_.test(static_cast<size_t>(a))) lista.push_back(a);
  return lista;
}

const char* TPuntos_Ruptura::Poner_Texto(std::string_view texto) {
  if (!Es_Palabra(texto)) return Mensaje_Direccion_No_Valida;
  const int32_t direccion = Texto_a_Palabra(texto);
  // The same warning as the console's address key above EFFF.
  if (!Valida(direccion)) return Mensaje_Lectura_Ilegal;
  Poner(direccion);
  return nullptr;
}
