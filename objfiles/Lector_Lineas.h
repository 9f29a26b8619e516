#pragma once
// Reading an object file as normalised lines from a byte stream. A line ends
// at a carriage return, a line feed, or the two together (CR LF); the file
// ends at its physical end or at a Ctrl-Z (character 26).
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "objfiles/Normalizar.h"

// Where the bytes come from.
class TFuente_Bytes {
 public:
  virtual ~TFuente_Bytes() = default;
  // Fills up to `maximo` bytes; 0 at the end or on failure (see Error).
  virtual std::size_t Leer(char* destino, std::size_t maximo) = 0;
  // Why the last read failed, in Spanish; empty while nothing failed.
  virtual std::string Error() const = 0;
};

// A file opened for reading; closed when destroyed.
class TFuente_Archivo final : public TFuente_Bytes {
 public:
  explicit TFuente_Archivo(const std::string& ruta);
  ~TFuente_Archivo() override;
  TFuente_Archivo(const TFuente_Archivo&) = delete;
  TFuente_Archivo& operator=(const TFuente_Archivo&) = delete;

  bool Abierto() const { return archivo_ != nullptr; }
  // Why the file could not be opened.
  const std::string& Error_Apertura() const { return error_apertura_; }
  std::size_t Leer(char* destino, std::size_t maximo) override;
  std::string Error() const override { return error_lectura_; }

 private:
  std::FILE* archivo_ = nullptr;
  std::string error_apertura_;
  std::string error_lectura_;
};

// Bytes already in memory.
class TFuente_Memoria final : public TFuente_Bytes {
 public:
  explicit TFuente_Memoria(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Leer(char* destino, std::size_t maximo) override;
  std::string Error() const override { return {}; }

 private:
  std::string_view bytes_;
};

// The system's reason for a failed file operation, in Spanish where known.
std::string Motivo_Error_Sistema(int codigo);

// A whole regular file read at once (a source, a case file). At most 64 MB:
// far above any program or case file, and a guard against holding a huge
// file picked by mistake.
struct TArchivo_Entero {
  enum class TFallo { Ninguno, Apertura, Lectura, Demasiado_Grande };
  TFallo Fallo = TFallo::Ninguno;
  std::string Motivo;  // why it could not be opened or read, in Spanish
  std::string Contenido;
};
TArchivo_Entero Leer_Archivo_Entero(const std::string& ruta);

class TLector_Lineas {
 public:
  explicit TLector_Lineas(TFuente_Bytes& fuente);

  // Reads the next line, normalised (Normalizar_Linea). At the end of the
  // file it yields the empty line. False when the source failed.
  bool Leer_Linea(std::string& linea);
  // True at the end of the file, and after a failure.
  bool Fin();
  bool Fallo() const { return fallo_; }

 private:
  // The next byte without taking it; -1 at the end or on failure.
  int Siguiente();

  TFuente_Bytes& fuente_;
  std::vector<char> bufer_;
  std::size_t posicion_ = 0;
  std::size_t cantidad_ = 0;
  bool terminado_ = false;
  bool fallo_ = false;
  TNormalizador_Linea normalizador_;
};
