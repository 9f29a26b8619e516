#include "core/Entorno.h"

const char* const Textos_Velocidad[Numero_Velocidades] = {
    "Rápida",
    "0.3 segundos cada paso",
    "0.5 segundos cada paso",
    "1.0 segundo cada paso",
    "1.5 segundos cada paso",
    "2.0 segundos cada paso",
    "4.0 segundos cada paso",
    "7.0 segundos cada paso",
};

namespace {
constexpr uint32_t Intervalos[Numero_Velocidades] = {1, 300, 500, 1000, 1500, 2000, 4000, 7000};
}

uint32_t Intervalo_de_Item(int item) {
  return item >= 0 && item < Numero_Velocidades ? Intervalos[item] : 1000;
}

int Item_de_Intervalo(uint32_t intervalo) {
  for (int item = 0; item < Numero_Velocidades; ++item)
    if (Intervalos[item] == intervalo) return item;
  return 3;
}

void TEntorno::RelojTimer() {
  if (Estado_Maquina.Encendida == 1 && Estado_Maquina.Modo_Paso_a_Paso == 0 &&
      Opciones_Entorno.Modo_Consola == 2 && !Parar_en_Punto_Ruptura())
    BContinuarClick();
}

void TEntorno::BContinuarClick() {
  if (Opciones_Entorno.Modo_Consola == 0 || Opciones_Entorno.Modo_Consola == 1) {
    Paso_Consola();
    return;
  }
  if (!PC_en_Programa()) {
    // Nothing there executes: the tick changes nothing and counts nothing.
    Fijar_Estado_Ejecucion(Mensaje_Area_Monitor);
    return;
  }
  const uint8_t modo_consola = Opciones_Entorno.Modo_Consola;
  Opciones_Entorno.Modo_Consola = 3;
  Ejecutar_Paso(modo_consola);
}

void TEntorno::Fijar_Velocidad(int item) {
  Opciones_Entorno.Intervalo_Paso = Intervalo_de_Item(item);
  Notificar_Panel();
}

void TEntorno::BPasoPasoClick() {
  if (Estado_Maquina.Modo_Paso_a_Paso == 0) {
    Puntos_Ruptura.Quitar_Temporal();  // the run stops
    Panel.LPP = true;
    Estado_Maquina.Modo_Paso_a_Paso = 1;
    Panel.Caption_MModoPasoapaso = "Desactivar modo Paso a Paso";
  } else {
    Panel.LPP = false;
    Estado_Maquina.Modo_Paso_a_Paso = 0;
    Panel.Caption_MModoPasoapaso = "Activar modo Paso a Paso";
  }
  Opciones_Entorno.Modo_Consola = 4;
  Notificar_Panel();
}
