#include "objfiles/Normalizar.h"

bool Es_Blanco(char c) { return c == ' ' || c == '\t' || c == '\n'; }

char Mayuscula(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Mayusculas(std::string_view linea) {
  std::string resultado(linea);
  for (char& c : resultado) c = Mayuscula(c);
  return resultado;
}

std::string_view Quitar_Comentario(std::string_view linea) { return linea.substr(0, linea.find(';')); }

std::string Compactar_Blancos(std::string_view linea) {
  TCompactador_Blancos compactador;
  for (char c : linea) compactador.Agregar(c);
  return compactador.Texto();
}

std::string Normalizar_Linea(std::string_view linea) {
  return Compactar_Blancos(Quitar_Comentario(Mayusculas(linea)));
}

void TCompactador_Blancos::Agregar(char c) {
  if (recortado_) return;
  if (Es_Blanco(c)) {
    // Only a blank between two non-blanks survives, as one space.
    blanco_pendiente_ = !texto_.empty();
    return;
  }
  const std::size_t necesarios = blanco_pendiente_ ? 2 : 1;
  if (texto_.size() + necesarios > maximo_) {
    recortado_ = true;
    return;
  }
  if (blanco_pendiente_) texto_ += ' ';
  texto_ += c;
  blanco_pendiente_ = false;
}

std::string TCompactador_Blancos::Texto() const {
  return recortado_ ? texto_ + std::string(Marca_Recorte) : texto_;
}

void TCompactador_Blancos::Reiniciar() {
  texto_.clear();
  blanco_pendiente_ = false;
  recortado_ = false;
}

void TNormalizador_Linea::Agregar(char c) {
  if (en_comentario_) return;
  c = Mayuscula(c);
  if (c == ';') {
    en_comentario_ = true;
    return;
  }
  compactador_.Agregar(c);
}

void TNormalizador_Linea::Reiniciar() {
  compactador_.Reiniciar();
  en_comentario_ = false;
}
