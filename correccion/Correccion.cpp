#include "Correccion.h"

#include <QThread>
#include <QThreadPool>

#include "asm/Carga_Programa.h"
#include "core/TextoHex.h"

namespace {

void Comparar(TEntorno& e, TFin_Ejecucion fin, const TEspera& espera, std::vector<TDiferencia>& diferencias) {
  const auto comparar = [&](std::string clave, const std::string& obtenido, const std::string& esperado) {
    if (obtenido != esperado) diferencias.push_back({std::move(clave), obtenido, esperado});
  };
  for (const auto& [visor, palabra] : espera.Registros) comparar(Nombre_Registro(visor), e.Valor(visor), palabra);
  for (const auto& [bandera, valor] : espera.Banderas)
    comparar(Nombre_Bandera(bandera), std::to_string(e.Leer_Bandera(bandera)), std::to_string(valor));
  for (const auto& [puerto, palabra] : espera.Salidas) {
    const std::string nombre = Palabra_a_Texto(puerto).substr(2);
    comparar("puerto de salida " + nombre, e.Valor(Visor_Salida(puerto)), palabra);
  }
  for (const auto& [direccion, palabra] : espera.Memoria)
    comparar("M[" + Palabra_a_Texto(direccion) + "]", e.Leer_Palabra(direccion), palabra);
  if (espera.Parada) comparar("parada", Nombre_Fin(fin), Nombre_Fin(*espera.Parada));
}

// The values `comprobar` names, as the machine shows them at the end.
TEspera Leer(TEntorno& e, TFin_Ejecucion fin, const TComprobar& comprobar) {
  TEspera leido;
  leido.Parada = comprobar.Parada ? std::optional(fin) : std::nullopt;
  for (int visor : comprobar.Registros) leido.Registros.emplace_back(visor, e.Valor(visor));
  for (TBandera bandera : comprobar.Banderas) leido.Banderas.emplace_back(bandera, e.Leer_Bandera(bandera));
  for (int puerto : comprobar.Salidas) leido.Salidas.emplace_back(puerto, e.Valor(Visor_Salida(puerto)));
  for (int32_t direccion : comprobar.Memoria) leido.Memoria.emplace_back(direccion, e.Leer_Palabra(direccion));
  return leido;
}

std::string Palabras_Cargadas(TEntorno& e) {
  std::string texto;
  for (int i = 0; i < e.Listado.Numero_Lineas(); ++i)
    if (const int32_t direccion = e.Listado.Direccion_Linea(i); direccion >= 0)
      texto += Palabra_a_Texto(direccion) + " " + e.Leer_Palabra(direccion) + "\n";
  return texto;
}

}  // namespace

std::vector<std::string> TPrograma_Casos::Cargar(TEjecucion_Linea& ejecucion) const {
  // The load's boxes say why a program could not be loaded: it cannot be
  // read, or, for a source, the assembler's errors.
  if (Cargar_Programa(ejecucion.Entorno(), ruta_) == TResultado_Carga::Cargado) return {};
  return ejecucion.Mensajes_Carga();
}

std::string Texto_Diferencia(const TDiferencia& d) {
  return d.Clave + (d.Clave == "parada" ? ": " : " = ") + d.Obtenido + ", se esperaba " + d.Esperado;
}

TResultado_Caso Ejecutar_Caso(const TCaso& caso, const TPrograma_Casos& programa, bool palabras_cargadas) {
  TResultado_Caso resultado;
  TPreparacion_Ejecucion preparacion = caso.Preparacion;
  // No editor shows a case's memory, and a working file would cost more than the run.
  preparacion.Memoria_sin_Archivo = true;
  TEjecucion_Linea ejecucion(preparacion);
  resultado.Errores_Carga = programa.Cargar(ejecucion);
  if (!resultado.Errores_Carga.empty()) return resultado;
  resultado.Mensajes = ejecucion.Mensajes_Carga();
  if (palabras_cargadas) resultado.Palabras_Cargadas = Palabras_Cargadas(ejecucion.Entorno());
  resultado.Fin = ejecucion.Ejecutar();
  resultado.Pasos = ejecucion.Pasos();
  const auto& mensajes = ejecucion.Mensajes_Ejecucion();
  resultado.Mensajes.insert(resultado.Mensajes.end(), mensajes.begin(), mensajes.end());
  Comparar(ejecucion.Entorno(), *resultado.Fin, caso.Espera, resultado.Diferencias);
  if (!caso.Comprobar.Vacio()) resultado.Leido = Leer(ejecucion.Entorno(), *resultado.Fin, caso.Comprobar);
  return resultado;
}

std::vector<TResultado_Caso> Ejecutar_Casos(const std::vector<TCaso>& casos, const TPrograma_Casos& programa,
                                            int hilos) {
  return std::move(Ejecutar_Programas(casos, {programa}, hilos).front());
}

std::vector<std::vector<TResultado_Caso>> Ejecutar_Programas(const std::vector<TCaso>& casos,
                                                             const std::vector<TPrograma_Casos>& programas,
                                                             int hilos) {
  std::vector<std::vector<TResultado_Caso>> resultados(programas.size(), std::vector<TResultado_Caso>(casos.size()));
  QThreadPool grupo;
  grupo.setMaxThreadCount(hilos > 0 ? hilos : QThread::idealThreadCount());
  // Each task writes only its own result; the cases and the programs are read-only.
  for (std::size_t p = 0; p < programas.size(); ++p)
    for (std::size_t i = 0; i < casos.size(); ++i)
      grupo.start([&, p, i] {
        TResultado_Caso& resultado = resultados[p][i];
        try {
          resultado = Ejecutar_Caso(casos[i], programas[p], i == 0);
        } catch (const std::exception& error) {
          resultado = {};
          resultado.Errores_Carga = {std::string("no se pudo corregir: ") + error.what()};
        }
      });
  grupo.waitForDone();
  return resultados;
}
