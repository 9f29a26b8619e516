#pragma once
// Keeping work: the Archivo menu's items that save the program the user
// wrote, save and open the whole machine, and recover the session that the
// last exit saved. The rules and the file format live below the windows.
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class TForm1;

class TSesion_Trabajo : public QObject {
 public:
  // Appends the items to the Archivo menu.
  TSesion_Trabajo(TForm1& ventana, QMenu* menu);

  // Where the exit saves the session.
  static QString Ruta_Sesion();
  // The exit's save: silent, and a failure never stops the exit.
  void Guardar_Sesion();

 private:
  void MGuardar_ProgramaClick();
  void MGuardar_EstadoClick();
  void MAbrir_EstadoClick();
  void MRecuperar_SesionClick();
  void Abrir(const QString& ruta);
  // A save dialog in the folder of the last program; empty when cancelled.
  QString Pedir_Ruta(const QString& nombre, const QString& titulo, const QString& filtro, const QString& extension,
                     bool guardar);
  void Actualizar_Recuperar();

  TForm1& ventana_;
  QAction* MRecuperar_Sesion_ = nullptr;
};
