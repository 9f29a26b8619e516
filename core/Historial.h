#pragma once
// What each executed instruction changed, newest last, so that it can be
// undone exactly: a byte ring of a few bytes a change. The newest records are
// kept: at most one million instructions and 32 MB; older ones are dropped.
//
// Each instruction is one block: a mark (console mode before it, block
// length), then its changes. A change is written value first and kind last,
// so that undoing reads the block backwards from its end; the length in the
// mark lets the oldest block be dropped without reading it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Efecto.h"

// One undone change, as the replay needs it.
struct TCambio {
  enum TTipo : uint8_t { Visor, Bandera, Palabra, Byte_Alto, Seleccion, Contador, Modo_Consola };
  TCambio() = default;
  TCambio(TTipo tipo, int32_t numero, std::string_view texto = {}) : Tipo(tipo), Numero(numero), Texto(texto) {}
  TTipo Tipo = Visor;
  int32_t Numero = 0;      // display, flag, word address, listing line, console mode
  std::string_view Texto;  // Visor: the old text
  uint8_t Bytes[2] = {0, 0};  // Palabra, Byte_Alto: the old bytes
  int64_t Contador_Anterior = 0;  // Contador: the instruction counter before the reset
};

class THistorial {
 public:
  static constexpr size_t Maximo_Instrucciones = 1'000'000;
  static constexpr size_t Maximo_Bytes = size_t{32} << 20;

  // A history switched off records nothing (the command-line runner without
  // --back, and the benchmark's run without history).
  void Fijar_Activo(bool activo);
  bool Activo() const { return activo_; }

  bool Vacio() const { return instrucciones_ == 0; }
  size_t Instrucciones() const { return instrucciones_; }
  size_t Bytes_Usados() const { return static_cast<size_t>(cabeza_ - cola_); }
  size_t Bytes_Reservados() const { return anillo_.capacity(); }
  void Vaciar();

  // The executor brackets each instruction; the changes go in between.
  void Comenzar(uint8_t modo_consola);
  void Terminar();
  bool Grabando() const { return grabando_; }

  void Anotar_Visor(int visor, std::string_view texto_anterior);
  void Anotar_Bandera(int bandera) { Escribir_Tipo(static_cast<uint8_t>(Tipo_Bandera + bandera)); }
  void Anotar_Palabra(int32_t direccion, uint8_t alto, uint8_t bajo);
  void Anotar_Byte_Alto(int32_t direccion, uint8_t alto);
  void Anotar_Seleccion(int linea);
  void Anotar_Contador(int64_t contador);

  // Removes the newest instruction, handing its changes newest first, the
  // console mode before it last. False when empty.
  bool Deshacer(const std::function<void(const TCambio&)>& aplicar);

  // What the newest instruction changed, or what the last undo restored when
  // nothing was recorded since.
  TEfecto_Instruccion Efecto_Ultimo() const;

 private:
  // Kinds: a display number (0..147) is a display holding four upper-case
  // hex digits, stored as two bytes; the rest follow.
  static constexpr uint8_t Tipo_Bandera = 148;  // .. 151, one per flag
  static constexpr uint8_t Tipo_Texto = 152;
  static constexpr uint8_t Tipo_Palabra = 153;
  static constexpr uint8_t Tipo_Byte_Alto = 154;
  static constexpr uint8_t Tipo_Seleccion = 155;
  static constexpr uint8_t Tipo_Contador = 156;
  static constexpr uint8_t Tipo_Marca = 157;
  static constexpr size_t Bytes_Marca = 4;  // console mode, length low, length high, kind

  uint8_t Leer(uint64_t posicion) const { return anillo_[static_cast<size_t>(posicion) & mascara_]; }
  void Escribir(uint8_t byte) { anillo_[static_cast<size_t>(cabeza_++) & mascara_] = byte; }
  void Escribir_Tipo(uint8_t tipo) {
    if (Sitio(1)) Escribir(tipo);
  }
  // Room for n more bytes of the block in progress: grows the ring, then
  // drops the oldest blocks. False when the block cannot be kept.
  bool Sitio(size_t n) {
    return grabando_ && (cabeza_ - cola_ + n <= anillo_.size() || Hacer_Sitio(n));
  }
  bool Hacer_Sitio(size_t n);
  void Soltar_Mas_Antigua();
  // Reads the block that ends at `fin` backwards, calling ver for each
  // change; returns where the block begins.
  uint64_t Recorrer(uint64_t fin, const std::function<void(const TCambio&)>& ver) const;

  bool activo_ = true;
  bool grabando_ = false;
  bool roto_ = false;  // the block in progress could not be kept whole
  std::vector<uint8_t> anillo_;
  size_t mascara_ = 0;
  // Positions count bytes ever written; the ring index is position & mascara_.
  uint64_t cola_ = 0;
  uint64_t cabeza_ = 0;
  uint64_t inicio_bloque_ = 0;
  size_t instrucciones_ = 0;
  // The block that the last undo removed, still in the ring past cabeza_.
  bool hay_deshecho_ = false;
  uint64_t fin_deshecho_ = 0;
  mutable std::string texto_;
};
