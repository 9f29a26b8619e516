#pragma once
// A teacher's case file (veltra-run --casos): for each case, how the machine
// is prepared and what it must show when the run ends. The file is read whole
// or not at all: one error per problem, and with any error no case is kept.
#include <QByteArray>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Ejecucion_Linea.h"

// What a case expects; each list is in report order and names each item once.
struct TEspera {
  std::optional<TFin_Ejecucion> Parada;
  std::vector<std::pair<int, std::string>> Registros;      // display (Visor_*), word
  std::vector<std::pair<TBandera, int>> Banderas;
  std::vector<std::pair<int, std::string>> Salidas;        // output port, word
  std::vector<std::pair<int32_t, std::string>> Memoria;    // address, word
};

struct TCaso {
  std::string Nombre;
  // Without its file: every case loads the program under correction.
  TPreparacion_Ejecucion Preparacion;
  double Puntos = 1;
  TEspera Espera;
};

struct TLectura_Casos {
  std::vector<TCaso> Casos;
  std::vector<std::string> Errores;
};

// `archivo` names the file in the messages ("CASOS.json:3:15: ...").
TLectura_Casos Leer_Casos(const QByteArray& texto, const std::string& archivo);

// r0..rF, AR, DR, IR, PC: a register's name in case files and reports.
std::string Nombre_Registro(int visor);
const char* Nombre_Bandera(TBandera bandera);
