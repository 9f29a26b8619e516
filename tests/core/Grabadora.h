#pragma once
// A screen stand-in for machine-layer tests: records messages and questions,
// answers Yes/No and the edit dialog as told.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/Entorno.h"

class TGrabadora : public TPantalla {
 public:
  std::vector<std::string> Mensajes;
  std::vector<std::string> Preguntas;
  bool Respuesta = true;
  std::optional<std::string> Valor_Dialogo;
  // Step mode as each message was shown: a stop must end the run first.
  std::vector<int> Paso_a_Paso_en_Mensaje;
  const TEntorno* Entorno = nullptr;
  int Cambios_Panel = 0;
  std::vector<int> Visores_Cambiados;

  void Mostrar_Mensaje(const std::string& texto) override {
    Mensajes.push_back(texto);
    if (Entorno) Paso_a_Paso_en_Mensaje.push_back(Entorno->Estado_Maquina.Modo_Paso_a_Paso);
  }
  bool Preguntar_Si_No(const std::string& titulo, const std::string& texto) override {
    Preguntas.push_back(titulo + "|" + texto);
    return Respuesta;
  }
  std::optional<std::string> Pedir_Valor_Editado() override { return Valor_Dialogo; }
  void Visor_Cambiado(int visor) override { Visores_Cambiados.push_back(visor); }
  void Panel_Cambiado() override { ++Cambios_Panel; }
};

// An environment switched on, with memory zeroed and a recorder attached.
struct TMaquina_Prueba {
  TGrabadora Pantalla;
  TEntorno E{&Pantalla};

  TMaquina_Prueba() {
    Pantalla.Entorno = &E;
    E.Opciones_Entorno.Relleno_Memoria = 1;
    E.Llenar_Memoria_Aleatoria();
    E.Encender_Apagar();
  }
  // Types an address on the keypad.
  void Teclear(const std::string& texto) {
    for (char c : texto) E.Pulsacion_Teclado(c);
  }
};
