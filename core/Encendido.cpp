#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <exception>
#include <vector>

void TEntorno::Encender_Apagar() {
  if (Estado_Maquina.Encendida == 0) {
    Estado_Maquina.Encendida = 1;
    Estado_Maquina.Modo_Paso_a_Paso = 1;
    Panel.LPP = true;
    Panel.BPasoPaso_Habilitado = true;
    Panel.LOn = true;
    Panel.Teclas_Habilitadas = true;
    Panel.BContinuar_Habilitado = true;
    Inicializar_Registros();
    if (Opciones_Entorno.Iniciar_Memoria_al_Encender == 1) {
      Llenar_Memoria_Aleatoria();
      Listado.Clear();
    }
    Panel.Caption_MApagar_TORVIC = "Apagar TORVIC";
    Panel.MModoPasoapaso_Habilitado = true;
    Panel.Caption_MModoPasoapaso = "Desactivar modo Paso a Paso";
  } else {
    Estado_Maquina.Encendida = 0;
    Puntos_Ruptura.Quitar_Temporal();
    Panel.LOn = false;
    Panel.BPasoPaso_Habilitado = false;
    Panel.Teclas_Habilitadas = false;
    Panel.BContinuar_Habilitado = false;
    for (int visor = 0; visor < Numero_Visores; ++visor) Fijar_Valor(visor, "****");
    for (TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V}) Fijar_Bandera(bandera, 0);
    Panel.Caption_MApagar_TORVIC = "Encender TORVIC";
    Estado_Maquina.Modo_Paso_a_Paso = 0;
    Panel.LPP = false;
    Panel.MModoPasoapaso_Habilitado = false;
  }
  Notificar_Panel();
}

void TEntorno::Inicializar_Registros() {
  for (int n = 0; n < 16; ++n) Fijar_Registro(n, Palabra_a_Texto(n));
  Fijar_Registro(14, "F000");
  // The random texts are drawn in this order: AR, DR, OP1, OP2, IP2, IR, PC, Teclado.
  for (int visor : {Visor_AR, Visor_DR, Visor_OP1, Visor_OP2, Visor_IP2, Visor_IR, Visor_PC, Visor_Teclado})
    Fijar_Valor(visor, Texto_Hex_Aleatorio());
  for (int puerto = 0; puerto < Numero_Puertos; ++puerto)
    if (puerto != 1 && puerto != 2) Fijar_Valor(Visor_Entrada(puerto), Texto_Hex_Aleatorio());
  for (int puerto = 0; puerto < Numero_Puertos; ++puerto)
    if (puerto != 1 && puerto != 2) Fijar_Valor(Visor_Salida(puerto), Texto_Hex_Aleatorio());
}

void TEntorno::Llenar_Memoria_Aleatoria() {
  Cambio_Externo();
  std::vector<uint8_t> bytes(Bytes_Memoria, 0);
  if (Opciones_Entorno.Relleno_Memoria == 0)
    for (auto& byte : bytes) byte = Byte_Aleatorio();
  try {
    Memoria.LoadFromBytes(bytes.data(), bytes.size());
  } catch (const std::exception& error) {
    pantalla_->Mostrar_Mensaje(std::string("No se pudo preparar la memoria de TORVIC:\r") + error.what());
  }
  pantalla_->Memoria_Cambiada(-1);
}

void TEntorno::InicializarMemoria1Click() {
  Llenar_Memoria_Aleatoria();
  Listado.Clear();
}

void TEntorno::MInicializar_memoria_al_Encender_TORVICClick() {
  Opciones_Entorno.Iniciar_Memoria_al_Encender = Opciones_Entorno.Iniciar_Memoria_al_Encender != 0 ? 0 : 1;
  Notificar_Panel();
}
