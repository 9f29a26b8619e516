#include "objfiles/Cargador.h"

#include <exception>
#include <vector>

#include "core/TextoHex.h"
#include "disasm/UNASM.h"
#include "objfiles/HEXPARSER.h"
#include "objfiles/Normalizar.h"
#include "objfiles/Palabras_EHC.h"

namespace {

constexpr std::string_view Registro_Fin = ":00000001FF";

// A wrong file (a text, a renamed binary) would raise a modal box per line,
// thousands of them. One load shows the first ten boxes of a kind, then one
// that says the rest are left out, then none.
constexpr int Maximo_Avisos = 10;
constexpr std::string_view Cierre_Corruptas =
    "ERROR: Archivo HEX corrupto\rHay más líneas corruptas; no se mostrarán más avisos.";
constexpr std::string_view Cierre_Monitor =
    "AVISO: Acceso a memoria de TORVIC ilegal\rHay más direcciones por encima de EFFF; no se mostrarán más avisos.";

// The box for the next warning of a kind: its own, the closing one, or none
// (empty).
std::string Aviso_Limitado(int& avisos, std::string propio, std::string_view cierre) {
  ++avisos;
  if (avisos <= Maximo_Avisos) return propio;
  if (avisos == Maximo_Avisos + 1) return std::string(cierre);
  return {};
}

std::string Mensaje_Formato(int64_t numero_linea) {
  return "Error: Formato incorrecto en la línea " + std::to_string(numero_linea) +
         ". Cada línea debe contener Dirección y Contenido";
}

// The record an EHC line stands for, or nothing when the line does not hold
// exactly two words of at most four characters.
std::optional<std::string> Registro_EHC(std::string_view linea) {
  if (Contar_Palabras(linea) != 2) return std::nullopt;
  const auto direccion = Rellenar_Izquierda(Extraer_Palabra(linea, 1), 4, '0');
  if (!direccion) return std::nullopt;
  const auto contenido = Rellenar_Izquierda(Extraer_Palabra(linea, 2), 4, '0');
  if (!contenido) return std::nullopt;
  return ":02" + *direccion + "00" + *contenido + "EF";
}

}  // namespace

std::string Mensaje_Apertura(const std::string& ruta, const std::string& motivo) {
  return "ERROR: No se pudo abrir el archivo " + ruta + "\rMotivo: " + motivo + ".";
}

std::string Mensaje_Lectura(const std::string& ruta, const std::string& motivo) {
  return "ERROR: No se pudo leer el archivo " + ruta + "\rMotivo: " + motivo + ".";
}

std::optional<TFormato_Objeto> Formato_por_Extension(std::string_view ruta) {
  const std::string extension = Mayusculas(ruta.substr(ruta.size() < 4 ? 0 : ruta.size() - 4));
  if (extension == ".HEX") return TFormato_Objeto::HEX;
  if (extension == ".EHC") return TFormato_Objeto::EHC;
  return std::nullopt;
}

void Procesar_Registro(TEntorno& entorno, TEstado_Carga& estado, const std::string& linea) {
  if (linea.empty()) return;
  if (linea == Registro_Fin) {
    estado.Fin = true;
    return;
  }
  if (!Linea_Hex_Valida(linea)) {
    const std::string aviso = Aviso_Limitado(
        estado.Lineas_Corruptas, "ERROR: Archivo HEX corrupto\rMire la línea: (" + linea + ")", Cierre_Corruptas);
    if (!aviso.empty()) entorno.Pantalla().Mostrar_Mensaje(aviso);
    estado.Direccion_Actual = 0;
    entorno.Listado.Vaciar_Linea_a_Linea();
    return;
  }
  const std::string_view registro(linea);
  const std::string_view texto_direccion = registro.substr(3, 4);
  const std::string_view palabra = registro.substr(9, 4);
  const int32_t direccion = Texto_a_Palabra(texto_direccion);
  if (direccion <= estado.Direccion_Actual) {
    entorno.Pantalla().Mostrar_Mensaje("Error: El fichero contiene direcciones repetidas o desordenadas");
    entorno.Listado.Vaciar_Linea_a_Linea();
    estado.Parar = true;
    return;
  }
  entorno.Listado.Agregar("[" + std::string(texto_direccion) + "]: " + std::string(palabra));
  estado.Direccion_Actual = direccion;
  if (direccion >= Primera_Direccion_Monitor)
    entorno.Escribir_Palabra(direccion, palabra,
                             Aviso_Limitado(estado.Direcciones_Monitor, Mensaje_Escritura_Ilegal, Cierre_Monitor));
  else {
    entorno.Escribir_Palabra(direccion, palabra);
    entorno.Palabras_Escritas.Marcar(direccion);
  }
}

void Desensamblar_Listado(TListado& listado) {
  std::vector<std::string> lineas;
  lineas.reserve(static_cast<size_t>(listado.Numero_Lineas()));
  for (const std::string& linea : listado.Lineas()) {
    const std::string_view texto(linea);
    const std::string_view palabra = texto.substr(std::min<size_t>(8, texto.size()), 4);
    lineas.push_back(std::string(texto.substr(0, 8)) + Desensamblar(palabra));
  }
  listado.Reemplazar_Todas(std::move(lineas));
}

void Vaciar_Listado_Carga(TEntorno& entorno) {
  // The recorded listing selections belong to the lines that go.
  entorno.Olvidar_Historial();
  entorno.Listado.Vaciar_Linea_a_Linea();
}

bool Cargar_Flujo(TEntorno& entorno, TFormato_Objeto formato, TFuente_Bytes& fuente,
                  const std::string& ruta) {
  TLector_Lineas lector(fuente);
  TEstado_Carga estado;
  std::string linea;
  int64_t numero_linea = 0;
  // An EHC file must hold lines; one of no bytes at all says so plainly.
  if (formato == TFormato_Objeto::EHC && lector.Fin() && !lector.Fallo()) {
    entorno.Pantalla().Mostrar_Mensaje("Error: El archivo está vacío");
    return true;
  }
  try {
    do {
      if (!lector.Leer_Linea(linea)) break;
      ++numero_linea;
      if (formato == TFormato_Objeto::EHC) {
        auto registro = Registro_EHC(linea);
        if (!registro) {
          entorno.Pantalla().Mostrar_Mensaje(Mensaje_Formato(numero_linea));
          return true;
        }
        linea = std::move(*registro);
      }
      Procesar_Registro(entorno, estado, linea);
    } while (!estado.Fin && !estado.Parar && !lector.Fin());
  } catch (const std::exception& error) {
    // A store into memory that the editor has shortened: the command ends
    // there, like a read failure, keeping what it stored and listed.
    entorno.Pantalla().Mostrar_Mensaje(error.what());
    return true;
  }
  if (lector.Fallo()) {
    entorno.Pantalla().Mostrar_Mensaje(Mensaje_Lectura(ruta, fuente.Error()));
    return false;
  }
  if (entorno.Listado.Numero_Lineas() > 0) Desensamblar_Listado(entorno.Listado);
  return true;
}

bool Cargar_Programa_Objeto(TEntorno& entorno, const std::string& ruta) {
  const auto formato = Formato_por_Extension(ruta);
  if (!formato) {
    entorno.Pantalla().Mostrar_Mensaje("ERROR: Los archivos objeto deben tener extensión \r.HEX o .EHC");
    return false;
  }
  TFuente_Archivo archivo(ruta);
  if (!archivo.Abierto()) {
    entorno.Pantalla().Mostrar_Mensaje(Mensaje_Apertura(ruta, archivo.Error_Apertura()));
    return false;
  }
  return Cargar_Flujo(entorno, *formato, archivo, ruta);
}
