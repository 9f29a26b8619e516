#pragma once
// The assembler: a source text written as the listing writes instructions,
// with labels, comments and the directives ORG and DW, becomes the words of an
// object program, or the list of every error found.
//
// Mnemonics, registers, directives and labels are read in any case.
// The words it builds have zero in the digits an operation ignores, and BR and
// CALLR are condition 0: the disassembly of any word assembles back to that
// word except where ignored digits were set (C500 lists as BR, which is C000).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TPalabra_Ensamblada {
  int32_t Direccion = 0;  // 0000..EFFF
  uint16_t Palabra = 0;
  int32_t Linea = 0;      // the source line that wrote it, from 1
};

struct TError_Ensamblado {
  int32_t Linea = 0;    // from 1
  int32_t Columna = 0;  // from 1, in characters
  std::string Mensaje;
};

struct TEtiqueta_Ensamblada {
  std::string Nombre;     // as its definition writes it
  int64_t Direccion = 0;  // may lie past FFFF: an error wherever it is used
  int32_t Linea = 0;
};

struct TResultado_Ensamblado {
  // In source order; empty whenever there is an error.
  std::vector<TPalabra_Ensamblada> Palabras;
  // Ordered by line and column.
  std::vector<TError_Ensamblado> Errores;
  // Every label defined once, in source order, errors or not: an editor
  // shows them while the text is still being fixed.
  std::vector<TEtiqueta_Ensamblada> Etiquetas;
};

// The lines of a source: each ends at LF, CR or CR LF; a final line break
// opens no further line, and a leading UTF-8 byte order mark is dropped.
std::vector<std::string_view> Dividir_Lineas(std::string_view fuente);

TResultado_Ensamblado Ensamblar(std::string_view fuente);

// What a name is to the assembler, in any case.
enum class TClase_Nombre { Mnemonico, Directiva, Registro, Otro };
TClase_Nombre Clase_Nombre(std::string_view nombre);
// The mnemonics, then the directives, upper-case, in the assembler's order.
std::vector<std::string_view> Mnemonicos_y_Directivas();
