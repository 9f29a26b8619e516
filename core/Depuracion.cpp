// Debugging a program: breakpoints, run to a line, stepping back.
#include "core/Entorno.h"
#include "core/TextoHex.h"
#include "core/Textos.h"

bool TEntorno::Parar_si_Punto_Ruptura_en_PC() {
  const int32_t pc = Direccion_PC();
  if (!Puntos_Ruptura.Detiene(pc)) return false;
  const bool destino = pc == Puntos_Ruptura.Temporal();
  Detener_Ejecucion();
  Fijar_Estado_Ejecucion((destino ? "Ejecutado hasta " : "Punto de ruptura en ") + Palabra_a_Texto(pc));
  return true;
}

bool TEntorno::Retroceder() {
  Historial.Completar();  // a full-speed run going on records what it ran
  if (Historial.Vacio()) {
    Fijar_Estado_Ejecucion("No hay instrucciones que retroceder");
    return false;
  }
  deshaciendo_ = true;
  efecto_deshecho_ = {};
  --contador_;
  Historial.Deshacer([this](const TCambio& cambio) { Deshacer_Cambio(cambio); });
  deshaciendo_ = false;
  // Whatever the undone instruction did, the student is looking, not running.
  Detener_Ejecucion();
  Fijar_Estado_Ejecucion({});
  // A step back moves no data: nothing is lit, and PC is marked as jumped.
  ultima_ = {};
  pantalla_->Instruccion_Ejecutada();
  return true;
}

// Each change goes back through the operation that made it, so every view
// of the value follows; the header's values that did not change stay
// untouched.
void TEntorno::Deshacer_Cambio(const TCambio& cambio) {
  switch (cambio.Tipo) {
    case TCambio::Visor: Fijar_Valor(cambio.Numero, cambio.Texto); break;
    case TCambio::Banderas:
      for (const TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
        Fijar_Bandera(bandera, cambio.Numero >> bandera & 1);
      break;
    case TCambio::Palabra:
    case TCambio::Byte_Alto: {
      // Memory is as long as when the store was recorded: any edit since
      // would have emptied the history.
      const int32_t bytes = cambio.Tipo == TCambio::Palabra ? 2 : 1;
      for (int32_t i = 0; i < bytes; ++i) Memoria.SetMemory(2 * cambio.Numero + i, cambio.Bytes[i]);
      efecto_deshecho_.Palabras.push_back(cambio.Numero);
      pantalla_->Memoria_Cambiada(cambio.Numero);
      break;
    }
    case TCambio::Seleccion: Listado.Seleccionar(cambio.Numero); break;
    case TCambio::Contador: contador_ = cambio.Contador_Anterior; break;
    case TCambio::Modo_Consola: Opciones_Entorno.Modo_Consola = static_cast<uint8_t>(cambio.Numero); break;
  }
}

TEfecto_Instruccion TEntorno::Efecto_Ultima_Instruccion() const {
  if (Historial.Hay_Deshecho()) return efecto_deshecho_;
  return Historial.Efecto_Ultimo([this](int visor) -> std::string_view { return Valor(visor); }, banderas_);
}

void TEntorno::Olvidar_Historial() {
  if (Historial.Vacio() && !Historial.En_Pausa()) return;
  Historial.Vaciar();
  Notificar_Panel();  // Retroceder is no longer available
}

namespace {
const char* const Sin_Linea = "Seleccione en el listado la línea de una instrucción";
}

bool TEntorno::Conmutar_Punto_Ruptura_Linea(int linea) {
  const int32_t direccion = Listado.Direccion_Linea(linea);
  if (direccion < 0) {
    Fijar_Estado_Ejecucion(Sin_Linea);
    return false;
  }
  Puntos_Ruptura.Conmutar(direccion);
  return true;
}

std::optional<int32_t> TEntorno::Destino(int32_t direccion) {
  if (Estado_Maquina.Encendida != 1) {
    pantalla_->Mostrar_Mensaje(Mensaje_Apagada);
    return std::nullopt;
  }
  if (direccion < 0) {
    Fijar_Estado_Ejecucion(Sin_Linea);
    return std::nullopt;
  }
  return direccion;
}

void TEntorno::Programa_Cargado(std::string_view ruta) {
  const bool otro = !programa_.empty() && !ruta.empty() && ruta != programa_;
  programa_ = ruta;
  if (!otro || Puntos_Ruptura.Vacio()) return;
  const int32_t quitados = Puntos_Ruptura.Cantidad();
  Puntos_Ruptura.Vaciar();
  Fijar_Estado_Ejecucion(std::string(quitados == 1 ? "Se ha quitado " : "Se han quitado ") +
                         Cantidad(static_cast<uint64_t>(quitados), "punto de ruptura", "puntos de ruptura") +
                         " del programa anterior");
}

void TEntorno::Fijar_Estado_Ejecucion(std::string texto) {
  if (texto == estado_ejecucion_) return;
  estado_ejecucion_ = std::move(texto);
  pantalla_->Estado_Ejecucion(estado_ejecucion_);
}
