#include "Ejecucion_Linea.h"

#include <algorithm>
#include <chrono>

#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

namespace {

constexpr std::pair<TFin_Ejecucion, const char*> Nombres_Fin[] = {
    {TFin_Ejecucion::Halt, "halt"},
    {TFin_Ejecucion::Detenida, "stopped"},
    {TFin_Ejecucion::Monitor, "monitor"},
    {TFin_Ejecucion::Max_Pasos, "max_steps"},
    {TFin_Ejecucion::Punto_Ruptura, "breakpoint"},
};

}  // namespace

const char* Nombre_Fin(TFin_Ejecucion fin) {
  for (const auto& [valor, nombre] : Nombres_Fin)
    if (valor == fin) return nombre;
  return "";
}

std::optional<TFin_Ejecucion> Fin_de_Nombre(std::string_view nombre) {
  for (const auto& [valor, texto] : Nombres_Fin)
    if (nombre == texto) return valor;
  return std::nullopt;
}

std::string Nombres_de_Fin() {
  std::string lista;
  for (const auto& [valor, nombre] : Nombres_Fin) lista += (lista.empty() ? "" : ", ") + std::string(nombre);
  return lista;
}

TEjecucion_Linea::TEjecucion_Linea(const TPreparacion_Ejecucion& preparacion)
    : preparacion_(preparacion), entorno_(this) {
  entorno_.Aleatorio.Sembrar(preparacion_.Semilla.value_or(
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())));
  entorno_.Memoria.WithoutWorkFile = preparacion_.Memoria_sin_Archivo;
  entorno_.Opciones_Entorno.Relleno_Memoria = preparacion_.Relleno_Ceros ? 1 : 0;
  entorno_.Historial.Fijar_Activo(preparacion_.Historial);
  if (preparacion_.Estado) return;
  // Start-up fills memory; power-on initialises it again, as by default.
  entorno_.Llenar_Memoria_Aleatoria();
  entorno_.Encender_Apagar();
}

void TEjecucion_Linea::Mostrar_Mensaje(const std::string& texto) {
  (ejecutando_ ? mensajes_ejecucion_ : mensajes_carga_).push_back(texto);
}

bool TEjecucion_Linea::Cargar() {
  if (preparacion_.Estado) {
    if (const std::string problema = Restaurar(entorno_, *preparacion_.Estado); !problema.empty()) {
      mensajes_carga_.push_back(Mensaje_Estado_No_Valido + problema);
      return false;
    }
    // Every run begins with the machine on, as a user would switch it on.
    if (entorno_.Estado_Maquina.Encendida == 0) entorno_.Encender_Apagar();
  }
  // After a restore, so they join the breakpoints the state brought.
  for (int32_t direccion : preparacion_.Puntos_Ruptura) entorno_.Puntos_Ruptura.Poner(direccion);
  if (preparacion_.Archivo.empty()) return true;
  // As the load command: the listing is emptied before the file dialog.
  Vaciar_Listado_Carga(entorno_);
  return Cargar_Programa_Objeto(entorno_, preparacion_.Archivo);
}

TFin_Ejecucion TEjecucion_Linea::Fin_Actual() const {
  if (!mensajes_ejecucion_.empty() && mensajes_ejecucion_.back() == Mensaje_Fin)
    return TFin_Ejecucion::Halt;
  return TFin_Ejecucion::Detenida;
}

TFin_Ejecucion TEjecucion_Linea::Ejecutar(
    const std::function<void(const std::string&, const std::string&)>& traza) {
  TEntorno& e = entorno_;
  for (const auto& [direccion, texto] : preparacion_.Palabras) e.Escribir_Palabra(direccion, texto);
  for (const auto& [numero, texto] : preparacion_.Registros) e.Fijar_Registro(numero, texto);
  std::optional<std::string> teclado;
  for (const auto& [puerto, texto] : preparacion_.Entradas) {
    if (puerto == 1) teclado = texto;
    else e.Fijar_Valor(Visor_Entrada(puerto), texto);
  }
  const auto trazar = [&](const std::string& direccion) {
    if (traza) traza(direccion, e.Leer_Palabra(Es_Palabra(direccion) ? Texto_a_Palabra(direccion) : -1));
  };
  // Step mode off; a saved state may have it off already.
  if (e.Estado_Maquina.Modo_Paso_a_Paso == 1) e.BPasoPasoClick();
  ejecutando_ = true;
  if (preparacion_.Estado && !preparacion_.Inicio) {
    // The run goes on at PC as the free run's next tick would, with the
    // console in its running mode rather than an address or register walk.
    e.Opciones_Entorno.Modo_Consola = 2;
  } else {
    for (char digito : preparacion_.Inicio.value_or("0000")) e.Pulsacion_Teclado(digito);
    trazar(e.Valor(Visor_Teclado));
    e.BEjecutarClick();
    pasos_ = 1;
  }
  if (teclado)
    for (char digito : *teclado) e.Pulsacion_Teclado(digito);

  // The history, when on, records the run at its end, or its last million
  // instructions as they run.
  grabacion_.Comenzar();
  const uint64_t maximo = THistorial::Maximo_Instrucciones;
  const uint64_t en_vivo = preparacion_.Max_Pasos > maximo ? preparacion_.Max_Pasos - maximo : 0;
  const TFin_Ejecucion fin = [&] {
    for (;;) {
      if (pasos_ == en_vivo) grabacion_.Grabar_en_Vivo();
      if (!traza) {
        // A batch up to the next look at the history; the checks below
        // then see where it stopped, as after single ticks.
        uint64_t hasta = std::min(preparacion_.Max_Pasos, (pasos_ / 4096 + 1) * 4096);
        if (pasos_ < en_vivo) hasta = std::min(hasta, en_vivo);
        const auto hechas = static_cast<uint64_t>(e.Ejecutar_Lote(static_cast<int64_t>(hasta - std::min(hasta, pasos_))));
        pasos_ += hechas;
        if (pasos_ == en_vivo) grabacion_.Grabar_en_Vivo();
        if (hechas > 0 && pasos_ % 4096 == 0) grabacion_.Revisar();
      }
      if (e.Estado_Maquina.Modo_Paso_a_Paso == 1) return Fin_Actual();
      if (!e.PC_en_Programa()) return TFin_Ejecucion::Monitor;
      if (e.Parar_en_Punto_Ruptura()) return TFin_Ejecucion::Punto_Ruptura;
      if (pasos_ >= preparacion_.Max_Pasos) return TFin_Ejecucion::Max_Pasos;
      trazar(e.Valor(Visor_PC));
      e.RelojTimer();
      if (++pasos_ % 4096 == 0) grabacion_.Revisar();
    }
  }();
  e.Historial.Completar();
  grabacion_.Terminar_en_Vivo();
  return fin;
}

uint64_t TEjecucion_Linea::Retroceder(uint64_t n) {
  uint64_t hechos = 0;
  while (hechos < n && entorno_.Retroceder()) ++hechos;
  pasos_ -= hechos;
  return hechos;
}
