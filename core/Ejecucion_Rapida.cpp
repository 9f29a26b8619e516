#include "core/Ejecucion_Rapida.h"

#include <algorithm>
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
// A copy of the machine every this many instructions: at most this many more
// than the history keeps are executed again at the stop. A copy takes a few
// microseconds, the instructions between two copies several milliseconds.
constexpr int64_t Distancia_Puntos = 250'000;

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
  if (entorno_.Historial.Activo()) Pausar_Historial();
  return true;
}

void TEjecucion_Rapida::Pausar_Historial() {
  puntos_ = {Punto_Actual()};
  entradas_cambiadas_.clear();
  for (int puerto = 0; puerto < Numero_Puertos; ++puerto)
    entradas_[static_cast<size_t>(puerto)] = entorno_.Valor(Visor_Entrada(puerto));
  vaciados_ = entorno_.Historial.Vaciados();
  entorno_.Historial.Pausar([this] { Completar_Historial(); });
}

TEjecucion_Rapida::TPunto_Control TEjecucion_Rapida::Punto_Actual() const {
  TPunto_Control punto;
  punto.Contador = entorno_.Contador_Instrucciones();
  for (int visor = 0; visor < Numero_Visores; ++visor) punto.Visores[static_cast<size_t>(visor)] = entorno_.Valor(visor);
  for (const TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    punto.Banderas = static_cast<uint8_t>(punto.Banderas | entorno_.Leer_Bandera(bandera) << bandera);
  const THexEditorBuffer& memoria = entorno_.Memoria;
  punto.Memoria.assign(memoria.Bytes(), memoria.Bytes() + memoria.DataSize());
  punto.Nibbles_Cambiados = memoria.SwapNibbles;
  punto.Seleccion = entorno_.Listado.Seleccion();
  punto.Estado_Maquina = entorno_.Estado_Maquina;
  punto.Opciones_Entorno = entorno_.Opciones_Entorno;
  return punto;
}

void TEjecucion_Rapida::Revisar_Puntos(bool copiar) {
  const int64_t contador = entorno_.Contador_Instrucciones();
  if (entorno_.Historial.Vaciados() != vaciados_ || contador < puntos_.back().Contador) {
    // What ran before is forgotten: the history starts again here.
    puntos_ = {Punto_Actual()};
    entradas_cambiadas_.clear();
    vaciados_ = entorno_.Historial.Vaciados();
  }
  for (int puerto = 0; puerto < Numero_Puertos; ++puerto) {
    std::string& antes = entradas_[static_cast<size_t>(puerto)];
    const std::string& ahora = entorno_.Valor(Visor_Entrada(puerto));
    if (antes != ahora) {
      entradas_cambiadas_.push_back({contador, Visor_Entrada(puerto), ahora});
      antes = ahora;
    }
  }
  if (!copiar || contador - puntos_.back().Contador < Distancia_Puntos) return;
  puntos_.push_back(Punto_Actual());
  // The oldest copy still needed is the last one at least a full history back.
  const auto lejos = static_cast<int64_t>(THistorial::Maximo_Instrucciones);
  while (puntos_.size() > 1 && puntos_[1].Contador <= contador - lejos) puntos_.pop_front();
  std::erase_if(entradas_cambiadas_, [&](const TEntrada_Cambiada& e) { return e.Contador < puntos_.front().Contador; });
}

void TEjecucion_Rapida::Completar_Historial() {
  Revisar_Puntos(false);
  THistorial& historial = entorno_.Historial;
  if (puntos_.front().Contador == entorno_.Contador_Instrucciones()) return;
  if (!Ejecutar_de_Nuevo(puntos_.front(), historial)) entorno_.Olvidar_Historial();
  panel_ = true;  // Retroceder may be available now
}

bool TEjecucion_Rapida::Ejecutar_de_Nuevo(const TPunto_Control& punto, THistorial& historial) const {
  TEntorno copia;
  copia.Memoria.WithoutWorkFile = true;
  copia.Memoria.LoadFromBytes(punto.Memoria.data(), punto.Memoria.size());
  copia.Memoria.SwapNibbles = punto.Nibbles_Cambiados;
  for (int visor = 0; visor < Numero_Visores; ++visor) copia.Fijar_Valor(visor, punto.Visores[static_cast<size_t>(visor)]);
  for (const TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    copia.Fijar_Bandera(bandera, punto.Banderas >> bandera & 1);
  copia.Estado_Maquina = punto.Estado_Maquina;
  copia.Opciones_Entorno = punto.Opciones_Entorno;
  copia.Listado = entorno_.Listado;
  copia.Listado.Fijar_Observador(nullptr);
  copia.Listado.Seleccionar(punto.Seleccion);
  // The copy records after the instructions already in the history, which
  // it hands back whether it ends well or not.
  std::swap(copia.Historial, historial);
  const int64_t objetivo = entorno_.Contador_Instrucciones() - punto.Contador;
  auto entrada = entradas_cambiadas_.begin();
  const auto cambiar_entradas = [&](int64_t hasta) {
    for (; entrada != entradas_cambiadas_.end() && entrada->Contador - punto.Contador <= hasta; ++entrada)
      copia.Fijar_Valor(entrada->Visor, entrada->Texto);
  };
  while (copia.Contador_Instrucciones() < objetivo) {
    cambiar_entradas(copia.Contador_Instrucciones());
    const int64_t antes = copia.Contador_Instrucciones();
    copia.BContinuarClick();
    if (copia.Contador_Instrucciones() != antes + 1) break;
  }
  cambiar_entradas(objetivo);
  std::swap(copia.Historial, historial);

  bool iguales = copia.Contador_Instrucciones() == objetivo && copia.Listado.Seleccion() == entorno_.Listado.Seleccion();
  for (int visor = 0; iguales && visor < Numero_Visores; ++visor) iguales = copia.Valor(visor) == entorno_.Valor(visor);
  for (const TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    iguales = iguales && copia.Leer_Bandera(bandera) == entorno_.Leer_Bandera(bandera);
  const THexEditorBuffer &a = copia.Memoria, &b = entorno_.Memoria;
  return iguales && a.DataSize() == b.DataSize() &&
         std::equal(a.Bytes(), a.Bytes() + a.DataSize(), b.Bytes());
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

  if (entorno_.Historial.En_Pausa()) Revisar_Puntos(true);
  if (primera_) {
    primera_ = false;
    entorno_.BContinuarClick();
  }
  for (;;) {
    for (int n = 0; n < Instrucciones_por_Vistazo; ++n) {
      if (!Libre()) return Terminar();
      const int32_t pc = entorno_.Direccion_PC();
      if (pc < 0 || pc >= Primera_Direccion_Monitor) {
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
  entorno_.Historial.Completar();
  ejecutando_ = false;
  return false;
}

void TEjecucion_Rapida::Detener() {
  if (ejecutando_ && Libre()) entorno_.Detener_Ejecucion();
  entorno_.Historial.Completar();
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
