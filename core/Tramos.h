#pragma once
// What an executed instruction moved: its data transfers between the units of
// TORVIC, from a table keyed by the executed word and how it ended, and the
// fetch of the next word when it ended by advancing PC.
#include <cstdint>
#include <span>

// How an instruction ended; the executor stores it at each branch point.
enum class TDesenlace : uint8_t {
  Nada,       // nothing executed: an empty fetch or a word that is no instruction
  Hecha,      // the instruction did its work (a taken B or CALL, a legal LD...)
  No_Tomada,  // a B or CALL whose condition failed: it only advanced PC
  Rechazada,  // an error stop (refused LD, ST or port), then PC advanced
  Cortada,    // an error stop that did not advance PC (refused push, failed store)
};

// The executed word (0..FFFF) and its outcome, kept by the environment.
struct TUltima_Instruccion {
  int32_t Palabra = 0;
  TDesenlace Desenlace = TDesenlace::Nada;
};

// A transfer between two units, named source then destination.
enum class TTramo : uint8_t {
  Registros_AR,
  Registros_DR,
  PC_AR,
  PC_DR,
  AR_Memoria,
  DR_Memoria,
  Memoria_DR,
  DR_Registros,
  DR_PC,
  DR_IR,
  IR_Registros,
  Puertos_Registros,
  Registros_Puertos,
  Registros_UAL,
  UAL_Registros,
  UAL_FF,
  Registros_PC,
};
constexpr int Numero_Tramos = static_cast<int>(TTramo::Registros_PC) + 1;

// "Registros-AR", "AR-Memoria"...: the names the tools and tests see.
const char* Nombre_Tramo(TTramo tramo);

// Both in the order the transfers happen.
std::span<const TTramo> Tramos_Instruccion(const TUltima_Instruccion& instruccion);
std::span<const TTramo> Tramos_Busqueda(const TUltima_Instruccion& instruccion);

// Whether a display the instruction changed is marked: PC, IR, AR and DR
// change at every instruction, so they are marked only when PC did not just
// advance to the next word.
bool Marcar_Visor(int visor, const TUltima_Instruccion& instruccion);
