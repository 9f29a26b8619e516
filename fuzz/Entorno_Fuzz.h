#pragma once
// The machine the fuzz targets load into: one environment for the whole run,
// its memory filled once (filling is far slower than a load, and the loader
// stores into the buffer that filling creates), and a screen that counts the
// messages instead of showing them.
#include <cstddef>
#include <string>

#include "core/Entorno.h"

class TPantalla_Fuzz final : public TPantalla {
 public:
  std::size_t Mensajes = 0;
  void Mostrar_Mensaje(const std::string&) override { ++Mensajes; }
  bool Preguntar_Si_No(const std::string&, const std::string&) override { return true; }
};

inline TPantalla_Fuzz& Pantalla_Fuzz() {
  static TPantalla_Fuzz pantalla;
  return pantalla;
}

inline TEntorno& Entorno_Fuzz() {
  static TEntorno entorno(&Pantalla_Fuzz());
  static const bool lleno = [] {
    entorno.Opciones_Entorno.Relleno_Memoria = 1;
    entorno.Llenar_Memoria_Aleatoria();
    return true;
  }();
  (void)lleno;
  return entorno;
}
