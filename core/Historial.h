#pragma once
// What each executed instruction changed, newest last, so that it can be
// undone exactly: a byte ring of a few bytes a change. The newest records are
// kept: at most one million instructions and 32 MB; older ones are dropped.
//
// Each instruction is one block: a fixed header, written in one go when it
// begins, holding what nearly every instruction changes as it was before it
// (console mode, AR, DR, IR, PC, the flags, the listing's selection), then
// the other changes (registers, ports, memory words). A change is written
// value first and kind last, so that undoing reads the block backwards from
// its end; the block's length in the header lets the oldest block be dropped
// without reading it.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Efecto.h"

// One undone change, as the replay needs it.
struct TCambio {
  enum TTipo : uint8_t { Visor, Banderas, Palabra, Byte_Alto, Seleccion, Contador, Modo_Consola };
  TCambio() = default;
  TCambio(TTipo tipo, int32_t numero, std::string_view texto = {}) : Tipo(tipo), Numero(numero), Texto(texto) {}
  TTipo Tipo = Visor;
  int32_t Numero = 0;      // display, the four flags' bits, word address, listing line, console mode
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

  // The displays the header holds, in this order: AR, DR, IR, PC.
  static constexpr int Primer_Visor_Cabecera = 16;
  static constexpr int Visores_Cabecera = 4;
  static constexpr bool En_Cabecera(int visor) {
    return visor >= Primer_Visor_Cabecera && visor < Primer_Visor_Cabecera + Visores_Cabecera;
  }

  // The executor brackets each instruction with the state that the header
  // keeps (palabras and textos: the header's displays, in order, as in
  // TEntorno); the other changes go in between, and only while Grabando().
  // Recording is inline: it runs at every instruction of a free run.
  void Comenzar(uint8_t modo_consola, uint8_t banderas, int32_t seleccion, const int32_t* palabras,
                const std::string* textos) {
    if (!activo_) return;
    en_instruccion_ = true;
    hay_deshecho_ = false;
    if (completar_) return;
    const TCabecera cabecera = Componer_Cabecera<false>(modo_consola, banderas, seleccion, palabras);
    Grabar_Cabecera(cabecera);
    // A display that is not a word keeps its text in a change of its own.
    if (cabecera.Textos_Aparte() != 0) Anotar_Textos(cabecera.Textos_Aparte(), textos);
  }
  void Terminar() {
    en_instruccion_ = false;
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

  // A batch of the executor records through this: each instruction is one
  // block of its header (all four displays words) and at most one register's
  // change, written together as the instruction ends, with the ring's
  // position in locals (through the members, every byte stored might alias
  // them, and they were read again after each). A block that does not fit as
  // it is (no ring yet, no room, the ring's end) is recorded as single steps
  // record it. Only while recording and not paused.
  class TLote;

  // Between Comenzar and Terminar, recorded or not: a change then is the
  // instruction's, never the user's.
  bool En_Instruccion() const { return en_instruccion_; }

  // The full-speed run records nothing while it goes: it keeps what it needs
  // to execute its instructions again, recording them, when completar is
  // called. Completar runs it once (at the run's stop, or when the history is
  // needed before); recording then goes on as before.
  void Pausar(std::function<void()> completar) { completar_ = std::move(completar); }
  bool En_Pausa() const { return static_cast<bool>(completar_); }
  void Completar() {
    if (!completar_) return;
    const std::function<void()> completar = std::exchange(completar_, nullptr);
    completar();
  }
  // Counts Vaciar: a change in it tells a paused run that what it kept to
  // execute again is no longer wanted.
  uint64_t Vaciados() const { return vaciados_; }

  // palabra: the value while the text is four upper-case hex digits, else -1.
  void Anotar_Visor(int visor, std::string_view texto_anterior, int32_t palabra) {
    if (palabra >= 0) return Anotar(Cambio_Palabra(visor, palabra));
    Anotar_Texto(visor, texto_anterior);
  }
  void Anotar_Palabra(int32_t direccion, uint8_t alto, uint8_t bajo) {
    Anotar<5>({static_cast<uint8_t>(direccion >> 8), static_cast<uint8_t>(direccion), alto, bajo, Tipo_Palabra});
  }
  void Anotar_Byte_Alto(int32_t direccion, uint8_t alto) {
    Anotar<4>({static_cast<uint8_t>(direccion >> 8), static_cast<uint8_t>(direccion), alto, Tipo_Byte_Alto});
  }
  void Anotar_Contador(int64_t contador);

  // Removes the newest instruction, handing its changes newest first, the
  // console mode before it last. False when empty.
  bool Deshacer(const std::function<void(const TCambio&)>& aplicar);

  // What the newest instruction changed, given what the displays show now
  // and the flags now: the header's values that differ, and every other
  // change.
  TEfecto_Instruccion Efecto_Ultimo(const std::function<std::string_view(int visor)>& valor,
                                    uint8_t banderas) const;
  // True from an undo until the next instruction or Vaciar: the newest
  // instruction is then the one undone, no longer in the history.
  bool Hay_Deshecho() const { return hay_deshecho_; }

 private:
  // A header's bytes, composed in registers: [0, 8), [8, 16) and [16, 18),
  // lowest first. [1] and [2], the length, are written by Terminar.
  struct TCabecera {
    uint64_t Primeros, Segundos;
    uint16_t Ultimos;
    unsigned Textos_Aparte() const { return Ultimos & 0xFF; }
  };
  // Solo_Palabras: the caller knows that all four displays hold words (a
  // batch of the executor), which spares the check for texts.
  template <bool Solo_Palabras>
  static TCabecera Componer_Cabecera(uint8_t modo_consola, uint8_t banderas, int32_t seleccion,
                                     const int32_t* palabras) {
    const unsigned textos_aparte = Solo_Palabras ? 0
                                                 : unsigned{palabras[0] < 0} | unsigned{palabras[1] < 0} << 1 |
                                                       unsigned{palabras[2] < 0} << 2 | unsigned{palabras[3] < 0} << 3;
    const uint64_t ar = Alto_Primero(palabras[0]), dr = Alto_Primero(palabras[1]);
    const uint64_t ir = Alto_Primero(palabras[2]), pc = Alto_Primero(palabras[3]);
    return {modo_consola | ar << 24 | dr << 40 | ir << 56,
            ir >> 8 | pc << 8 | uint64_t{static_cast<uint32_t>(seleccion)} << 24 | uint64_t{banderas} << 56,
            static_cast<uint16_t>(textos_aparte | unsigned{Tipo_Marca} << 8)};
  }
  // Stored in one go where it does not wrap: a header built in memory byte
  // by byte and copied would be read back before its bytes were stored.
  static void Poner_Cabecera(uint8_t* destino, const TCabecera& cabecera) {
    Poner(destino, cabecera.Primeros, 8);
    Poner(destino + 8, cabecera.Segundos, 8);
    Poner(destino + 16, cabecera.Ultimos, 2);
  }
  void Grabar_Cabecera(const TCabecera& cabecera) {
    if (instrucciones_ == Maximo_Instrucciones) Soltar_Mas_Antigua();
    grabando_ = true;
    roto_ = false;
    inicio_bloque_ = cabeza_;
    if (!Sitio(Bytes_Cabecera)) return;
    const size_t indice = static_cast<size_t>(cabeza_) & mascara_;
    if (indice + Bytes_Cabecera <= anillo_.size()) {
      Poner_Cabecera(&anillo_[indice], cabecera);
      cabeza_ += Bytes_Cabecera;
    } else {
      for (uint64_t valor : {cabecera.Primeros, cabecera.Segundos})
        for (int i = 0; i < 8; ++i) Escribir(static_cast<uint8_t>(valor >> (8 * i)));
      for (int i = 0; i < 2; ++i) Escribir(static_cast<uint8_t>(cabecera.Ultimos >> (8 * i)));
    }
  }
  // A display holding a word, as its change: the word high byte first, then
  // the display as the kind.
  static std::array<uint8_t, 3> Cambio_Palabra(int visor, int32_t palabra) {
    return {static_cast<uint8_t>(palabra >> 8), static_cast<uint8_t>(palabra), static_cast<uint8_t>(visor)};
  }
  // Kinds: a display number (0..147) is a display holding four upper-case
  // hex digits, stored as two bytes; the rest follow.
  static constexpr uint8_t Tipo_Texto = 148;
  static constexpr uint8_t Tipo_Palabra = 149;
  static constexpr uint8_t Tipo_Byte_Alto = 150;
  static constexpr uint8_t Tipo_Contador = 151;
  static constexpr uint8_t Tipo_Marca = 152;
  // Console mode, length low, length high; AR, DR, IR and PC as words (two
  // bytes each, high first); the selection (four bytes); the flags; one bit
  // per display whose text is not a word and follows as a change of its own;
  // kind.
  static constexpr size_t Bytes_Cabecera = 3 + 2 * Visores_Cabecera + 7;

  // A word's two bytes, high first, as the low half of a number.
  static uint64_t Alto_Primero(int32_t palabra) {
    return __builtin_bswap16(static_cast<uint16_t>(palabra));
  }
  // The low n bytes of a value, lowest first (one store where the compiler can).
  static void Poner(uint8_t* destino, uint64_t valor, size_t n) {
    if constexpr (std::endian::native == std::endian::little) std::memcpy(destino, &valor, n);
    else for (size_t i = 0; i < n; ++i) destino[i] = static_cast<uint8_t>(valor >> (8 * i));
  }
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
  void Anotar_Textos(unsigned textos_aparte, const std::string* textos);
  // Room for n more bytes of the block in progress: grows the ring, then
  // drops the oldest blocks. False when the block cannot be kept.
  bool Sitio(size_t n) { return cabeza_ + n <= lleno_ || Hacer_Sitio(n); }
  bool Hacer_Sitio(size_t n);
  // Inline: once the history is full, every instruction drops one.
  void Soltar_Mas_Antigua() {
    cola_ += Longitud_Bloque(anillo_.data(), mascara_, cola_);
    lleno_ = cola_ + anillo_.size();
    --instrucciones_;
  }
  // The length of the block that begins at `inicio`, from its header.
  static uint64_t Longitud_Bloque(const uint8_t* datos, size_t mascara, uint64_t inicio) {
    return datos[static_cast<size_t>(inicio + 1) & mascara] | uint64_t{datos[static_cast<size_t>(inicio + 2) & mascara]} << 8;
  }
  // The four hex digits of the word stored at posicion (high byte first).
  std::string_view Texto_Palabra(uint64_t posicion) const;
  // Reads the block that ends at `fin` backwards, calling ver for each
  // change; returns where the block begins.
  uint64_t Recorrer(uint64_t fin, const std::function<void(const TCambio&)>& ver) const;

  bool activo_ = true;
  bool en_instruccion_ = false;
  bool grabando_ = false;
  std::function<void()> completar_;
  uint64_t vaciados_ = 0;
  bool roto_ = false;  // the block in progress could not be kept whole
  // Grown without zeroing: every byte is written before it is read, and
  // zeroing tens of megabytes would cost more than recording into them.
  template <class T>
  struct TSin_Ceros : std::allocator<T> {
    TSin_Ceros() = default;
    template <class U>
    TSin_Ceros(const TSin_Ceros<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
  };
  using TAnillo = std::vector<uint8_t, TSin_Ceros<uint8_t>>;
  TAnillo anillo_;
  size_t mascara_ = 0;
  // Positions count bytes ever written; the ring index is position & mascara_.
  uint64_t cola_ = 0;
  uint64_t lleno_ = 0;  // cola_ + the ring's size: where writing would reach the oldest byte
  uint64_t cabeza_ = 0;
  uint64_t inicio_bloque_ = 0;
  size_t instrucciones_ = 0;
  bool hay_deshecho_ = false;
  mutable std::string texto_;
};

class THistorial::TLote {
 public:
  explicit TLote(THistorial& historial) : h_(&historial) { Cargar(); }
  void Comenzar(uint8_t modo_consola, uint8_t banderas, int32_t seleccion,
                const std::array<int32_t, Visores_Cabecera>& palabras) {
    cabecera_ = Componer_Cabecera<true>(modo_consola, banderas, seleccion, palabras.data());
    hay_cambio_ = false;
  }
  // A register the instruction changed from this word (one at most).
  void Anotar_Visor(int visor, int32_t palabra) {
    cambio_ = Cambio_Palabra(visor, palabra);
    hay_cambio_ = true;
  }
  void Terminar() {
    // Once the history is full, every instruction drops one.
    if (instrucciones_ == Maximo_Instrucciones) {
      cola_ += Longitud_Bloque(datos_, mascara_, cola_);
      lleno_ = cola_ + mascara_ + 1;
      --instrucciones_;
    }
    const size_t longitud = Bytes_Cabecera + (hay_cambio_ ? cambio_.size() : 0);
    const size_t indice = static_cast<size_t>(cabeza_) & mascara_;
    if (cabeza_ + longitud > lleno_ || indice + longitud > mascara_ + 1) {
      *this = Terminar_Aparte(*this);
      return;
    }
    TCabecera cabecera = cabecera_;
    cabecera.Primeros |= uint64_t{longitud} << 8;
    Poner_Cabecera(datos_ + indice, cabecera);
    if (hay_cambio_) std::memcpy(datos_ + indice + Bytes_Cabecera, cambio_.data(), cambio_.size());
    cabeza_ += longitud;
    ++instrucciones_;
  }
  // After the batch's last instruction: the history takes its position
  // back and stays inside that instruction, recording nothing, while the
  // batch shows its displays; THistorial::Terminar ends it.
  void Cerrar() {
    Devolver();
    h_->en_instruccion_ = true;
    h_->grabando_ = false;
    h_->hay_deshecho_ = false;
  }

 private:
  void Cargar() {
    datos_ = h_->anillo_.data();
    mascara_ = h_->mascara_;
    cola_ = h_->cola_;
    lleno_ = h_->lleno_;
    cabeza_ = h_->cabeza_;
    instrucciones_ = h_->instrucciones_;
  }
  void Devolver() {
    h_->cola_ = cola_;
    h_->lleno_ = lleno_;
    h_->cabeza_ = cabeza_;
    h_->instrucciones_ = instrucciones_;
  }
  // Out of line, and on a copy: the batch's loop keeps only the common case,
  // and this object's fields, whose address never leaves it, in registers.
  static TLote Terminar_Aparte(TLote lote);

  THistorial* h_;
  uint8_t* datos_ = nullptr;
  size_t mascara_ = 0;
  uint64_t cola_ = 0;
  uint64_t lleno_ = 0;
  uint64_t cabeza_ = 0;
  size_t instrucciones_ = 0;
  TCabecera cabecera_{};
  std::array<uint8_t, 3> cambio_{};
  bool hay_cambio_ = false;
};
