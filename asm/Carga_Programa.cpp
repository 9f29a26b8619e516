#include "asm/Carga_Programa.h"

#include "asm/Programa_Objeto.h"
#include "core/Entorno.h"
#include "core/Textos.h"
#include "objfiles/Cargador.h"
#include "objfiles/Lector_Lineas.h"
#include "objfiles/Normalizar.h"

namespace {

constexpr std::size_t Maximo_Errores_Mostrados = 10;

// The source's bytes, or the box that says why they could not be read.
bool Leer_Fuente(TEntorno& entorno, const std::string& ruta, std::string& fuente) {
  TArchivo_Entero archivo = Leer_Archivo_Entero(ruta);
  switch (archivo.Fallo) {
    case TArchivo_Entero::TFallo::Ninguno: fuente = std::move(archivo.Contenido); return true;
    case TArchivo_Entero::TFallo::Apertura:
      entorno.Pantalla().Mostrar_Mensaje(Mensaje_Apertura(ruta, archivo.Motivo));
      return false;
    case TArchivo_Entero::TFallo::Lectura:
      entorno.Pantalla().Mostrar_Mensaje(Mensaje_Lectura(ruta, archivo.Motivo));
      return false;
    case TArchivo_Entero::TFallo::Demasiado_Grande:
      entorno.Pantalla().Mostrar_Mensaje(
          Mensaje_Lectura(ruta, "es demasiado grande para una fuente (más de 64 MB)"));
      return false;
  }
  return false;
}

TResultado_Carga Cargar_Fuente(TEntorno& entorno, const std::string& ruta, TResultado_Ensamblado& resultado) {
  std::string fuente;
  if (!Leer_Fuente(entorno, ruta, fuente)) {
    // A source that cannot be read ends like an object file that cannot.
    Vaciar_Listado_Carga(entorno);
    return TResultado_Carga::No_Leido;
  }
  return Cargar_Texto_Fuente(entorno, ruta, fuente, resultado);
}

}  // namespace

bool Es_Fuente(std::string_view ruta) {
  return Mayusculas(ruta.substr(ruta.size() < 4 ? 0 : ruta.size() - 4)) == ".ASM";
}

bool Es_Programa(std::string_view ruta) { return Es_Fuente(ruta) || Formato_por_Extension(ruta).has_value(); }

TResultado_Carga Cargar_Texto_Fuente(TEntorno& entorno, const std::string& ruta, std::string_view fuente,
                                     TResultado_Ensamblado& resultado) {
  resultado = Ensamblar(fuente);
  if (!resultado.Errores.empty()) {
    entorno.Pantalla().Mostrar_Mensaje(Mensaje_Errores_Ensamblado(resultado.Errores));
    return TResultado_Carga::Errores_Ensamblado;
  }
  Vaciar_Listado_Carga(entorno);
  const std::string objeto = Texto_Objeto(resultado.Palabras, TFormato_Objeto::EHC);
  TFuente_Memoria bytes(objeto);
  Cargar_Flujo(entorno, TFormato_Objeto::EHC, bytes, ruta);
  entorno.Programa_Cargado(ruta);
  return TResultado_Carga::Cargado;
}

std::string Mensaje_Errores_Ensamblado(const std::vector<TError_Ensamblado>& errores) {
  std::string texto = "ERROR: El programa tiene errores de ensamblado:";
  for (std::size_t i = 0; i < errores.size() && i < Maximo_Errores_Mostrados; ++i)
    texto += "\r" + std::to_string(errores[i].Linea) + ":" + std::to_string(errores[i].Columna) + ": " +
             errores[i].Mensaje;
  if (errores.size() > Maximo_Errores_Mostrados) {
    const std::size_t resto = errores.size() - Maximo_Errores_Mostrados;
    texto += "\r... y " + Cantidad(resto, "error más", "errores más");
  }
  return texto;
}

TResultado_Carga Cargar_Programa(TEntorno& entorno, const std::string& ruta, TResultado_Ensamblado* ensamblado) {
  if (Es_Fuente(ruta)) {
    TResultado_Ensamblado propio;
    return Cargar_Fuente(entorno, ruta, ensamblado ? *ensamblado : propio);
  }
  Vaciar_Listado_Carga(entorno);
  if (!Cargar_Programa_Objeto(entorno, ruta)) return TResultado_Carga::No_Leido;
  entorno.Programa_Cargado(ruta);
  return TResultado_Carga::Cargado;
}
