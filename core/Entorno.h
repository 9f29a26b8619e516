#pragma once
// The whole state of TORVIC and of its environment, and every rule that
// changes it. The screen layer shows this state and forwards what the user does.
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/Aleatorio.h"
#include "core/Efecto.h"
#include "core/Historial.h"
#include "core/Listado.h"
#include "core/Palabras_Escritas.h"
#include "core/Pantalla.h"
#include "core/Puntos_Ruptura.h"
#include "core/TextoHex.h"
#include "core/Tramos.h"
#include "core/hexeditor_buffer.h"

struct TEstado_Maquina {
  uint8_t Encendida = 0;
  uint8_t Modo_Paso_a_Paso = 1;
};

struct TOpciones_Entorno {
  uint8_t Inicio_Registros = 2;
  // 0: memory is filled with random bytes. The command-line runner may set 1
  // to fill it with zeros for repeatable runs.
  uint8_t Relleno_Memoria = 0;
  uint8_t Iniciar_Memoria_al_Encender = 1;
  uint8_t Modo_Consola = 2;
  uint32_t Intervalo_Paso = 1000;
  uint8_t Modo_Desensamblador = 0;
  int32_t Posicion_Cursor_Memoria = 0;
};

// What the panels show besides the displays: lamps, enabled keys, captions.
struct TPanel {
  bool LOn = false;
  bool LPP = false;
  bool Teclas_Habilitadas = false;  // T0..TF, BDireccion, BRegistros, BCargar, BEjecutar
  bool BContinuar_Habilitado = false;
  bool BPasoPaso_Habilitado = false;
  bool MModoPasoapaso_Habilitado = false;
  std::string Caption_MModoPasoapaso = "Desactivar modo Paso a Paso";
  std::string Caption_MApagar_TORVIC = "Encender TORVIC";
  std::string Caption_Mododesensamblador1 = "Activar Modo desensamblador";
};

// Every value is held once, as the text its displays show (and, for the
// executor, as a number beside it); twin displays are views of the same value. A display is named by one of these numbers.
constexpr int Visor_Registro(int n) { return n; }
constexpr int Visor_AR = 16;
constexpr int Visor_DR = 17;
constexpr int Visor_IR = 18;  // IR, PIR
constexpr int Visor_PC = 19;  // PC, PPC
constexpr int Numero_Puertos = 64;
constexpr int Visor_Entrada(int puerto) { return 20 + puerto; }
constexpr int Visor_Salida(int puerto) { return 20 + Numero_Puertos + puerto; }
constexpr int Visor_Teclado = Visor_Entrada(1);  // Teclado, IP1, PIN_01
constexpr int Visor_IP2 = Visor_Entrada(2);      // IP2, PIN_02
constexpr int Visor_OP1 = Visor_Salida(1);       // OP1, POP1, PO_01 (D/OP1)
constexpr int Visor_OP2 = Visor_Salida(2);       // OP2, POP2, PO_02 (C/OP2)
constexpr int Numero_Visores = 20 + 2 * Numero_Puertos;
static_assert(THistorial::Primer_Visor_Cabecera == Visor_AR && Visor_DR == Visor_AR + 1 && Visor_IR == Visor_AR + 2 &&
              Visor_PC == Visor_AR + 3 && THistorial::Visores_Cabecera == 4);
// The displays a click edits: the registers, PC (and the front panel's PPC)
// and every input port, the keypad display among them. AR, DR, IR and the
// output ports only show what the machine did.
constexpr bool Visor_Editable(int visor) {
  return (visor >= Visor_Registro(0) && visor <= Visor_Registro(15)) || visor == Visor_PC ||
         (visor >= Visor_Entrada(0) && visor < Visor_Entrada(Numero_Puertos));
}

enum TBandera { Bandera_Z = 0, Bandera_S = 1, Bandera_C = 2, Bandera_V = 3 };

constexpr int32_t Primera_Direccion_Monitor = 0xF000;
constexpr int32_t Bytes_Memoria = 2 * Primera_Direccion_Monitor;

extern const char* const Mensaje_Lectura_Ilegal;
extern const char* const Mensaje_Escritura_Ilegal;
extern const char* const Mensaje_Puerto;
extern const char* const Mensaje_Fin;
extern const char* const Mensaje_Apagada;
extern const char* const Pregunta_Desensamblador;
extern const char* const Mensaje_Area_Monitor;

// What Direccion_PC gives when PC's text is no word: no address at all,
// which no breakpoint and no run-to-line target ever matches.
constexpr int32_t Sin_Direccion = -1;

class TEntorno {
 public:
  explicit TEntorno(TPantalla* pantalla = nullptr);

  TEstado_Maquina Estado_Maquina;
  TOpciones_Entorno Opciones_Entorno;
  TPanel Panel;
  THexEditorBuffer Memoria;
  TListado Listado;
  TAleatorio Aleatorio;
  TPalabras_Escritas Palabras_Escritas{Primera_Direccion_Monitor};
  TPuntos_Ruptura Puntos_Ruptura;
  THistorial Historial;

  void Fijar_Pantalla(TPantalla* pantalla);
  TPantalla& Pantalla() { return *pantalla_; }

  // Displays.
  const std::string& Valor(int visor) const { return visores_[static_cast<size_t>(visor)]; }
  void Fijar_Valor(int visor, std::string_view texto);

  // The machine model.
  std::string_view Leer_Registro(int n) const;
  void Fijar_Registro(int n, std::string_view texto);
  void Fijar_PC(std::string_view texto);
  void Fijar_IR(std::string_view texto);
  int Leer_Bandera(TBandera bandera) const { return (banderas_ >> bandera) & 1; }
  uint8_t Banderas() const { return banderas_; }  // bit per TBandera
  void Fijar_Bandera(TBandera bandera, int valor);
  void Fijar_Z(int valor) { Fijar_Bandera(Bandera_Z, valor); }
  void Fijar_S(int valor) { Fijar_Bandera(Bandera_S, valor); }
  void Fijar_C(int valor) { Fijar_Bandera(Bandera_C, valor); }
  void Fijar_V(int valor) { Fijar_Bandera(Bandera_V, valor); }
  std::string Leer_Palabra(int32_t direccion) const;
  // A word at F000 or above is not stored: the run stops and `aviso` is
  // shown, unless it is empty (the loader's boxes beyond its limit).
  void Escribir_Palabra(int32_t direccion, std::string_view texto,
                        std::string_view aviso = Mensaje_Escritura_Ilegal);
  void Detener_Ejecucion();
  // The action in progress ends with the box: a run stops first, so the
  // timer does not meet the same fault on every tick.
  void Detener_con_Aviso(std::string_view aviso);
  // The address in PC when its text is a word, else Sin_Direccion.
  int32_t Direccion_PC() const;
  // PC holds an address below the monitor area: there is a word to run.
  bool PC_en_Programa() const {
    const int32_t pc = Direccion_PC();
    return pc != Sin_Direccion && pc < Primera_Direccion_Monitor;
  }

  // The executor: one instruction per call.
  void BEjecutarClick();
  void Avanzar_PC();
  void Llamar_Subrutina();
  // A free run's instructions on their numbers alone, at most maximo, with
  // what changed shown once at the end, as it would have been shown one by
  // one. It stops before any word where a free run's tick could stop
  // (a breakpoint, the one-time target, an address outside whole words of
  // memory) and before any instruction it leaves to the one-step path
  // (stores, ports, calls, returns, HALT, errors); it runs nothing unless the
  // run is free and every register, AR, DR, IR and PC holds a word. Returns
  // how many instructions it executed.
  int64_t Ejecutar_Lote(int64_t maximo);
  // The word the executor last ran and how it ended (its transfers' key).
  const TUltima_Instruccion& Ultima_Instruccion() const { return ultima_; }

  // Run control.
  void RelojTimer();
  void BContinuarClick();
  void BPasoPasoClick();
  // The speed dialog's choice: the free run's step interval, shown by the
  // timer when the panel changes.
  void Fijar_Velocidad(int item);

  // Power and memory.
  void Encender_Apagar();
  void Inicializar_Registros();
  void Llenar_Memoria_Aleatoria();
  void InicializarMemoria1Click();
  void MInicializar_memoria_al_Encender_TORVICClick();

  // The front-panel console.
  void Pulsacion_Teclado(char digito);
  void BDireccionClick();
  void BRegistrosClick();
  void BCargarClick();
  void Conmutar_Bandera(TBandera bandera);  // a click on one of its lamps

  // Register and port editing: the edit dialog carries the value in and out
  // through Valor_Editado; a cancelled edit writes back the old value.
  // Input port 01 (PIN_01, Teclado, IP1) is edited as Visor_Teclado.
  std::string Valor_Editado;
  void Modifica_Registro(int visor);  // a display that is not Visor_Editable stays as it is
  void Modifica_Puerto_IP(int puerto) { Modifica_Registro(Visor_Entrada(puerto)); }

  // Disassembler mode and memory editing.
  void Mododesensamblador1Click();
  void Actualizar_Linea_Listado();
  void Al_Pulsar_Memoria(int32_t posicion_cursor);
  void Editar_Memoria();

  // Debugging: breakpoints, run to a line, stepping back, counting.
  // A free run stops here before a breakpoint's word: true when it stopped.
  bool Parar_en_Punto_Ruptura() { return !Puntos_Ruptura.Ninguno() && Parar_si_Punto_Ruptura_en_PC(); }
  // Undoes the newest executed instruction and leaves TORVIC stopped in step
  // mode; false (saying so) when there is nothing to undo.
  bool Retroceder();
  bool Puede_Retroceder() const {
    return Estado_Maquina.Encendida == 1 && (!Historial.Vacio() || Historial.En_Pausa());
  }
  // A change the user made: stepping back never crosses it.
  void Olvidar_Historial();
  // The listing line's breakpoint; false when the line has no address.
  bool Conmutar_Punto_Ruptura_Linea(int linea);
  // Where "run to a line" goes: the address of the line's word (the
  // listing's or a source's), or nothing (saying why) when TORVIC is off or
  // the line has no address (-1).
  std::optional<int32_t> Destino(int32_t direccion);
  // A program was loaded from the file at `ruta`: the breakpoints belong to
  // the program, so a different file than the last one loaded takes them
  // away (saying so). An empty path is a program of unknown origin (a state
  // file), which takes none away and makes the next load keep them too.
  void Programa_Cargado(std::string_view ruta);
  // Instructions executed since BEjecutar last loaded PC from the keypad.
  int64_t Contador_Instrucciones() const { return contador_; }
  // What the newest instruction changed, or what the last step back restored.
  TEfecto_Instruccion Efecto_Ultima_Instruccion() const;
  // The short text of the status bar's run panel; empty when there is none.
  const std::string& Estado_Ejecucion() const { return estado_ejecucion_; }
  void Fijar_Estado_Ejecucion(std::string texto);

 private:
  void Notificar_Panel() { pantalla_->Panel_Cambiado(); }
  void Ejecutar_Instruccion(int32_t palabra);
  bool Condicion(int condicion) const;
  void Actualizar_AR_DR();
  void Paso_Consola();
  // Every executed instruction passes here; modo_consola is the console mode
  // before the key that runs it, which stepping back restores.
  void Ejecutar_Paso(uint8_t modo_consola);
  // The value or word is about to change: recorded while an instruction
  // executes (the header already holds AR, DR, IR and PC), else the history
  // is forgotten.
  // Inline only the two common cases that record nothing: a header display
  // during an instruction, and any display while there is no history.
  void Anotar_Visor(int visor) {
    if (Historial.En_Instruccion() ? Historial.Grabando() && !THistorial::En_Cabecera(visor)
                                   : deshaciendo_ || !Historial.Vacio() || Historial.En_Pausa())
      Anotar_Cambio_Visor(visor);
  }
  void Anotar_Cambio_Visor(int visor);
  void Cambio_Externo() {
    if (!Historial.Vacio() || Historial.En_Pausa()) Olvidar_Historial();
  }
  void Anotar_Escritura(int32_t direccion);
  // The executor works on words as numbers; a display shows a word as its
  // four upper-case digits.
  void Fijar_Palabra(int visor, int32_t palabra);  // palabra: 0..FFFF
  // A computed value: a non-negative one shows its low four digits, a
  // negative one the text Palabra_a_Texto gives it.
  void Fijar_Numero(int visor, int32_t valor);
  void Fijar_PC_Numero(int32_t valor);
  // The text of one display put in another (AR from PC, DR from IR).
  void Copiar_Visor(int destino, int origen);
  // The word stored at an address read into a display, as Leer_Palabra reads
  // it; returns its value, or -1 when it is not a whole word.
  int32_t Fijar_Visor_Memoria(int visor, int32_t direccion);
  // The value of the word Leer_Palabra reads, or -1 when it reads no whole word.
  int32_t Palabra_Memoria(int32_t direccion) const;
  // A word at the end of memory that Ctrl+Delete shortened, or no word.
  TTexto_Corto Leer_Palabra_Incompleta(int32_t direccion) const;
  // A display's value when its text is a word, else what Texto_a_Palabra
  // makes of its first four characters.
  int32_t Numero_Visor(int visor) const {
    const int32_t palabra = palabras_[static_cast<size_t>(visor)];
    return palabra >= 0 ? palabra : Texto_a_Palabra(std::string_view(Valor(visor)).substr(0, 4));
  }
  int32_t Numero_Registro(int n) const {
    return n < 0 || n > 15 ? Texto_a_Palabra({}) : Numero_Visor(Visor_Registro(n));
  }
  void Deshacer_Cambio(const TCambio& cambio);
  template <bool Grabar>
  int64_t Ejecutar_Lote(int64_t maximo);
  // A word computed by a batch shown as its display's text; recorded by no one.
  void Mostrar_Palabra(int visor, int32_t palabra);
  bool Parar_si_Punto_Ruptura_en_PC();

  TPantalla* pantalla_;
  std::array<std::string, Numero_Visores> visores_;
  // Each display's value while its text is four upper-case hex digits (the
  // form every computed word takes), else -1: the executor reads registers
  // and PC as numbers, and compares a new word with the old one as numbers.
  std::array<int32_t, Numero_Visores> palabras_;
  uint8_t banderas_ = 0;
  int64_t contador_ = 0;
  bool deshaciendo_ = false;
  TEfecto_Instruccion efecto_deshecho_;  // what the last step back restored
  std::string estado_ejecucion_;
  TUltima_Instruccion ultima_;
  std::string programa_;  // the file the last program was loaded from
};

// Shifts a digit into a four-digit text from the right (the keypad and the
// edit dialog): "12AB" and '5' give "2AB5".
std::string Desplazar_Digito(std::string_view texto, char digito);
// The edit dialog's key rule: a hex digit of either case is shifted in upper
// case; any other key leaves the text as it was.
std::string Pulsacion(std::string_view editor, char tecla);

// The step intervals of the speed dialog, by item.
constexpr int Numero_Velocidades = 8;
extern const char* const Textos_Velocidad[Numero_Velocidades];
uint32_t Intervalo_de_Item(int item);    // 1000 outside 0..7
int Item_de_Intervalo(uint32_t intervalo);  // item 3 for an interval not listed

// The operations every executed instruction goes through several times,
// defined here so that the executor's compiler inlines them.

inline void TEntorno::Fijar_Valor(int visor, std::string_view texto) {
  std::string& valor = visores_[static_cast<size_t>(visor)];
  // Texts are a few characters: compare and copy in place rather than through
  // the library's memcmp and memmove, which dominate the free run otherwise.
  const int32_t palabra = Palabra_Mayuscula(texto);
  if (palabra >= 0) return Fijar_Palabra(visor, palabra);
  if (valor.size() == texto.size()) {
    size_t i = 0;
    while (i < texto.size() && valor[i] == texto[i]) ++i;
    if (i == texto.size()) return;
    Anotar_Visor(visor);
    for (; i < texto.size(); ++i) valor[i] = texto[i];
  } else {
    Anotar_Visor(visor);
    valor.assign(texto);
  }
  palabras_[static_cast<size_t>(visor)] = -1;
  pantalla_->Visor_Cambiado(visor);
}

inline void TEntorno::Fijar_Palabra(int visor, int32_t palabra) {
  int32_t& actual = palabras_[static_cast<size_t>(visor)];
  if (actual == palabra) return;
  Anotar_Visor(visor);
  Mostrar_Palabra(visor, palabra);
}

inline void TEntorno::Mostrar_Palabra(int visor, int32_t palabra) {
  std::string& valor = visores_[static_cast<size_t>(visor)];
  const TTexto_Corto texto = Palabra_a_Texto_Corto(palabra);
  if (valor.size() == 4) std::memcpy(valor.data(), texto.Datos(), 4);
  else valor.assign(texto);
  palabras_[static_cast<size_t>(visor)] = palabra;
  pantalla_->Visor_Cambiado(visor);
}

inline void TEntorno::Fijar_Numero(int visor, int32_t valor) {
  if (valor >= 0) Fijar_Palabra(visor, valor & 0xFFFF);
  else Fijar_Valor(visor, Palabra_a_Texto_Corto(valor));
}

inline void TEntorno::Copiar_Visor(int destino, int origen) {
  const int32_t palabra = palabras_[static_cast<size_t>(origen)];
  if (palabra >= 0) Fijar_Palabra(destino, palabra);
  else Fijar_Valor(destino, Valor(origen));
}

inline int32_t TEntorno::Palabra_Memoria(int32_t direccion) const {
  const int32_t byte = 2 * direccion;
  if (direccion < 0 || direccion >= Primera_Direccion_Monitor || byte + 2 > Memoria.DataSize()) return -1;
  const int32_t palabra = Memoria.ByteAt(byte) << 8 | Memoria.ByteAt(byte + 1);
  // With swapped nibbles the editor shows each byte's digits the other way
  // round, and the machine reads what the editor shows.
  return Memoria.SwapNibbles ? (palabra & 0x0F0F) << 4 | (palabra >> 4 & 0x0F0F) : palabra;
}

inline std::string TEntorno::Leer_Palabra(int32_t direccion) const {
  const int32_t palabra = Palabra_Memoria(direccion);
  return (palabra >= 0 ? Palabra_a_Texto_Corto(palabra) : Leer_Palabra_Incompleta(direccion)).Texto();
}

inline int32_t TEntorno::Fijar_Visor_Memoria(int visor, int32_t direccion) {
  const int32_t palabra = Palabra_Memoria(direccion);
  if (palabra >= 0) Fijar_Palabra(visor, palabra);
  else Fijar_Valor(visor, Leer_Palabra_Incompleta(direccion));
  return palabra;
}

inline int32_t TEntorno::Direccion_PC() const {
  const int32_t palabra = palabras_[Visor_PC];
  if (palabra >= 0) return palabra;
  const std::string& pc = Valor(Visor_PC);
  return Es_Palabra(pc) ? Texto_a_Palabra(pc) : Sin_Direccion;
}

inline std::string_view TEntorno::Leer_Registro(int n) const {
  if (n < 0 || n > 15) return {};
  return std::string_view(Valor(Visor_Registro(n))).substr(0, 4);
}

inline void TEntorno::Fijar_Registro(int n, std::string_view texto) {
  if (n < 0 || n > 15) return;
  Fijar_Valor(Visor_Registro(n), texto.substr(0, 4));
}

inline void TEntorno::Fijar_PC(std::string_view texto) {
  const int32_t palabra = Palabra_Mayuscula(texto);
  if (palabra >= 0) return Fijar_PC_Numero(palabra);
  Fijar_Valor(Visor_PC, texto);
  Listado.Seleccionar_Direccion(texto);
}

inline void TEntorno::Fijar_PC_Numero(int32_t valor) {
  if (valor < 0) return Fijar_PC(Palabra_a_Texto_Corto(valor));
  Fijar_Palabra(Visor_PC, valor & 0xFFFF);
  Listado.Seleccionar_Palabra(valor & 0xFFFF);
}

inline void TEntorno::Fijar_IR(std::string_view texto) { Fijar_Valor(Visor_IR, texto); }

inline void TEntorno::Fijar_Bandera(TBandera bandera, int valor) {
  const uint8_t antes = banderas_;
  const auto bit = static_cast<uint8_t>(1u << bandera);
  banderas_ = static_cast<uint8_t>(valor ? (banderas_ | bit) : (banderas_ & ~bit));
  if (banderas_ == antes) return;
  // While an instruction executes, the header holds the flags.
  if (deshaciendo_) efecto_deshecho_.Banderas = static_cast<uint8_t>(efecto_deshecho_.Banderas | bit);
  else if (!Historial.En_Instruccion()) Cambio_Externo();
  pantalla_->Banderas_Cambiadas();
}
