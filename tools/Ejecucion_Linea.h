#pragma once
// A run of one program without a window, exactly as a user would do it at
// the console: start-up, power on, load, set values, type the start address,
// switch step mode off, press Ejecutar and let the timer tick.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Entorno.h"

struct TPreparacion_Ejecucion {
  std::string Inicio = "0000";
  uint64_t Max_Pasos = 1000000;
  std::optional<uint64_t> Semilla;
  bool Relleno_Ceros = false;
  std::vector<std::pair<int, std::string>> Registros;      // number, text
  std::vector<std::pair<int, std::string>> Entradas;       // port, text
  std::vector<std::pair<int32_t, std::string>> Palabras;   // address, text
  std::string Archivo;                                      // empty: none
  std::vector<int32_t> Puntos_Ruptura;                      // addresses 0000..EFFF
  bool Historial = false;  // record each instruction, so it can be stepped back
};

enum class TFin_Ejecucion { Halt, Detenida, Monitor, Max_Pasos, Punto_Ruptura };

// Records what the machine shows so the runner can report it.
class TEjecucion_Linea final : public TPantalla {
 public:
  explicit TEjecucion_Linea(const TPreparacion_Ejecucion& preparacion);

  // Loads FILE as VELTRA's load command does; false when the file could not
  // be read (wrong extension, cannot be opened, a read failed).
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
  uint64_t pasos_ = 0;
  bool ejecutando_ = false;
  std::vector<std::string> mensajes_carga_;
  std::vector<std::string> mensajes_ejecucion_;
};
