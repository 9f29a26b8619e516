#pragma once
// The full-speed run: the free run's ticks one after another, with nothing
// shown while they run, in slices that end at a deadline so that the window
// takes its events between them. What changed is noted and shown when the
// window asks (a few times a second and when the run stops), and before any
// box the machine opens, so the box never shows over stale views.
// The history records the run at its stop (TGrabacion_Diferida).
#include <bitset>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Entorno.h"
#include "core/Grabacion_Diferida.h"

// "Ejecutando a máxima velocidad: 12,3 M instrucciones/s".
std::string Texto_Velocidad(double instrucciones_por_segundo);

class TEjecucion_Rapida final : private TPantalla, private TObservador_Listado {
 public:
  using TReloj = std::chrono::steady_clock;

  explicit TEjecucion_Rapida(TEntorno& entorno) : entorno_(entorno) {}

  // As Continuar after switching step mode off: the next slice executes the
  // word at PC first. False when TORVIC is off.
  bool Comenzar();
  // Run to a line: as Comenzar, stopping once before the word at `direccion`.
  bool Comenzar_Hasta(int32_t direccion);
  bool Ejecutando() const { return ejecutando_; }
  // Runs until a stop or until the deadline has passed; true while the run
  // goes on. Stops as a free run does, and before PC enters the monitor area.
  bool Ejecutar_Tajada(TReloj::time_point plazo);
  // Escape: the run stops as HALT stops it.
  void Detener();
  // Hands what changed since the last call to the screen and the listing.
  void Mostrar_Cambios();
  // Instructions executed since Comenzar.
  int64_t Instrucciones() const { return entorno_.Contador_Instrucciones() - contador_inicial_; }

 private:
  bool Libre() const;
  bool Terminar();
  // At the stop: the history gets the run's instructions.
  void Completar_Historial();
  // Outside a slice the environment holds the real screen and observer.
  TPantalla& Pantalla_Real() { return pantalla_ ? *pantalla_ : entorno_.Pantalla(); }
  TObservador_Listado* Observador_Real() const { return pantalla_ ? observador_ : entorno_.Listado.Observador(); }

  // The quiet screen and listing observer of a slice: they only take notes.
  void Mostrar_Mensaje(const std::string& texto) override;
  bool Preguntar_Si_No(const std::string& titulo, const std::string& texto) override;
  std::optional<std::string> Pedir_Valor_Editado() override;
  void Visor_Cambiado(int visor) override { visores_[static_cast<size_t>(visor)] = true; }
  void Banderas_Cambiadas() override { banderas_ = true; }
  void Panel_Cambiado() override { panel_ = true; }
  void Memoria_Cambiada(int direccion_palabra) override;
  void Estado_Ejecucion(const std::string&) override { estado_ = true; }
  void Instruccion_Ejecutada() override { instruccion_ = true; }
  // Lines change only by the user's hand: they go straight through.
  void Lineas_Reiniciadas() override { if (observador_) observador_->Lineas_Reiniciadas(); }
  void Listado_Borrado() override { if (observador_) observador_->Listado_Borrado(); }
  void Linea_Insertada(int i) override { if (observador_) observador_->Linea_Insertada(i); }
  void Linea_Eliminada(int i) override { if (observador_) observador_->Linea_Eliminada(i); }
  void Linea_Cambiada(int i) override { if (observador_) observador_->Linea_Cambiada(i); }
  void Seleccion_Cambiada(int) override { seleccion_ = true; }

  TEntorno& entorno_;
  TPantalla* pantalla_ = nullptr;            // the real ones, while a slice runs
  TObservador_Listado* observador_ = nullptr;
  bool ejecutando_ = false;
  bool primera_ = false;
  int64_t contador_inicial_ = 0;

  std::bitset<Numero_Visores> visores_;
  bool banderas_ = false;
  bool panel_ = false;
  bool estado_ = false;
  bool instruccion_ = false;
  bool seleccion_ = false;
  bool toda_memoria_ = false;
  std::vector<int32_t> palabras_;

  TGrabacion_Diferida grabacion_{entorno_};
};
