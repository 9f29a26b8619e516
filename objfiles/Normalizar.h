#pragma once
// The line normalisation that both object formats share: upper case, the
// comment cut at the first ";", blanks compacted.
#include <cstddef>
#include <string>
#include <string_view>

// Space, tab or line feed.
bool Es_Blanco(char c);
// a..z become A..Z; every other byte, accented letters included, stays.
char Mayuscula(char c);
std::string Mayusculas(std::string_view linea);
// The text before the first ";" (the whole line when there is none).
std::string_view Quitar_Comentario(std::string_view linea);
// Drops leading and trailing blanks and turns each inner run into one space.
std::string Compactar_Blancos(std::string_view linea);
// Mayusculas, then Quitar_Comentario, then Compactar_Blancos.
std::string Normalizar_Linea(std::string_view linea);

// A normalised line longer than this is kept as its first characters followed
// by Marca_Recorte: no valid line comes near it, and a binary file without
// line breaks must not be held whole in memory nor quoted whole in a message.
constexpr std::size_t Longitud_Maxima_Linea = 1024;
inline constexpr std::string_view Marca_Recorte = "\xE2\x80\xA6";  // "…"

// Compactar_Blancos fed one character at a time.
class TCompactador_Blancos {
 public:
  explicit TCompactador_Blancos(std::size_t maximo = std::string::npos) : maximo_(maximo) {}
  void Agregar(char c);
  // The compacted text, with Marca_Recorte after it when it was cut.
  std::string Texto() const;
  void Reiniciar();

 private:
  std::string texto_;
  std::size_t maximo_;
  bool blanco_pendiente_ = false;
  bool recortado_ = false;
};

// Normalizar_Linea fed one byte at a time, so a line of any length is read
// in bounded memory.
class TNormalizador_Linea {
 public:
  explicit TNormalizador_Linea(std::size_t maximo = Longitud_Maxima_Linea) : compactador_(maximo) {}
  void Agregar(char c);
  std::string Texto() const { return compactador_.Texto(); }
  void Reiniciar();

 private:
  TCompactador_Blancos compactador_;
  bool en_comentario_ = false;
};
