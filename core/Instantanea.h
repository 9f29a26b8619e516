#pragma once
// A copy of the whole machine as plain values: what a state file holds. It is
// taken from an environment and put back into one through the environment's
// own operations, so every view follows as if the machine had got there by
// itself.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Entorno.h"

struct TInstantanea {
  std::array<std::string, Numero_Visores> Visores;  // by Visor_ number
  std::array<int, 4> Banderas{};                    // by TBandera
  TEstado_Maquina Estado_Maquina;
  TOpciones_Entorno Opciones_Entorno;
  std::vector<uint8_t> Memoria;  // Bytes_Memoria bytes
  std::vector<std::string> Lineas_Listado;
  int Seleccion_Listado = -1;
  bool Listado_Ordenado = false;
  std::vector<int32_t> Palabras_Escritas;  // increasing
  std::vector<int32_t> Puntos_Ruptura;     // increasing
};

// Every refusal of a state file begins with this text, then names the problem.
extern const char* const Mensaje_Estado_No_Valido;

TInstantanea Capturar(const TEntorno& entorno);

// The problem that makes the copy unfit to restore, or the empty text.
std::string Problema_Instantanea(const TInstantanea& instantanea);

// Puts the copy into the environment, or, when it has a problem, changes
// nothing and returns the problem. Like any change the user makes, it
// forgets the history of executed instructions.
std::string Restaurar(TEntorno& entorno, const TInstantanea& instantanea);

// A display's text as the machine can leave it: four characters, each a
// hexadecimal digit, X or *, or nothing at all (a word read above EFFF).
bool Texto_Visor_Valido(const std::string& texto);

// The name of a display in messages and in state files: R0..RF, AR, DR, IR,
// PC, IN 00..3F, OUT 00..3F.
std::string Nombre_Visor(int visor);
