#include "core/Instantanea.h"

#include <algorithm>

#include "core/TextoHex.h"
#include "core/Textos.h"

const char* const Mensaje_Estado_No_Valido = "ERROR: El archivo de estado no es válido: ";

namespace {

// Listing lines are "[AAAA]: " and a disassembly; the bound keeps a
// hand-made listing from slowing the address index down.
constexpr size_t Longitud_Maxima_Linea_Listado = 80;
constexpr size_t Maximo_Lineas_Listado = 0x10000;

bool Es_Linea_Listado(const std::string& linea) {
  if (linea.size() < 8 || linea.size() > Longitud_Maxima_Linea_Listado || linea[0] != '[' ||
      linea.compare(5, 3, "]: ") != 0 || !Es_Palabra(std::string_view(linea).substr(1, 4)))
    return false;
  return std::none_of(linea.begin(), linea.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool Es_Bit(int valor) { return valor == 0 || valor == 1; }

// Addresses in increasing order, each below the limit.
bool Direcciones_Validas(const std::vector<int32_t>& direcciones, int32_t limite) {
  for (size_t i = 0; i < direcciones.size(); ++i)
    if (direcciones[i] < 0 || direcciones[i] >= limite || (i > 0 && direcciones[i] <= direcciones[i - 1])) return false;
  return true;
}

std::string Problema_Registros(const TEstado_Maquina& estado, const TOpciones_Entorno& opciones) {
  if (!Es_Bit(estado.Encendida)) return "Encendida no es 0 ni 1";
  if (!Es_Bit(estado.Modo_Paso_a_Paso)) return "Modo_Paso_a_Paso no es 0 ni 1";
  if (!Es_Bit(opciones.Relleno_Memoria)) return "Relleno_Memoria no es 0 ni 1";
  if (!Es_Bit(opciones.Iniciar_Memoria_al_Encender)) return "Iniciar_Memoria_al_Encender no es 0 ni 1";
  if (opciones.Modo_Consola > 4) return "Modo_Consola no está entre 0 y 4";
  if (Intervalo_de_Item(Item_de_Intervalo(opciones.Intervalo_Paso)) != opciones.Intervalo_Paso)
    return "Intervalo_Paso no es una de las velocidades de paso";
  if (!Es_Bit(opciones.Modo_Desensamblador)) return "Modo_Desensamblador no es 0 ni 1";
  if (opciones.Posicion_Cursor_Memoria < 0 || opciones.Posicion_Cursor_Memoria >= Bytes_Memoria)
    return "Posicion_Cursor_Memoria está fuera de la memoria";
  return {};
}

// What the panels show follows from the records, as the machine's own
// operations leave it. The disassembler's caption is kept while its mode
// stays, since the first one differs in case from later ones.
void Derivar_Panel(TPanel& panel, const TEstado_Maquina& estado, uint8_t desensamblador_antes,
                   uint8_t desensamblador) {
  const bool encendida = estado.Encendida == 1;
  panel.LOn = encendida;
  panel.LPP = encendida && estado.Modo_Paso_a_Paso == 1;
  panel.Teclas_Habilitadas = panel.BContinuar_Habilitado = panel.BPasoPaso_Habilitado =
      panel.MModoPasoapaso_Habilitado = encendida;
  panel.Caption_MApagar_TORVIC = encendida ? "Apagar TORVIC" : "Encender TORVIC";
  panel.Caption_MModoPasoapaso =
      encendida && estado.Modo_Paso_a_Paso == 0 ? "Activar modo Paso a Paso" : "Desactivar modo Paso a Paso";
  if (desensamblador != desensamblador_antes)
    panel.Caption_Mododesensamblador1 =
        desensamblador == 1 ? "Desactivar Modo Desensamblador" : "Activar Modo Desensamblador";
}

}  // namespace

bool Texto_Visor_Valido(const std::string& texto) {
  return texto.empty() || (texto.size() == 4 && std::all_of(texto.begin(), texto.end(), [](char c) {
                             return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || c == 'X' || c == '*';
                           }));
}

std::string Nombre_Visor(int visor) {
  if (visor < 16) return std::string("R") + Digito_Hex(visor);
  switch (visor) {
    case Visor_AR: return "AR";
    case Visor_DR: return "DR";
    case Visor_IR: return "IR";
    case Visor_PC: return "PC";
    default: break;
  }
  const int puerto = (visor - Visor_Entrada(0)) % Numero_Puertos;
  const std::string numero = Palabra_a_Texto(puerto).substr(2);
  return (visor < Visor_Salida(0) ? "IN " : "OUT ") + numero;
}

TInstantanea Capturar(const TEntorno& entorno) {
  TInstantanea s;
  for (int visor = 0; visor < Numero_Visores; ++visor) s.Visores[static_cast<size_t>(visor)] = entorno.Valor(visor);
  for (int bandera = 0; bandera < 4; ++bandera)
    s.Banderas[static_cast<size_t>(bandera)] = entorno.Leer_Bandera(static_cast<TBandera>(bandera));
  s.Estado_Maquina = entorno.Estado_Maquina;
  s.Opciones_Entorno = entorno.Opciones_Entorno;
  s.Memoria.resize(static_cast<size_t>(entorno.Memoria.DataSize()));
  for (int32_t i = 0; i < entorno.Memoria.DataSize(); ++i) s.Memoria[static_cast<size_t>(i)] = entorno.Memoria.ByteAt(i);
  s.Lineas_Listado = entorno.Listado.Lineas();
  s.Seleccion_Listado = entorno.Listado.Seleccion();
  s.Listado_Ordenado = entorno.Listado.Ordenado();
  s.Palabras_Escritas = entorno.Palabras_Escritas.Lista(entorno.Memoria);
  s.Puntos_Ruptura = entorno.Puntos_Ruptura.Lista();
  return s;
}

std::string Problema_Instantanea(const TInstantanea& s) {
  for (int visor = 0; visor < Numero_Visores; ++visor)
    if (!Texto_Visor_Valido(s.Visores[static_cast<size_t>(visor)]))
      return "el valor de " + Nombre_Visor(visor) + " no son cuatro dígitos hexadecimales (" +
             s.Visores[static_cast<size_t>(visor)] + ")";
  const char* const banderas[] = {"Z", "S", "C", "V"};
  for (int bandera = 0; bandera < 4; ++bandera)
    if (!Es_Bit(s.Banderas[static_cast<size_t>(bandera)]))
      return std::string("la bandera ") + banderas[bandera] + " no es 0 ni 1";
  if (auto problema = Problema_Registros(s.Estado_Maquina, s.Opciones_Entorno); !problema.empty()) return problema;
  if (s.Memoria.size() != static_cast<size_t>(Bytes_Memoria))
    return "la memoria tiene " + Cantidad(s.Memoria.size() / 2, "palabra", "palabras") + " en lugar de " +
           Agrupar_Cifras(Primera_Direccion_Monitor);
  if (s.Lineas_Listado.size() > Maximo_Lineas_Listado) return "el listado tiene demasiadas líneas";
  for (size_t i = 0; i < s.Lineas_Listado.size(); ++i)
    if (!Es_Linea_Listado(s.Lineas_Listado[i]))
      return "la línea " + std::to_string(i + 1) + " del listado no es [AAAA]: y una instrucción";
  if (s.Seleccion_Listado < -1 || s.Seleccion_Listado >= static_cast<int>(s.Lineas_Listado.size()))
    return "la línea seleccionada del listado no existe";
  if (!Direcciones_Validas(s.Palabras_Escritas, Primera_Direccion_Monitor))
    return "las palabras escritas no son direcciones crecientes de 0000 a EFFF";
  if (!Direcciones_Validas(s.Puntos_Ruptura, TPuntos_Ruptura::Numero_Direcciones))
    return "los puntos de ruptura no son direcciones crecientes de 0000 a EFFF";
  return {};
}

std::string Restaurar(TEntorno& entorno, const TInstantanea& s) {
  if (auto problema = Problema_Instantanea(s); !problema.empty()) return problema;
  // Memory first: the one step that can fail (no room for it), before
  // anything else has changed.
  entorno.Memoria.LoadFromBytes(s.Memoria.data(), s.Memoria.size());
  entorno.Pantalla().Memoria_Cambiada(-1);
  entorno.Palabras_Escritas.Vaciar();
  for (int32_t direccion : s.Palabras_Escritas) entorno.Palabras_Escritas.Marcar(direccion);
  entorno.Puntos_Ruptura.Vaciar();
  entorno.Puntos_Ruptura.Quitar_Temporal();
  for (int32_t direccion : s.Puntos_Ruptura) entorno.Puntos_Ruptura.Poner(direccion);
  // The file names no program: the next load keeps these breakpoints.
  entorno.Programa_Cargado({});
  // Stepping back never crosses into the machine that was replaced.
  entorno.Olvidar_Historial();

  const uint8_t desensamblador_antes = entorno.Opciones_Entorno.Modo_Desensamblador;
  entorno.Estado_Maquina = s.Estado_Maquina;
  entorno.Opciones_Entorno = s.Opciones_Entorno;
  for (int visor = 0; visor < Numero_Visores; ++visor) entorno.Fijar_Valor(visor, s.Visores[static_cast<size_t>(visor)]);
  for (int bandera = 0; bandera < 4; ++bandera)
    entorno.Fijar_Bandera(static_cast<TBandera>(bandera), s.Banderas[static_cast<size_t>(bandera)]);
  // Sorting is set before the lines go in, so they keep the order they were saved in.
  entorno.Listado.Fijar_Ordenado(false);
  entorno.Listado.Reemplazar_Todas(s.Lineas_Listado);
  entorno.Listado.Fijar_Ordenado(s.Listado_Ordenado);
  entorno.Listado.Seleccionar(s.Seleccion_Listado);
  Derivar_Panel(entorno.Panel, s.Estado_Maquina, desensamblador_antes, s.Opciones_Entorno.Modo_Desensamblador);
  entorno.Pantalla().Panel_Cambiado();
  return {};
}
