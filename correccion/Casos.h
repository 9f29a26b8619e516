#pragma once
// A teacher's case file (veltra-run --casos): for each case, how the machine
// is prepared and what it must show when the run ends. The file is read whole
// or not at all: one error per problem, and with any error no case is kept.
#include <QByteArray>
#include <QJsonObject>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Ejecucion_Linea.h"

// What a case expects; each list is in report order and names each item once.
struct TEspera {
  // A case that names no stop expects HALT; nothing ("cualquiera") accepts any.
  std::optional<TFin_Ejecucion> Parada = TFin_Ejecucion::Halt;
  std::vector<std::pair<int, std::string>> Registros;      // display (Visor_*), word
  std::vector<std::pair<TBandera, int>> Banderas;
  std::vector<std::pair<int, std::string>> Salidas;        // output port, word
  std::vector<std::pair<int32_t, std::string>> Memoria;    // address, word
};

// What `comprobar` asks a solution for: what the machine shows at the end,
// to be written into `espera`.
struct TComprobar {
  std::vector<int> Registros;        // displays (Visor_*)
  std::vector<TBandera> Banderas;
  std::vector<int> Salidas;          // output ports
  std::vector<int32_t> Memoria;      // addresses
  bool Parada = false;

  bool Vacio() const { return Registros.empty() && Banderas.empty() && Salidas.empty() && Memoria.empty() && !Parada; }
};

struct TCaso {
  std::string Nombre;
  // Without its file: every case loads the program under correction.
  TPreparacion_Ejecucion Preparacion;
  double Puntos = 1;
  TEspera Espera;
  TComprobar Comprobar;
};

struct TLectura_Casos {
  std::vector<TCaso> Casos;
  std::vector<std::string> Errores;
};

// `archivo` names the file in the messages ("CASOS.json:3:15: ..."). For a
// solution (`--solucion`) a case may give `comprobar` instead of `espera`.
TLectura_Casos Leer_Casos(const QByteArray& texto, const std::string& archivo, bool solucion = false);

// A case file as --solucion writes it: indented, the keys of a case and of
// its `espera` in a fixed order, each object of words on one line with its
// keys in the machine's order (r0..rF, AR, DR, IR, PC; Z, S, C, V; ports and
// addresses by number). Takes a file that Leer_Casos accepts.
QByteArray Texto_Casos(const QJsonObject& raiz);

// Every stop name a case file accepts, "cualquiera" included, for messages.
std::string Nombres_de_Parada();

// r0..rF, AR, DR, IR, PC: a register's name in case files and reports.
std::string Nombre_Registro(int visor);
const char* Nombre_Bandera(TBandera bandera);
