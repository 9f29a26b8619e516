#pragma once
// The one narrow way the machine layer reaches the screen. The screen layer
// implements it with real dialogs and widgets; tests use a recorder.
#include <optional>
#include <string>

class TPantalla {
 public:
  virtual ~TPantalla() = default;
  // A modal box with one OK button; "\r" in the text is a line break.
  virtual void Mostrar_Mensaje(const std::string& texto) = 0;
  // A modal Yes/No box; true unless the answer is No.
  virtual bool Preguntar_Si_No(const std::string& titulo, const std::string& texto) = 0;
  // The register/port edit dialog: the four digits typed on "¡Vale!", or
  // nothing when the edit was cancelled.
  virtual std::optional<std::string> Pedir_Valor_Editado() { return std::nullopt; }
  // A display's text changed (one of the Visor_ numbers).
  virtual void Visor_Cambiado(int /*visor*/) {}
  virtual void Banderas_Cambiadas() {}
  // Lamps, key enables or menu captions changed.
  virtual void Panel_Cambiado() {}
  // Memory changed behind the editor's back; -1 means all of it.
  virtual void Memoria_Cambiada(int /*direccion_palabra*/) {}
  // The status bar's run panel: a breakpoint reached, nothing to step back;
  // an empty text clears it.
  virtual void Estado_Ejecucion(const std::string& /*texto*/) {}
  // After each executed instruction and each step back (the counter, and
  // what the instruction changed, see TEntorno::Efecto_Ultima_Instruccion).
  virtual void Instruccion_Ejecutada() {}
};
