#pragma once
// What VELTRA remembers between sessions: the recent programs, the folder of
// the last one and the window's size. A missing, unreadable or nonsense
// settings file reads as the defaults.
#include <QSettings>
#include <QStringList>

class TAjustes {
 public:
  static constexpr int Maximo_Recientes = 8;
  static constexpr int Ampliaciones[] = {100, 125, 150, 200};

  TAjustes();

  // Most recent first, at most eight.
  QStringList Recientes() const;
  // Puts `ruta` first and remembers its folder as the last program's.
  void Agregar_Reciente(const QString& ruta);
  void Quitar_Reciente(const QString& ruta);

  // The folder of the last program loaded; empty before the first.
  QString Carpeta_Ultimo_Programa() const;

  // Percent, one of Ampliaciones; 100 by default.
  int Ampliacion() const;
  void Fijar_Ampliacion(int porcentaje);

  // The theme's key ("Clasico", "Alto_Contraste", "Oscuro"); empty before the first choice.
  QString Tema() const;
  void Fijar_Tema(const QString& clave);

 private:
  void Guardar_Recientes(const QStringList& recientes);

  QSettings ajustes_;
};

// Before the application exists: asks Qt to draw at the chosen size, unless
// the user already set a scale factor in the environment.
void Aplicar_Ampliacion();
