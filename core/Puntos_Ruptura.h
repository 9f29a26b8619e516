#pragma once
// The user's breakpoints: word addresses 0000..EFFF where a free run stops
// before executing the word, plus the one-time breakpoint of "run to a line",
// which any stop removes. They survive power, loads and memory fills.
#include <bitset>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class TPuntos_Ruptura {
 public:
  static constexpr int32_t Numero_Direcciones = 0xF000;

  // Addresses outside 0000..EFFF are ignored.
  void Poner(int32_t direccion);
  void Quitar(int32_t direccion);
  void Conmutar(int32_t direccion);
  void Vaciar() {
    puntos_.reset();
    cantidad_ = 0;
  }
  bool Contiene(int32_t direccion) const {
    return Valida(direccion) && puntos_.test(static_cast<size_t>(direccion));
  }
  std::vector<int32_t> Lista() const;  // sorted
  bool Vacio() const { return cantidad_ == 0; }
  int32_t Cantidad() const { return cantidad_; }

  // "Añadir" of the breakpoint dialog: four hex digits of either case at
  // 0000..EFFF. Returns the message that refuses anything else, or nullptr.
  const char* Poner_Texto(std::string_view texto);

  // The one-time breakpoint, when there is one.
  void Poner_Temporal(int32_t direccion) {
    temporal_ = Valida(direccion) ? std::optional<int32_t>(direccion) : std::nullopt;
  }
  void Quitar_Temporal() { temporal_.reset(); }
  std::optional<int32_t> Temporal() const { return temporal_; }

  // True when a free run must stop before the word at this address; an
  // address outside 0000..EFFF (an empty PC among them) never stops it.
  bool Detiene(int32_t direccion) const {
    return Valida(direccion) && (direccion == temporal_ || (cantidad_ > 0 && Contiene(direccion)));
  }
  // Nothing to stop at: a free run need not even read PC.
  bool Ninguno() const { return cantidad_ == 0 && !temporal_; }

 private:
  static bool Valida(int32_t direccion) { return direccion >= 0 && direccion < Numero_Direcciones; }

  std::bitset<Numero_Direcciones> puntos_;
  std::optional<int32_t> temporal_;
  int32_t cantidad_ = 0;
};

extern const char* const Mensaje_Direccion_No_Valida;
