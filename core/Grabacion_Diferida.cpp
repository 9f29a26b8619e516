#include "core/Grabacion_Diferida.h"

#include <algorithm>
#include <utility>

namespace {

// A copy of the machine every this many instructions: at most this many more
// than the history keeps are executed again. A copy of memory takes
// microseconds, the instructions between two copies milliseconds; a copy
// that shares the memory of the one before (no store since) costs a few
// strings, so it comes sooner.
constexpr int64_t Distancia_Puntos = 250'000;
constexpr int64_t Distancia_Puntos_Compartidos = 100'000;

}  // namespace

void TGrabacion_Diferida::Comenzar() {
  if (!entorno_.Historial.Activo()) return;
  puntos_ = {Punto_Actual()};
  entradas_cambiadas_.clear();
  for (int puerto = 0; puerto < Numero_Puertos; ++puerto)
    entradas_[static_cast<size_t>(puerto)] = entorno_.Valor(Visor_Entrada(puerto));
  vaciados_ = entorno_.Historial.Vaciados();
  entorno_.Historial.Pausar([this] { Completar(); });
}

TGrabacion_Diferida::TPunto_Control TGrabacion_Diferida::Punto_Actual() const {
  TPunto_Control punto;
  punto.Contador = entorno_.Contador_Instrucciones();
  for (int visor = 0; visor < Numero_Visores; ++visor) punto.Visores[static_cast<size_t>(visor)] = entorno_.Valor(visor);
  punto.Banderas = entorno_.Banderas();
  const THexEditorBuffer& memoria = entorno_.Memoria;
  punto.Cambios_Memoria = memoria.Changes();
  if (Memoria_sin_Cambios())
    punto.Memoria = puntos_.back().Memoria;
  else
    punto.Memoria = std::make_shared<const std::vector<uint8_t>>(memoria.Bytes(), memoria.Bytes() + memoria.DataSize());
  punto.Nibbles_Cambiados = memoria.SwapNibbles;
  punto.Seleccion = entorno_.Listado.Seleccion();
  punto.Estado_Maquina = entorno_.Estado_Maquina;
  punto.Opciones_Entorno = entorno_.Opciones_Entorno;
  return punto;
}

bool TGrabacion_Diferida::Memoria_sin_Cambios() const {
  return !puntos_.empty() && puntos_.back().Cambios_Memoria == entorno_.Memoria.Changes();
}

void TGrabacion_Diferida::Revisar_Puntos(bool copiar) {
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
  const int64_t distancia = contador - puntos_.back().Contador;
  if (!copiar || distancia < (Memoria_sin_Cambios() ? Distancia_Puntos_Compartidos : Distancia_Puntos)) return;
  puntos_.push_back(Punto_Actual());
  // The oldest copy still needed is the last one at least a full history back.
  const auto lejos = static_cast<int64_t>(THistorial::Maximo_Instrucciones);
  while (puntos_.size() > 1 && puntos_[1].Contador <= contador - lejos) puntos_.pop_front();
  std::erase_if(entradas_cambiadas_, [&](const TEntrada_Cambiada& e) { return e.Contador < puntos_.front().Contador; });
}

void TGrabacion_Diferida::Grabar_en_Vivo() {
  THistorial& historial = entorno_.Historial;
  if (!historial.En_Pausa()) return;
  Revisar_Puntos(false);
  const int64_t contador = entorno_.Contador_Instrucciones();
  if (contador - puntos_.front().Contador < static_cast<int64_t>(THistorial::Maximo_Instrucciones)) return;
  historial.Pausar(nullptr);  // the pause ends without executing anything again
  historial.Vaciar();
  vaciados_ = historial.Vaciados();
  en_vivo_desde_ = contador;
}

void TGrabacion_Diferida::Terminar_en_Vivo() {
  if (en_vivo_desde_ < 0) return;
  const int64_t en_vivo = entorno_.Contador_Instrucciones() - std::exchange(en_vivo_desde_, -1);
  if (en_vivo < static_cast<int64_t>(THistorial::Maximo_Instrucciones)) Completar();
}

void TGrabacion_Diferida::Completar() {
  Revisar_Puntos(false);
  if (puntos_.front().Contador == entorno_.Contador_Instrucciones()) return;
  if (!Ejecutar_de_Nuevo(puntos_.front())) entorno_.Olvidar_Historial();
}

bool TGrabacion_Diferida::Ejecutar_de_Nuevo(const TPunto_Control& punto) {
  TEntorno copia;
  copia.Memoria.WithoutWorkFile = true;
  copia.Memoria.LoadFromBytes(punto.Memoria->data(), punto.Memoria->size());
  copia.Memoria.SwapNibbles = punto.Nibbles_Cambiados;
  for (int visor = 0; visor < Numero_Visores; ++visor) copia.Fijar_Valor(visor, punto.Visores[static_cast<size_t>(visor)]);
  for (const TBandera bandera : {Bandera_Z, Bandera_S, Bandera_C, Bandera_V})
    copia.Fijar_Bandera(bandera, punto.Banderas >> bandera & 1);
  copia.Estado_Maquina = punto.Estado_Maquina;
  copia.Opciones_Entorno = punto.Opciones_Entorno;
  // The copy borrows this machine's listing (its selection follows PC) and
  // records after the instructions already in this machine's history; it
  // hands both back whether it ends well or not.
  const int seleccion = entorno_.Listado.Seleccion();
  TObservador_Listado* const observador = entorno_.Listado.Observador();
  std::swap(copia.Listado, entorno_.Listado);
  copia.Listado.Fijar_Observador(nullptr);
  copia.Listado.Seleccionar(punto.Seleccion);
  THistorial& historial = entorno_.Historial;
  std::swap(copia.Historial, historial);

  const int64_t objetivo = entorno_.Contador_Instrucciones() - punto.Contador;
  // What the history could not keep is executed without recording.
  const int64_t sin_grabar = objetivo - static_cast<int64_t>(THistorial::Maximo_Instrucciones);
  if (sin_grabar > 0) copia.Historial.Pausar([] {});
  auto entrada = entradas_cambiadas_.begin();
  const auto cambiar_entradas = [&](int64_t hasta) {
    for (; entrada != entradas_cambiadas_.end() && entrada->Contador - punto.Contador <= hasta; ++entrada)
      copia.Fijar_Valor(entrada->Visor, entrada->Texto);
  };
  while (copia.Contador_Instrucciones() < objetivo) {
    if (copia.Contador_Instrucciones() == sin_grabar) {
      copia.Historial.Completar();
      copia.Historial.Vaciar();  // nothing before the gap can be undone
    }
    const int64_t antes = copia.Contador_Instrucciones();
    cambiar_entradas(antes);
    // In batches up to the next input change, the start of recording or the end.
    int64_t hasta = objetivo;
    if (antes < sin_grabar) hasta = std::min(hasta, sin_grabar);
    if (entrada != entradas_cambiadas_.end()) hasta = std::min(hasta, entrada->Contador - punto.Contador);
    if (copia.Ejecutar_Lote(hasta - antes) > 0) continue;
    copia.BContinuarClick();
    if (copia.Contador_Instrucciones() != antes + 1) break;
  }
  cambiar_entradas(objetivo);
  copia.Historial.Completar();

  bool iguales = copia.Contador_Instrucciones() == objetivo && copia.Listado.Seleccion() == seleccion;
  for (int visor = 0; iguales && visor < Numero_Visores; ++visor) iguales = copia.Valor(visor) == entorno_.Valor(visor);
  iguales = iguales && copia.Banderas() == entorno_.Banderas();
  const THexEditorBuffer &a = copia.Memoria, &b = entorno_.Memoria;
  iguales = iguales && a.DataSize() == b.DataSize() && std::equal(a.Bytes(), a.Bytes() + a.DataSize(), b.Bytes());

  std::swap(copia.Historial, historial);
  std::swap(copia.Listado, entorno_.Listado);
  entorno_.Listado.Fijar_Observador(observador);
  entorno_.Listado.Seleccionar(seleccion);
  return iguales;
}
