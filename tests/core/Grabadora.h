#pragma once
// A screen stand-in for machine-layer tests: records messages and questions,
// answers Yes/No and the edit dialog as told.
#include <QtTest>

#include <optional>
#include <string>
#include <vector>

#include "core/Entorno.h"
#include "core/TextoHex.h"

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

inline int Visor_de(const QString& nombre) {
  if (nombre == "AR") return Visor_AR;
  if (nombre == "DR") return Visor_DR;
  if (nombre == "IR") return Visor_IR;
  if (nombre == "PC") return Visor_PC;
  const int numero = nombre.mid(1).toInt(nullptr, 16);
  if (nombre.startsWith('r')) return Visor_Registro(numero);
  if (nombre.startsWith('i')) return Visor_Entrada(numero);
  if (nombre.startsWith('o')) return Visor_Salida(numero);
  return -1;
}

// "r1=7FFF flags=0101 m0200=1234 i3F=ABCD o01=0000": registers, displays
// (i and o are the ports), the flags Z S C V as four bits, and memory words.
inline void Aplicar(TEntorno& e, const QString& estado) {
  for (const QString& par : estado.split(' ', Qt::SkipEmptyParts)) {
    const QString clave = par.section('=', 0, 0);
    const std::string valor = par.section('=', 1).toStdString();
    if (clave == "flags") {
      for (int b = 0; b < 4; ++b) e.Fijar_Bandera(static_cast<TBandera>(b), valor[static_cast<size_t>(b)] == '1');
    } else if (clave.startsWith('m')) {
      e.Escribir_Palabra(Texto_a_Palabra(clave.mid(1).toStdString()), valor);
    } else {
      e.Fijar_Valor(Visor_de(clave), valor);
    }
  }
}

// Checks the same notation; a failure names the value.
inline void Comprobar(const TEntorno& e, const QString& estado) {
  for (const QString& par : estado.split(' ', Qt::SkipEmptyParts)) {
    const QString clave = par.section('=', 0, 0);
    std::string valor;
    if (clave == "flags")
      for (int b = 0; b < 4; ++b) valor += char('0' + e.Leer_Bandera(static_cast<TBandera>(b)));
    else if (clave.startsWith('m'))
      valor = e.Leer_Palabra(Texto_a_Palabra(clave.mid(1).toStdString()));
    else
      valor = e.Valor(Visor_de(clave));
    QCOMPARE(clave + '=' + QString::fromStdString(valor), par);
  }
}
