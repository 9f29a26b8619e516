#include "core/Ejecucion_Rapida.h"

#include <cstdio>
#include <utility>

const char* const Mensaje_Area_Monitor = "El programa ha llegado al área del monitor (F000..FFFF)";

namespace {

// Reading the clock costs more than an instruction: look at it once per
// this many, well under a millisecond's worth.
constexpr int Instrucciones_por_Vistazo = 4096;
// Beyond this many distinct words written between two refreshes, the whole
// memory view is repainted instead.
constexpr size_t Maximo_Palabras = 64;

}  // namespace

std::string Texto_Velocidad(double instrucciones_por_segundo) {
  char cifra[32];
  std::snprintf(cifra, sizeof cifra, "%.1f", instrucciones_por_segundo / 1e6);
  std::string texto = cifra;
  // Spanish writes the decimal comma, whatever the C locale says.
  for (char& c : texto)
    if (c == '.') c = ',';
  return "Ejecutando a máxima velocidad: " + texto + " M instrucciones/s";
}

bool TEjecucion_Rapida::Comenzar() {
  if (entorno_.Estado_Maquina.Encendida != 1) return false;
  if (ejecutando_) return true;
  TEstado_Maquina& estado = entorno_.Estado_Maquina;
  // Switching step mode off leaves the console ready to execute; a free run
  // armed in the console's address or register mode is switched on and off.
  if (estado.Modo_Paso_a_Paso == 0 && entorno_.Opciones_Entorno.Modo_Consola <= 1) entorno_.BPasoPasoClick();
  if (estado.Modo_Paso_a_Paso == 1) entorno_.BPasoPasoClick();
  contador_inicial_ = entorno_.Contador_Instrucciones();
  ejecutando_ = true;
  primera_ = true;
  grabacion_.Comenzar();
  return true;
}

bool TEjecucion_Rapida::Comenzar_Hasta(int32_t direccion) {
  if (!Comenzar()) return false;
  // Set after Comenzar, whose switch of step mode would remove it.
  entorno_.Puntos_Ruptura.Poner_Temporal(direccion);
  return true;
}

// The free run's own condition: a stop of any kind ends it.
bool TEjecucion_Rapida::Libre() const {
  return entorno_.Estado_Maquina.Encendida == 1 && entorno_.Estado_Maquina.Modo_Paso_a_Paso == 0 &&
         entorno_.Opciones_Entorno.Modo_Consola == 2;
}

bool TEjecucion_Rapida::Ejecutar_Tajada(TReloj::time_point plazo) {
  if (!ejecutando_) return false;
  pantalla_ = &entorno_.Pantalla();
  observador_ = entorno_.Listado.Observador();
  entorno_.Fijar_Pantalla(this);
  entorno_.Listado.Fijar_Observador(this);
  struct TRestaurar {
    TEjecucion_Rapida& r;
    ~TRestaurar() {
      r.entorno_.Fijar_Pantalla(r.pantalla_);
      r.entorno_.Listado.Fijar_Observador(r.observador_);
      r.pantalla_ = nullptr;
      r.observador_ = nullptr;
    }
  } restaurar{*this};

  grabacion_.Revisar();
  if (primera_) {
    primera_ = false;
    entorno_.BContinuarClick();
  }
  for (;;) {
    for (int n = 0; n < Instrucciones_por_Vistazo; ++n) {
      // Most instructions run in batches; a stop, and whatever a batch
      // leaves, go through the free run's own tick.
      n += static_cast<int>(entorno_.Ejecutar_Lote(Instrucciones_por_Vistazo - n));
      if (n == Instrucciones_por_Vistazo) break;
      if (!Libre()) return Terminar();
      if (!entorno_.PC_en_Programa()) {
        // A free run would tick there forever executing nothing.
        entorno_.Detener_Ejecucion();
        entorno_.Fijar_Estado_Ejecucion(Mensaje_Area_Monitor);
        return Terminar();
      }
      entorno_.RelojTimer();
    }
    if (TReloj::now() >= plazo) return true;
  }
}

bool TEjecucion_Rapida::Terminar() {
  Completar_Historial();
  ejecutando_ = false;
  return false;
}

void TEjecucion_Rapida::Completar_Historial() {
  if (!entorno_.Historial.En_Pausa()) return;
  entorno_.Historial.Completar();
  panel_ = true;  // Retroceder may be available now
}

void TEjecucion_Rapida::Detener() {
  if (ejecutando_ && Libre()) entorno_.Detener_Ejecucion();
  Completar_Historial();
  ejecutando_ = false;
}

void TEjecucion_Rapida::Memoria_Cambiada(int direccion_palabra) {
  if (toda_memoria_) return;
  if (direccion_palabra < 0 || palabras_.size() == Maximo_Palabras) {
    toda_memoria_ = true;
    palabras_.clear();
  } else if (palabras_.empty() || palabras_.back() != direccion_palabra) {
    palabras_.push_back(direccion_palabra);
  }
}

void TEjecucion_Rapida::Mostrar_Cambios() {
  TPantalla& pantalla = Pantalla_Real();
  for (int visor = 0; visor < Numero_Visores; ++visor)
    if (visores_.test(static_cast<size_t>(visor))) pantalla.Visor_Cambiado(visor);
  visores_.reset();
  if (std::exchange(banderas_, false)) pantalla.Banderas_Cambiadas();
  if (std::exchange(panel_, false)) pantalla.Panel_Cambiado();
  if (std::exchange(toda_memoria_, false)) pantalla.Memoria_Cambiada(-1);
  for (int32_t palabra : palabras_) pantalla.Memoria_Cambiada(palabra);
  palabras_.clear();
  if (std::exchange(seleccion_, false))
    if (TObservador_Listado* observador = Observador_Real())
      observador->Seleccion_Cambiada(entorno_.Listado.Seleccion());
  if (std::exchange(estado_, false)) pantalla.Estado_Ejecucion(entorno_.Estado_Ejecucion());
  if (std::exchange(instruccion_, false)) pantalla.Instruccion_Ejecutada();
}

// A box opens over views that show the machine as it is.
void TEjecucion_Rapida::Mostrar_Mensaje(const std::string& texto) {
  Mostrar_Cambios();
  Pantalla_Real().Mostrar_Mensaje(texto);
}

bool TEjecucion_Rapida::Preguntar_Si_No(const std::string& titulo, const std::string& texto) {
  Mostrar_Cambios();
  return Pantalla_Real().Preguntar_Si_No(titulo, texto);
}

std::optional<std::string> TEjecucion_Rapida::Pedir_Valor_Editado() {
  Mostrar_Cambios();
  return Pantalla_Real().Pedir_Valor_Editado();
}
