#pragma once
// The load command "Cargar programa objeto (.HEX, EHC)" after its file
// dialog: Intel HEX records of one word and EHC lines of address and content
// are stored in memory and listed, then the listing is disassembled.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Entorno.h"
#include "objfiles/Lector_Lineas.h"

enum class TFormato_Objeto { HEX, EHC };

// By the last four characters of the path, upper-cased: ".HEX" or ".EHC".
std::optional<TFormato_Objeto> Formato_por_Extension(std::string_view ruta);

// The boxes for a file that cannot be opened, or whose read failed.
std::string Mensaje_Apertura(const std::string& ruta, const std::string& motivo);
std::string Mensaje_Lectura(const std::string& ruta, const std::string& motivo);

// The state of one run of the command.
struct TEstado_Carga {
  // Address of the last record taken as data; -1 before the first, 0 after a
  // corrupt line.
  int32_t Direccion_Actual = -1;
  bool Fin = false;    // the end record was read
  bool Parar = false;  // the record stage asks the reading loop to stop
  // Warnings of each kind raised so far, to limit the boxes one load shows.
  int Lineas_Corruptas = 0;
  int Direcciones_Monitor = 0;
};

// One normalised line of the record stage: stores and lists a record, or
// reports it.
void Procesar_Registro(TEntorno& entorno, TEstado_Carga& estado, const std::string& linea);

// Rewrites each raw line "[AAAA]: WWWW" as "[AAAA]: " + the disassembly of WWWW.
void Desensamblar_Listado(TListado& listado);

// The first step of the command, before its file dialog opens, so that a
// cancelled dialog also leaves the listing empty.
void Vaciar_Listado_Carga(TEntorno& entorno);

// The rest of the command with the chosen path. Messages go to the screen.
// False when the file was not read: wrong extension, cannot be opened, or a
// read failed (words stored before the failure stay).
bool Cargar_Programa_Objeto(TEntorno& entorno, const std::string& ruta);

// The reading loop and closing steps on a byte stream; `ruta` only names the
// file in a read-failure message. False when the stream failed.
bool Cargar_Flujo(TEntorno& entorno, TFormato_Objeto formato, TFuente_Bytes& fuente,
                  const std::string& ruta);
