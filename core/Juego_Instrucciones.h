#pragma once
// What each of TORVIC's sixteen operations does, in the student's words: the one
// table behind the instruction-set window and the tooltips of the listing and of
// the source editor, so each explanation is written once.
#include <array>
#include <string>
#include <string_view>

struct TOperacion {
  char Codigo;                // the word's first digit, '0'..'F'
  std::string_view Nombre;    // as the listing writes it: "ADDS", "B", "CALL"
  std::string_view Sintaxis;  // "ADDS Rx, Rs, Rt"
  std::string_view Campos;    // the word's four digits: "6xst"
  std::string_view Efecto;    // "Rx := Rs + Rt"
  std::string_view Cambia;    // the flags it changes, "Z, S, C y V"; empty for none
  std::string_view Banderas;  // how each of them changes
  std::string_view Ejemplo;   // one word ...
  std::string_view Efecto_Ejemplo;  // ... and what it does
};

// What the table's rows take for granted: a title and its paragraph, shown
// beside the table (the registers rD and rE, the stack, the ports, the
// monitor area).
struct TNota_Juego {
  std::string_view Titulo;
  std::string_view Texto;
};
const std::array<TNota_Juego, 4>& Notas_Juego_Instrucciones();

// Indexed by the operation code: Juego_Instrucciones()[0x6] is ADDS.
const std::array<TOperacion, 16>& Juego_Instrucciones();

// The operation a mnemonic names, in any case; the conditional forms name their
// family ("BZ" and "callv" give B and CALL). Null for anything else.
const TOperacion* Buscar_Operacion(std::string_view mnemonico);

// One line for a tooltip: "ADDS Rx, Rs, Rt: Rx := Rs + Rt; cambia Z, S, C y V".
std::string Resumen_Operacion(const TOperacion& operacion);

// The same for an instruction word's own text as the listing shows it
// ("6312"): what that instruction does. Empty for a text that is no word.
std::string Resumen_Palabra(std::string_view palabra);
