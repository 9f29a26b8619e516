#include "Correccion.h"

#include <QThread>
#include <QThreadPool>

#include <cctype>
#include <filesystem>

#include "asm/Ensamblador.h"
#include "asm/Programa_Objeto.h"
#include "core/TextoHex.h"
#include "objfiles/Cargador.h"

namespace {

// Far above any program or case file, and a guard against reading a huge
// file by mistake.
constexpr std::size_t Maximo_Archivo = 64u << 20;

bool Es_Fuente(const std::string& ruta) {
  std::string extension = std::filesystem::path(ruta).extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".ASM";
}

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

}  // namespace

bool Leer_Archivo(const std::string& ruta, std::string& contenido, std::string& error) {
  TFuente_Archivo archivo(ruta);
  if (!archivo.Abierto()) {
    error = "no se pudo abrir " + ruta + ": " + archivo.Error_Apertura();
    return false;
  }
  contenido.clear();
  char bloque[65536];
  while (const std::size_t leidos = archivo.Leer(bloque, sizeof bloque)) {
    contenido.append(bloque, leidos);
    if (contenido.size() > Maximo_Archivo) {
      error = ruta + " es demasiado grande (más de 64 MB)";
      return false;
    }
  }
  if (archivo.Error().empty()) return true;
  error = "no se pudo leer " + ruta + ": " + archivo.Error();
  return false;
}

TPrograma_Casos::TPrograma_Casos(std::string ruta) : ruta_(std::move(ruta)), fuente_(Es_Fuente(ruta_)) {
  if (!fuente_) return;
  std::string texto, error;
  if (!Leer_Archivo(ruta_, texto, error)) {
    errores_.push_back(error);
    return;
  }
  const TResultado_Ensamblado resultado = Ensamblar(texto);
  for (const TError_Ensamblado& e : resultado.Errores)
    errores_.push_back(ruta_ + ":" + std::to_string(e.Linea) + ":" + std::to_string(e.Columna) + ": " + e.Mensaje);
  if (errores_.empty()) objeto_ = Texto_Objeto(resultado.Palabras, TFormato_Objeto::EHC);
}

std::vector<std::string> TPrograma_Casos::Cargar(TEjecucion_Linea& ejecucion) const {
  TEntorno& e = ejecucion.Entorno();
  if (fuente_ && !errores_.empty()) return errores_;
  // As the load command: the listing is emptied before the file dialog.
  Vaciar_Listado_Carga(e);
  if (!fuente_) return Cargar_Programa_Objeto(e, ruta_) ? std::vector<std::string>{} : ejecucion.Mensajes_Carga();
  // As loading the EHC file that veltra-asm writes; a load from memory cannot fail.
  TFuente_Memoria bytes(objeto_);
  Cargar_Flujo(e, TFormato_Objeto::EHC, bytes, ruta_);
  return {};
}

std::string Texto_Diferencia(const TDiferencia& d) {
  return d.Clave + (d.Clave == "parada" ? " " : " = ") + d.Obtenido + ", se esperaba " + d.Esperado;
}

TResultado_Caso Ejecutar_Caso(const TCaso& caso, const TPrograma_Casos& programa) {
  TResultado_Caso resultado;
  TPreparacion_Ejecucion preparacion = caso.Preparacion;
  // No editor shows a case's memory, and a working file would cost more than the run.
  preparacion.Memoria_sin_Archivo = true;
  TEjecucion_Linea ejecucion(preparacion);
  resultado.Errores_Carga = programa.Cargar(ejecucion);
  if (!resultado.Errores_Carga.empty()) return resultado;
  resultado.Mensajes = ejecucion.Mensajes_Carga();
  resultado.Fin = ejecucion.Ejecutar();
  resultado.Pasos = ejecucion.Pasos();
  const auto& mensajes = ejecucion.Mensajes_Ejecucion();
  resultado.Mensajes.insert(resultado.Mensajes.end(), mensajes.begin(), mensajes.end());
  Comparar(ejecucion.Entorno(), *resultado.Fin, caso.Espera, resultado.Diferencias);
  return resultado;
}

std::vector<TResultado_Caso> Ejecutar_Casos(const std::vector<TCaso>& casos, const TPrograma_Casos& programa,
                                            int hilos) {
  std::vector<TResultado_Caso> resultados(casos.size());
  QThreadPool grupo;
  grupo.setMaxThreadCount(hilos > 0 ? hilos : QThread::idealThreadCount());
  // Each task writes only its own result; the cases and the program are read-only.
  for (std::size_t i = 0; i < casos.size(); ++i)
    grupo.start([&, i] { resultados[i] = Ejecutar_Caso(casos[i], programa); });
  grupo.waitForDone();
  return resultados;
}
