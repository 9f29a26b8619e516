#include "objfiles/Lector_Lineas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t Tamano_Bufer = 64 * 1024;
constexpr char Ctrl_Z = 26;

}  // namespace

std::string Motivo_Error_Sistema(int codigo) {
  switch (codigo) {
    case ENOENT: return "el archivo no existe";
    case EACCES:
    case EPERM: return "no tiene permiso para leerlo";
    case EISDIR: return "es una carpeta, no un archivo";
    case ENOTDIR: return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG: return "el nombre es demasiado largo";
    case ELOOP: return "la ruta tiene demasiados enlaces simbólicos";
    case EMFILE:
    case ENFILE: return "hay demasiados archivos abiertos";
    case ENOMEM: return "no hay memoria suficiente";
    case EIO: return "error de entrada/salida del dispositivo";
    default: return std::strerror(codigo);
  }
}

namespace {

// A device, pipe or socket could be read forever, or never answer. A folder
// opens, and its read reports it as a folder.
bool Se_Puede_Leer(mode_t modo) { return S_ISREG(modo) || S_ISDIR(modo); }

}  // namespace

TFuente_Archivo::TFuente_Archivo(const std::string& ruta) {
  const char* const no_normal = "no es un archivo normal";
  // Checked before opening, since opening a device may already act on it,
  // and again on what was opened, which is what is read. O_NONBLOCK keeps
  // the open of a pipe from waiting for a writer.
  struct stat info{};
  if (::stat(ruta.c_str(), &info) == 0 && !Se_Puede_Leer(info.st_mode)) {
    error_apertura_ = no_normal;
    return;
  }
  const int fd = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_apertura_ = Motivo_Error_Sistema(errno);
    return;
  }
  if (::fstat(fd, &info) != 0 || !Se_Puede_Leer(info.st_mode)) {
    error_apertura_ = no_normal;
    ::close(fd);
    return;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  archivo_ = ::fdopen(fd, "rb");
  if (!archivo_) {
    error_apertura_ = Motivo_Error_Sistema(errno);
    ::close(fd);
  }
}

TFuente_Archivo::~TFuente_Archivo() {
  if (archivo_) std::fclose(archivo_);
}

std::size_t TFuente_Archivo::Leer(char* destino, std::size_t maximo) {
  if (!archivo_ || !error_lectura_.empty()) return 0;
  errno = 0;
  const std::size_t leidos = std::fread(destino, 1, maximo, archivo_);
  if (leidos == 0 && std::ferror(archivo_))
    error_lectura_ = Motivo_Error_Sistema(errno != 0 ? errno : EIO);
  return leidos;
}

TArchivo_Entero Leer_Archivo_Entero(const std::string& ruta) {
  constexpr std::size_t Maximo = 64u << 20;
  TArchivo_Entero leido;
  TFuente_Archivo archivo(ruta);
  if (!archivo.Abierto()) {
    leido.Fallo = TArchivo_Entero::TFallo::Apertura;
    leido.Motivo = archivo.Error_Apertura();
    return leido;
  }
  char bloque[Tamano_Bufer];
  while (const std::size_t leidos = archivo.Leer(bloque, sizeof bloque)) {
    leido.Contenido.append(bloque, leidos);
    if (leido.Contenido.size() > Maximo) {
      leido.Fallo = TArchivo_Entero::TFallo::Demasiado_Grande;
      leido.Contenido.clear();
      return leido;
    }
  }
  if (!archivo.Error().empty()) {
    leido.Fallo = TArchivo_Entero::TFallo::Lectura;
    leido.Motivo = archivo.Error();
    leido.Contenido.clear();
  }
  return leido;
}

std::size_t TFuente_Memoria::Leer(char* destino, std::size_t maximo) {
  const std::size_t n = std::min(maximo, bytes_.size());
  std::memcpy(destino, bytes_.data(), n);
  bytes_.remove_prefix(n);
  return n;
}

TLector_Lineas::TLector_Lineas(TFuente_Bytes& fuente) : fuente_(fuente), bufer_(Tamano_Bufer) {}

int TLector_Lineas::Siguiente() {
  if (terminado_) return -1;
  if (posicion_ == cantidad_) {
    posicion_ = 0;
    cantidad_ = fuente_.Leer(bufer_.data(), bufer_.size());
    if (cantidad_ == 0) {
      terminado_ = true;
      fallo_ = !fuente_.Error().empty();
      return -1;
    }
  }
  const char c = bufer_[posicion_];
  if (c == Ctrl_Z) {
    terminado_ = true;
    return -1;
  }
  return static_cast<unsigned char>(c);
}

bool TLector_Lineas::Leer_Linea(std::string& linea) {
  normalizador_.Reiniciar();
  for (int c = Siguiente(); c >= 0; c = Siguiente()) {
    ++posicion_;
    if (c == '\r') {
      if (Siguiente() == '\n') ++posicion_;
      break;
    }
    if (c == '\n') break;
    normalizador_.Agregar(static_cast<char>(c));
  }
  linea = normalizador_.Texto();
  return !fallo_;
}

bool TLector_Lineas::Fin() { return Siguiente() < 0; }
