#pragma once
// The assembled words as the files VELTRA's loaders read, and as a listing.
#include <string>
#include <string_view>
#include <vector>

#include "asm/Ensamblador.h"
#include "objfiles/Cargador.h"

// One word per line in address order, since the loaders refuse an address
// that does not follow the one before: "AAAA WWWW" for EHC, and for Intel HEX
// ":02AAAA00WWWWCC" records closed by the end record. With `desensamblado`,
// each EHC line ends in a comment with the word as the listing shows it.
std::string Texto_Objeto(const std::vector<TPalabra_Ensamblada>& palabras, TFormato_Objeto formato,
                         bool desensamblado = false);

// The words the user wrote into memory (TPalabras_Escritas), with their
// current contents, as an EHC file with their disassembly; empty when there
// are none.
std::string Texto_Programa_Escrito(const TEntorno& entorno);

// Per word, in source order: its address, the word, and its source line.
std::string Texto_Listado(const std::vector<TPalabra_Ensamblada>& palabras, std::string_view fuente);
