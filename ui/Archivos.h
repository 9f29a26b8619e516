#pragma once
// The ways a program comes into the main window besides the load command's
// dialog: the command line, a file dropped on the window, Recargar and the
// recent programs. Every one loads as the command does after its dialog.
#include <QObject>
#include <QString>

class QAction;
class QFileDialog;
class QMenu;
class TForm1;

class TArchivos : public QObject {
  Q_OBJECT

 public:
  // Appends MRecargar and MRecientes to `pop_archivo` and takes the window's drops.
  TArchivos(TForm1& ventana, QMenu& pop_archivo);

  // The load command's last step, with the path chosen in its dialog. A
  // source is shown in the source window first (which may ask to save the
  // one there, and be cancelled).
  void Cargar(const QString& ruta);
  // The source window's text, loaded as the file `ruta` holding it would be.
  void Cargar_Texto(const QString& ruta, const QByteArray& texto);
  // Any other way in: a box for an exception too, as the menu's handlers.
  void Abrir(const QString& ruta);
  // DAbrir starts in the folder of the last program loaded.
  void Preparar_Dialogo(QFileDialog& dialogo) const;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Abrir_Reciente(const QString& ruta);
  // A load read its file (even with errors): Recargar and the recent programs take it.
  void Leido(const QString& absoluta);
  void Mostrar_Recientes();

  TForm1& ventana_;
  QAction* MRecargar_ = nullptr;
  QMenu* MRecientes_ = nullptr;
  QString ultimo_;  // the path MRecargar loads again
};
