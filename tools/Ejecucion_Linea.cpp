#include "Ejecucion_Linea.h"

#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

TEjecucion_Linea::TEjecucion_Linea(const TPreparacion_Ejecucion& preparacion)
    : preparacion_(preparacion), entorno_(this) {
  if (preparacion_.Semilla) Sembrar_Aleatorio(*preparacion_.Semilla);
  entorno_.Opciones_Entorno.Relleno_Memoria = preparacion_.Relleno_Ceros ? 1 : 0;
  entorno_.Historial.Fijar_Activo(preparacion_.Historial);
  for (int32_t direccion : preparacion_.Puntos_Ruptura) entorno_.Puntos_Ruptura.Poner(direccion);
  // Start-up fills memory; power-on initialises it again, as by default.
  entorno_.Llenar_Memoria_Aleatoria();
  entorno_.Encender_Apagar();
}

void TEjecucion_Linea::Mostrar_Mensaje(const std::string& texto) {
  (ejecutando_ ? mensajes_ejecucion_ : mensajes_carga_).push_back(texto);
}

bool TEjecucion_Linea::Cargar() {
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
  for (char digito : preparacion_.Inicio) e.Pulsacion_Teclado(digito);
  e.BPasoPasoClick();

  ejecutando_ = true;
  const auto trazar = [&](const std::string& direccion) {
    if (traza) traza(direccion, e.Leer_Palabra(Es_Palabra(direccion) ? Texto_a_Palabra(direccion) : -1));
  };
  trazar(e.Valor(Visor_Teclado));
  e.BEjecutarClick();
  pasos_ = 1;
  if (teclado)
    for (char digito : *teclado) e.Pulsacion_Teclado(digito);

  for (;;) {
    if (e.Estado_Maquina.Modo_Paso_a_Paso == 1) return Fin_Actual();
    const int32_t pc = e.Direccion_PC();
    if (pc < 0 || pc >= Primera_Direccion_Monitor) return TFin_Ejecucion::Monitor;
    if (e.Parar_en_Punto_Ruptura()) return TFin_Ejecucion::Punto_Ruptura;
    if (pasos_ >= preparacion_.Max_Pasos) return TFin_Ejecucion::Max_Pasos;
    trazar(e.Valor(Visor_PC));
    e.RelojTimer();
    ++pasos_;
  }
}

uint64_t TEjecucion_Linea::Retroceder(uint64_t n) {
  uint64_t hechos = 0;
  while (hechos < n && entorno_.Retroceder()) ++hechos;
  pasos_ -= hechos;
  return hechos;
}
