#pragma once
// The words the user put into memory since memory was last initialised (a
// power-on that initialises it, "Inicializar Memoria", the start): by a load,
// by the console's Cargar, or by typing in the memory editor. The running
// program's stores are not among them. Saving the program writes these words.
#include <cstddef>
#include <cstdint>
#include <vector>

class THexEditorBuffer;

class TPalabras_Escritas {
 public:
  explicit TPalabras_Escritas(int32_t numero_palabras) : marcas_(static_cast<size_t>(numero_palabras), false) {}

  // An address outside memory is ignored.
  void Marcar(int32_t direccion);
  void Vaciar();
  // The marked words and those typed over in the memory editor, in increasing
  // order. Typing is known by the editor's change marks, which every memory
  // load clears as Vaciar clears the marks here.
  std::vector<int32_t> Lista(const THexEditorBuffer& memoria) const;

 private:
  std::vector<bool> marcas_;
};
