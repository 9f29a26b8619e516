#pragma once
// What a source editor knows about its text, answered by the assembler's own
// rules so that every front end agrees: the pieces of a line for colouring
// and for what lies under the mouse, where an error's token ends, which word
// each line wrote, and the names that complete a word.
//
// Positions here are characters from 0 (a UTF-8 sequence counts once), as
// an editor counts them; the assembler's columns are the same plus one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "asm/Ensamblador.h"

enum class TClase_Pieza {
  Mnemonico,
  Directiva,
  Registro,
  Constante,   // H'xx, decimal, and the LO / HI around a label
  Etiqueta,    // a label defined or used
  Comentario,  // from ';' to the end of the line
};

struct TPieza {
  int32_t Inicio = 0;  // character from 0
  int32_t Largo = 0;   // in characters
  TClase_Pieza Clase = TClase_Pieza::Etiqueta;
  bool operator==(const TPieza&) const = default;
};

// The pieces of one line, left to right; punctuation and blanks are none.
std::vector<TPieza> Piezas_Linea(std::string_view linea);

// The piece that covers character `posicion`, or nullptr.
const TPieza* Pieza_en(const std::vector<TPieza>& piezas, int32_t posicion);

// The characters [inicio, fin) an error at `columna` (from 1) underlines:
// its whole token, or one character; past the end of the line, the last
// one. Empty only for an empty line.
struct TTramo_Error {
  int32_t Inicio = 0;
  int32_t Fin = 0;
  bool operator==(const TTramo_Error&) const = default;
};
TTramo_Error Tramo_Error(std::string_view linea, int32_t columna);

// Between the lines of a source and the addresses of the words they wrote,
// from one assembly's words. Lines count from 1; a line writes one word at most.
class TMapa_Lineas {
 public:
  TMapa_Lineas() = default;
  explicit TMapa_Lineas(const std::vector<TPalabra_Ensamblada>& palabras);

  // The address of the word the line wrote, or -1.
  int32_t Direccion(int32_t linea) const;
  // The first line from `linea` on that wrote a word, or 0.
  int32_t Linea_con_Palabra(int32_t linea) const;
  // The line that wrote the word at an address, or 0.
  int32_t Linea(int32_t direccion) const;
  bool Vacio() const { return direccion_por_linea_.empty(); }

 private:
  std::vector<int32_t> direccion_por_linea_;  // index: line
  std::vector<int32_t> siguiente_;            // index: line; the next line with a word, or 0
  std::vector<int32_t> linea_por_direccion_;  // index: address
};

// What Ctrl+Space offers after `prefijo` (any case): the mnemonics and
// directives, then the labels, each once, in that order.
std::vector<std::string> Completar(std::string_view prefijo, const std::vector<TEtiqueta_Ensamblada>& etiquetas);

// "Sin errores: N palabras, de 0000 a 00FF" for an assembly without errors.
std::string Resumen_Ensamblado(const TResultado_Ensamblado& resultado);
