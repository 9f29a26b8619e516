#pragma once
// The full-speed run: the free run's ticks one after another, with nothing
// shown while they run, in slices that end at a deadline so that the window
// takes its events between them. What changed is noted and shown when the
// window asks (a few times a second and when the run stops), and before any
// box the machine opens, so the box never shows over stale views.
//
// Recording every instruction for stepping back would cost the run a third
// of its speed. Instead the run keeps a copy of the machine every so often,
// and at its stop executes its last instructions again on a machine of its
// own, recording them into the history. The copy's end must equal the
// machine's, or the history is forgotten, as after any change by the user.
#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/Entorno.h"

extern const char* const Mensaje_Area_Monitor;

// "Ejecutando a máxima velocidad: 12,3 M instrucciones/s".
std::string Texto_Velocidad(double instrucciones_por_segundo);

class TEjecucion_Rapida final : private TPantalla, private TObservador_Listado {
 public:
  using TReloj = std::chrono::steady_clock;

  explicit TEjecucion_Rapida(TEntorno& entorno) : entorno_(entorno) {}

  // As Continuar after switching step mode off: the next slice executes the
  // word at PC first. False when TORVIC is off.
  bool Comenzar();
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
  // The machine at one instruction of the run: where executing again begins.
  struct TPunto_Control {
    int64_t Contador = 0;
    std::array<std::string, Numero_Visores> Visores;
    uint8_t Banderas = 0;  // bit per TBandera
    std::vector<uint8_t> Memoria;
    bool Nibbles_Cambiados = false;
    int Seleccion = -1;
    TEstado_Maquina Estado_Maquina;
    TOpciones_Entorno Opciones_Entorno;
  };
  // An input port the user changed between two slices, after Contador instructions.
  struct TEntrada_Cambiada {
    int64_t Contador = 0;
    int Visor = 0;
    std::string Texto;
  };

  bool Libre() const;
  bool Terminar();
  void Pausar_Historial();
  // At each slice's start: input ports the user changed, a new copy when
  // the last is far enough behind, and a fresh start after a change that
  // forgot the history.
  void Revisar_Puntos(bool copiar);
  TPunto_Control Punto_Actual() const;
  void Completar_Historial();
  // Executes again from the copy on a machine of its own, recording into the
  // history it is given; true when it ends as this machine is now.
  bool Ejecutar_de_Nuevo(const TPunto_Control& punto, THistorial& historial) const;
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

  std::deque<TPunto_Control> puntos_;
  std::vector<TEntrada_Cambiada> entradas_cambiadas_;
  std::array<std::string, Numero_Puertos> entradas_;  // as the last look found them
  uint64_t vaciados_ = 0;
};
