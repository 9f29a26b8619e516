#pragma once
// What each executed instruction changed, newest last, so that it can be
// undone exactly: a byte ring of a few bytes a change. The newest records are
// kept: at most one million instructions and 32 MB; older ones are dropped.
//
// Each instruction is one block: a mark (console mode before it, block
// length), then its changes. A change is written value first and kind last,
// so that undoing reads the block backwards from its end; the length in the
// mark lets the oldest block be dropped without reading it.
#include <array>
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

  // The executor brackets each instruction; the changes go in between,
  // and only while Grabando().
  // Recording is inline and writes bytes into the ring reserved beforehand:
  // it runs at every instruction of a free run.
  void Comenzar(uint8_t modo_consola) {
    if (!activo_) return;
    if (instrucciones_ == Maximo_Instrucciones) Soltar_Mas_Antigua();
    hay_deshecho_ = false;
    grabando_ = true;
    roto_ = false;
    inicio_bloque_ = cabeza_;
    Anotar<Bytes_Marca>({modo_consola, 0, 0, Tipo_Marca});  // the length is written by Terminar
  }
  void Terminar() {
    if (!grabando_) return;
    grabando_ = false;
    const uint64_t longitud = cabeza_ - inicio_bloque_;
    // An instruction that cannot be undone: neither can any before it.
    if (roto_ || longitud > 0xFFFF) return Vaciar();
    anillo_[static_cast<size_t>(inicio_bloque_ + 1) & mascara_] = static_cast<uint8_t>(longitud);
    anillo_[static_cast<size_t>(inicio_bloque_ + 2) & mascara_] = static_cast<uint8_t>(longitud >> 8);
    ++instrucciones_;
  }
  bool Grabando() const { return grabando_; }

  void Anotar_Visor(int visor, std::string_view texto_anterior) {
    if (texto_anterior.size() == 4) {
      const int alto = Nibble(texto_anterior[0]) << 4 | Nibble(texto_anterior[1]);
      const int bajo = Nibble(texto_anterior[2]) << 4 | Nibble(texto_anterior[3]);
      if ((alto | bajo) >= 0)
        return Anotar<3>({static_cast<uint8_t>(alto), static_cast<uint8_t>(bajo), static_cast<uint8_t>(visor)});
    }
    Anotar_Texto(visor, texto_anterior);
  }
  void Anotar_Bandera(int bandera) { Anotar<1>({static_cast<uint8_t>(Tipo_Bandera + bandera)}); }
  void Anotar_Palabra(int32_t direccion, uint8_t alto, uint8_t bajo) {
    Anotar<5>({static_cast<uint8_t>(direccion >> 8), static_cast<uint8_t>(direccion), alto, bajo, Tipo_Palabra});
  }
  void Anotar_Byte_Alto(int32_t direccion, uint8_t alto) {
    Anotar<4>({static_cast<uint8_t>(direccion >> 8), static_cast<uint8_t>(direccion), alto, Tipo_Byte_Alto});
  }
  void Anotar_Seleccion(int linea) {
    const auto v = static_cast<uint32_t>(linea);
    Anotar<5>({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
               static_cast<uint8_t>(v >> 24), Tipo_Seleccion});
  }
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
  // Through locals: a byte store may alias any member, which would be read
  // again after each byte.
  template <size_t N>
  void Anotar(const std::array<uint8_t, N>& bytes) {
    if (!Sitio(N)) return;
    uint8_t* const datos = anillo_.data();
    const size_t mascara = mascara_;
    uint64_t cabeza = cabeza_;
    for (uint8_t byte : bytes) datos[static_cast<size_t>(cabeza++) & mascara] = byte;
    cabeza_ = cabeza;
  }
  void Anotar_Texto(int visor, std::string_view texto);
  // An upper-case hex digit's value, else a negative number.
  static int Nibble(char c) { return Nibbles[static_cast<unsigned char>(c)]; }
  static constexpr std::array<int16_t, 256> Nibbles = [] {
    std::array<int16_t, 256> tabla{};
    tabla.fill(-0x100);
    for (int i = 0; i < 16; ++i) tabla[static_cast<size_t>(i < 10 ? '0' + i : 'A' + i - 10)] = static_cast<int16_t>(i);
    return tabla;
  }();
  // Room for n more bytes of the block in progress: grows the ring, then
  // drops the oldest blocks. False when the block cannot be kept.
  bool Sitio(size_t n) { return cabeza_ + n <= lleno_ || Hacer_Sitio(n); }
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
  uint64_t lleno_ = 0;  // cola_ + the ring's size: where writing would reach the oldest byte
  uint64_t cabeza_ = 0;
  uint64_t inicio_bloque_ = 0;
  size_t instrucciones_ = 0;
  // The block that the last undo removed, still in the ring past cabeza_.
  bool hay_deshecho_ = false;
  uint64_t fin_deshecho_ = 0;
  mutable std::string texto_;
};
