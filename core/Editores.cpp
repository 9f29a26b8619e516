#include "core/Entorno.h"
#include "core/TextoHex.h"
#include "disasm/UNASM.h"

const char* const Pregunta_Desensamblador =
    "Al comenzar el Modo Desensamblador perderá\rlos datos del proyecto en curso.\r¿Desea comenzar este modo?";

std::string Pulsacion(std::string_view editor, char tecla) {
  const int32_t valor = Valor_Digito(tecla);
  if (valor < 0) return std::string(editor);
  return Desplazar_Digito(editor, Digito_Hex(valor));
}

void TEntorno::Modifica_Registro(int visor) {
  if (Estado_Maquina.Encendida != 1) {
    pantalla_->Mostrar_Mensaje(Mensaje_Apagada);
    return;
  }
  Valor_Editado = Valor(visor).substr(0, 4);
  if (auto editado = pantalla_->Pedir_Valor_Editado()) Valor_Editado = editado->substr(0, 4);
  // Every display of the value is written; PC here does not move the
  // listing's selection, unlike Fijar_PC during execution.
  Fijar_Valor(visor, Valor_Editado);
}

void TEntorno::Mododesensamblador1Click() {
  if (Opciones_Entorno.Modo_Desensamblador == 0) {
    if (!pantalla_->Preguntar_Si_No("Modo Desensamblador", Pregunta_Desensamblador)) return;
    Cambio_Externo();  // the listing's lines change under the recorded selections
    Opciones_Entorno.Modo_Desensamblador = 1;
    Listado.Vaciar_Linea_a_Linea();
    Panel.Caption_Mododesensamblador1 = "Desactivar Modo Desensamblador";
  } else {
    Cambio_Externo();
    Opciones_Entorno.Modo_Desensamblador = 0;
    Panel.Caption_Mododesensamblador1 = "Activar Modo Desensamblador";
    Listado.Clear();
  }
  Notificar_Panel();
}

void TEntorno::Actualizar_Linea_Listado() {
  Listado.Fijar_Ordenado(true);
  const int32_t direccion = Opciones_Entorno.Posicion_Cursor_Memoria / 2;
  const std::string clave = "[" + Palabra_a_Texto(direccion) + "]: ";
  const int linea = Listado.Buscar_Ultima(clave);
  if (linea >= 0) Listado.Eliminar(linea);
  Listado.Agregar(clave + Desensamblar(Leer_Palabra(direccion)));
}

void TEntorno::Al_Pulsar_Memoria(int32_t posicion_cursor) {
  Opciones_Entorno.Posicion_Cursor_Memoria = posicion_cursor;
}

void TEntorno::Editar_Memoria() {
  // The editor wrote its buffer directly; this is the first the machine hears of it.
  Cambio_Externo();
  if (Opciones_Entorno.Modo_Desensamblador == 1) Actualizar_Linea_Listado();
  else Listado.Fijar_Ordenado(false);
}
