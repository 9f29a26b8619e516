// Arbitrary bytes as a .VELTRA state file: read, and when the reader takes
// them, restored into the machine. Beyond the sanitizers, it checks that what
// the reader takes is restored exactly (the writer's output is read back by
// tst_Archivo_Estado).
// A whole state holds all of memory (about 200 KB), far too slow to read at
// every input: an input that is a JSON object is laid over the fuzz machine's
// own state, member by member, so that a few bytes reach every check of a
// whole file. The machine's memory lines go in only when the input asks with
// "memoria": true; without them the reader stops at `memoria`, quickly.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdint>
#include <cstdlib>

#include "estado/Archivo_Estado.h"
#include "fuzz/Entorno_Fuzz.h"

namespace {

struct TEstado_Base {
  QJsonObject Estado;  // without `memoria`
  QJsonValue Memoria;
};

const TEstado_Base& Estado_Base() {
  static const TEstado_Base base = [] {
    TEstado_Base b{QJsonDocument::fromJson(Codificar_Estado(Capturar(Entorno_Fuzz()))).object(), {}};
    b.Memoria = b.Estado.take(QStringLiteral("memoria"));
    return b;
  }();
  return base;
}

// What Restaurar and Capturar carry, compared field by field.
bool Igual(const TInstantanea& a, const TInstantanea& b) {
  const TOpciones_Entorno& p = a.Opciones_Entorno;
  const TOpciones_Entorno& q = b.Opciones_Entorno;
  return a.Visores == b.Visores && a.Banderas == b.Banderas &&
         a.Estado_Maquina.Encendida == b.Estado_Maquina.Encendida &&
         a.Estado_Maquina.Modo_Paso_a_Paso == b.Estado_Maquina.Modo_Paso_a_Paso &&
         p.Inicio_Registros == q.Inicio_Registros && p.Relleno_Memoria == q.Relleno_Memoria &&
         p.Iniciar_Memoria_al_Encender == q.Iniciar_Memoria_al_Encender && p.Modo_Consola == q.Modo_Consola &&
         p.Intervalo_Paso == q.Intervalo_Paso && p.Modo_Desensamblador == q.Modo_Desensamblador &&
         p.Posicion_Cursor_Memoria == q.Posicion_Cursor_Memoria && a.Memoria == b.Memoria &&
         a.Lineas_Listado == b.Lineas_Listado && a.Seleccion_Listado == b.Seleccion_Listado &&
         a.Listado_Ordenado == b.Listado_Ordenado && a.Palabras_Escritas == b.Palabras_Escritas &&
         a.Puntos_Ruptura == b.Puntos_Ruptura;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  std::string problema;
  std::optional<TInstantanea> instantanea;
  if (const QJsonDocument documento = QJsonDocument::fromJson(bytes); documento.isObject()) {
    QJsonObject estado = Estado_Base().Estado;
    const QJsonObject encima = documento.object();
    for (auto it = encima.begin(); it != encima.end(); ++it)
      estado.insert(it.key(), it.key() == QLatin1String("memoria") && it.value() == QJsonValue(true)
                                  ? Estado_Base().Memoria
                                  : it.value());
    instantanea = Decodificar_Estado(estado, problema);
  } else {
    instantanea = Decodificar_Estado(bytes, problema);
  }
  if (!instantanea) {
    if (problema.empty()) std::abort();  // a refusal always names its problem
    return 0;
  }
  TEntorno& e = Entorno_Fuzz();
  if (!Restaurar(e, *instantanea).empty()) std::abort();
  if (e.Memoria.DataSize() != Bytes_Memoria) std::abort();
  if (!Igual(Capturar(e), *instantanea)) std::abort();
  return 0;
}
