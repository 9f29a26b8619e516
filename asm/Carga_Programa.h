#pragma once
// Opening any program a user can pick: an object file (.EHC, .HEX) goes the
// load command's way; an assembly source (.ASM) is assembled and its words
// load exactly as the EHC file that veltra-asm writes from it would load.
#include <string>
#include <string_view>
#include <vector>

#include "asm/Ensamblador.h"

class TEntorno;

enum class TResultado_Carga {
  Cargado,             // read and loaded (its boxes, if any, were shown)
  Errores_Ensamblado,  // a source with errors: one box, nothing changed
  No_Leido,            // wrong extension, cannot be opened, or a read failed
};

// ".EHC", ".HEX" or ".ASM", in either case: the files VELTRA opens.
bool Es_Programa(std::string_view ruta);
// ".ASM" in either case.
bool Es_Fuente(std::string_view ruta);

// The box for a source with errors: the first ten, one a line, then how
// many more there are.
std::string Mensaje_Errores_Ensamblado(const std::vector<TError_Ensamblado>& errores);

// Empties the listing as the load command does, then loads the program at
// `ruta`; a source with errors leaves memory and listing as they were. A
// source's assembly goes to `ensamblado` when given. A program loaded from
// another file than the last one takes the breakpoints away
// (TEntorno::Programa_Cargado).
TResultado_Carga Cargar_Programa(TEntorno& entorno, const std::string& ruta,
                                 TResultado_Ensamblado* ensamblado = nullptr);

// A source's text already in memory (an editor's, saved or not) loaded as
// the file `ruta` holding it would load; `resultado` is its assembly.
TResultado_Carga Cargar_Texto_Fuente(TEntorno& entorno, const std::string& ruta, std::string_view fuente,
                                     TResultado_Ensamblado& resultado);
