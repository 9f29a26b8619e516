#pragma once
// The history of a long run without recording each instruction: recording
// costs a run a third of its speed. The run keeps a copy of the machine every
// so often, and when the history is wanted (at the run's stop, or a step back
// before it) executes its last instructions again on a machine of its own,
// recording them. That machine must end exactly as this one, or the history
// is forgotten, as after any change by the user.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/Entorno.h"

class TGrabacion_Diferida {
 public:
  explicit TGrabacion_Diferida(TEntorno& entorno) : entorno_(entorno) {}
  // The run begins: the history stops recording (when it is on at all)
  // until Historial.Completar(). The environment must not outlive this.
  void Comenzar();
  // Between two stretches of the run: input ports the user changed, a new
  // copy when the last is far enough behind, and a fresh start after a
  // change that forgot the history.
  void Revisar() {
    if (entorno_.Historial.En_Pausa()) Revisar_Puntos(true);
  }
  // The run's end is known to be at most a full history away (the
  // command-line runner's last step): from here its instructions are
  // recorded as they run, which costs less than executing them again at the
  // stop, and those before can no longer be undone. Only a run that has
  // gone at least a full history since Comenzar switches.
  void Grabar_en_Vivo();
  // At the stop of a run that switched: with fewer instructions recorded as
  // they ran than the history keeps, the history is made as Comenzar's way
  // makes it, executing again from a copy.
  void Terminar_en_Vivo();

 private:
  // The machine at one instruction of the run: where executing again begins.
  struct TPunto_Control {
    int64_t Contador = 0;
    std::array<std::string, Numero_Visores> Visores;
    uint8_t Banderas = 0;
    // Shared with the copy before while memory has not changed since.
    std::shared_ptr<const std::vector<uint8_t>> Memoria;
    uint64_t Cambios_Memoria = 0;  // THexEditorBuffer::Changes() when copied
    bool Nibbles_Cambiados = false;
    int Seleccion = -1;
    TEstado_Maquina Estado_Maquina;
    TOpciones_Entorno Opciones_Entorno;
  };
  // An input port the user changed, after Contador instructions.
  struct TEntrada_Cambiada {
    int64_t Contador = 0;
    int Visor = 0;
    std::string Texto;
  };

  void Revisar_Puntos(bool copiar);
  TPunto_Control Punto_Actual() const;
  // No byte of memory changed since the newest copy.
  bool Memoria_sin_Cambios() const;
  void Completar();
  // Executes again from the copy on a machine of its own, recording into
  // this machine's history; true when it ends as this machine is now.
  bool Ejecutar_de_Nuevo(const TPunto_Control& punto);

  TEntorno& entorno_;
  std::deque<TPunto_Control> puntos_;
  std::vector<TEntrada_Cambiada> entradas_cambiadas_;
  std::array<std::string, Numero_Puertos> entradas_;  // as the last look found them
  uint64_t vaciados_ = 0;
  int64_t en_vivo_desde_ = -1;  // the counter when Grabar_en_Vivo switched, else -1
};
