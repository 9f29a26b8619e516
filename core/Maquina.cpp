#include "core/Entorno.h"
#include "core/TextoHex.h"

#include <algorithm>

const char* const Mensaje_Lectura_Ilegal =
    "AVISO: Acceso a memoria de TORVIC ilegal.\rPor encima de EFFF se encuentra el programa monitor.";
const char* const Mensaje_Escritura_Ilegal =
    "AVISO: Acceso a memoria de TORVIC ilegal\rIntentó escribir por encima de la posición F000H de memoria.";
const char* const Mensaje_Puerto = "ERROR: VELTRA soporta los 64 primeros puertos de entrada de TORVIC";
const char* const Mensaje_Fin = "Fin de la ejecución :-)";
const char* const Mensaje_Apagada = "¡OPS! : Debe encender primero TORVIC.";

namespace {

// Without a screen, messages go nowhere and every question is answered Yes.
class TPantalla_Muda final : public TPantalla {
 public:
  void Mostrar_Mensaje(const std::string&) override {}
  bool Preguntar_Si_No(const std::string&, const std::string&) override { return true; }
};

TPantalla_Muda pantalla_muda;

}  // namespace

TEntorno::TEntorno(TPantalla* pantalla) : pantalla_(pantalla ? pantalla : &pantalla_muda) {
  visores_.fill("****");
  palabras_.fill(-1);
  // Memory is exactly F000 words for every user of the machine: no editor
  // key may insert or delete a byte.
  Memoria.SetNoSizeChange(true);
}

void TEntorno::Fijar_Pantalla(TPantalla* pantalla) { pantalla_ = pantalla ? pantalla : &pantalla_muda; }

TTexto_Corto TEntorno::Leer_Palabra_Incompleta(int32_t direccion) const {
  // Only stored words are ever read: the monitor area, and any address that
  // is not a word, yield the empty text.
  if (direccion < 0 || direccion >= Primera_Direccion_Monitor) return {};
  const int32_t byte = 2 * direccion;
  const int32_t disponibles = std::clamp(Memoria.DataSize() - byte, 0, 2);
  TTexto_Corto texto(static_cast<size_t>(disponibles) * 2);
  for (int32_t i = 0; i < disponibles; ++i) Memoria.ByteToHex(Memoria.ByteAt(byte + i), texto.Datos() + 2 * i);
  return texto;
}

void TEntorno::Escribir_Palabra(int32_t direccion, std::string_view texto, std::string_view aviso) {
  if (direccion >= Primera_Direccion_Monitor) {
    Detener_Ejecucion();
    if (!aviso.empty()) pantalla_->Mostrar_Mensaje(std::string(aviso));
    return;
  }
  const int32_t alto = Texto_a_Byte(texto.substr(0, 2));
  const int32_t bajo = Texto_a_Byte(texto.size() > 2 ? texto.substr(2, 2) : std::string_view{});
  Anotar_Escritura(direccion);
  // A pair that is not a byte (-1) is stored as FF; SetMemory refuses any
  // offset outside the buffer, so a negative address writes nothing.
  Memoria.SetMemory(2 * direccion, static_cast<uint8_t>(alto));
  Memoria.SetMemory(2 * direccion + 1, static_cast<uint8_t>(bajo));
  pantalla_->Memoria_Cambiada(direccion);
}

void TEntorno::Anotar_Cambio_Visor(int visor) {
  if (Historial.Grabando()) {
    Historial.Anotar_Visor(visor, Valor(visor), palabras_[static_cast<size_t>(visor)]);
  } else if (deshaciendo_) {
    efecto_deshecho_.Visores.push_back(visor);
  } else if (visor < Visor_Entrada(0) || visor >= Visor_Salida(0)) {
    Cambio_Externo();
  }
}

void TEntorno::Anotar_Escritura(int32_t direccion) {
  if (!Historial.En_Instruccion()) return Cambio_Externo();
  if (!Historial.Grabando()) return;
  // Only the bytes that the store will reach: memory that Ctrl+Delete
  // shortened refuses the rest.
  const int32_t byte = 2 * direccion;
  if (byte < 0 || byte >= Memoria.DataSize()) return;
  if (byte + 1 < Memoria.DataSize())
    Historial.Anotar_Palabra(direccion, Memoria.ByteAt(byte), Memoria.ByteAt(byte + 1));
  else
    Historial.Anotar_Byte_Alto(direccion, Memoria.ByteAt(byte));
}

void TEntorno::Detener_Ejecucion() {
  Puntos_Ruptura.Quitar_Temporal();
  Estado_Maquina.Modo_Paso_a_Paso = 1;
  Panel.LPP = true;
  Panel.Caption_MModoPasoapaso = "Desactivar modo Paso a Paso";
  Notificar_Panel();
}

void TEntorno::Detener_con_Aviso(std::string_view aviso) {
  // Off, there is no run to stop and the step lamp stays dark.
  if (Estado_Maquina.Encendida == 1) Detener_Ejecucion();
  pantalla_->Mostrar_Mensaje(std::string(aviso));
}

