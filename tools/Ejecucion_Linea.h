#pragma once
// A run of one program without a window, exactly as a user would do it at
// the console: start-up, power on, load, set values, type the start address,
// switch step mode off, press Ejecutar and let the timer tick.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Entorno.h"
#include "core/Grabacion_Diferida.h"
#include "core/Instantanea.h"

struct TPreparacion_Ejecucion {
  // The keypad's start address; without it, 0000, or with a saved state the
  // run goes on from the state's PC.
  std::optional<std::string> Inicio;
  std::optional<TInstantanea> Estado;  // the machine to start from instead of switching on
  uint64_t Max_Pasos = 1000000;
  std::optional<uint64_t> Semilla;
  bool Relleno_Ceros = false;
  std::vector<std::pair<int, std::string>> Registros;      // number, text
  std::vector<std::pair<int, std::string>> Entradas;       // port, text
  std::vector<std::pair<int32_t, std::string>> Palabras;   // address, text
  std::string Archivo;                                      // empty: none
  bool Memoria_sin_Archivo = false;  // memory without the editor's working file
  std::vector<int32_t> Puntos_Ruptura;                      // addresses 0000..EFFF
  bool Historial = false;  // keep the history, so the run can be stepped back
};

enum class TFin_Ejecucion { Halt, Detenida, Monitor, Max_Pasos, Punto_Ruptura };

// A stop kind's name as reports and case files write it ("halt", "max_steps").
const char* Nombre_Fin(TFin_Ejecucion fin);
std::optional<TFin_Ejecucion> Fin_de_Nombre(std::string_view nombre);
// Every name, separated by commas, for messages.
std::string Nombres_de_Fin();

// Records what the machine shows so the runner can report it.
class TEjecucion_Linea final : public TPantalla {
 public:
  explicit TEjecucion_Linea(const TPreparacion_Ejecucion& preparacion);

  // Restores the state, then loads FILE as VELTRA's load command does; false
  // when the state is not valid or the file could not be read (wrong
  // extension, cannot be opened, a read failed).
  bool Cargar();
  // Runs until a stop; calls traza (address, word) before every instruction.
  TFin_Ejecucion Ejecutar(const std::function<void(const std::string&, const std::string&)>& traza = {});

  // After the run: steps back up to n instructions; returns how many.
  uint64_t Retroceder(uint64_t n);

  TEntorno& Entorno() { return entorno_; }
  // Instructions executed and still in effect.
  uint64_t Pasos() const { return pasos_; }
  const std::vector<std::string>& Mensajes_Carga() const { return mensajes_carga_; }
  const std::vector<std::string>& Mensajes_Ejecucion() const { return mensajes_ejecucion_; }

  void Mostrar_Mensaje(const std::string& texto) override;
  bool Preguntar_Si_No(const std::string&, const std::string&) override { return true; }

 private:
  TFin_Ejecucion Fin_Actual() const;

  TPreparacion_Ejecucion preparacion_;
  TEntorno entorno_;
  TGrabacion_Diferida grabacion_{entorno_};
  uint64_t pasos_ = 0;
  bool ejecutando_ = false;
  std::vector<std::string> mensajes_carga_;
  std::vector<std::string> mensajes_ejecucion_;
};
