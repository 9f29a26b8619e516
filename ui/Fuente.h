#pragma once
// The program source in VELTRA: the source window (Form_Fuente), where a
// student writes, assembles as they type, loads with F3 and debugs on the
// source's own lines, and TFuente, which adds its menu items to the main
// window and builds the window the first time it is needed.
//
// The assembler answers everything about the text (asm/Fuente_Editor.h);
// loads go the one way every program loads (TArchivos), named by the
// source's file, so the listing, the messages and the breakpoint rules are
// the same as for the file.
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QWidget>
#include <memory>
#include <vector>

#include "asm/Fuente_Editor.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QStackedWidget;
class QTimer;
class TEditor_Fuente;
class TForm1;

class TForm_Fuente : public QWidget {
  Q_OBJECT
  // "línea:columna: mensaje", as Errores_Fuente lists them.
  Q_PROPERTY(QStringList errores READ Errores)
  Q_PROPERTY(bool modificado READ Modificado)
  // The line that wrote the word at PC, from 1; 0 when none did or the text
  // changed since it was loaded.
  Q_PROPERTY(int linea_pc READ Linea_PC)

 public:
  explicit TForm_Fuente(TForm1& form1);
  ~TForm_Fuente() override;

  QStringList Errores() const { return errores_; }
  bool Modificado() const;
  int Linea_PC() const { return linea_pc_; }
  // The file's path; empty while it is "sin_nombre.ASM".
  QString Ruta() const { return ruta_; }
  QString Nombre() const;
  QString Texto() const;

  // Each asks first about unsaved changes; false when the student cancels.
  bool Nuevo();
  // Reads the file into the editor; false when cancelled or unreadable.
  bool Abrir(const QString& ruta);
  bool Guardar();
  bool Guardar_Como();
  // "tiene cambios sin guardar": true to go on (saved or not), false to stay.
  bool Preguntar_Guardar();
  // A text brought back by the session, with its path and whether it was saved.
  void Restaurar(const QString& texto, const QString& ruta, bool modificado);

  // F3: the text as it is, loaded as the file would be.
  void Ensamblar_y_Cargar();
  // The assembler's text now, without waiting for the pause.
  void Ensamblar();
  // A program was loaded: this source's (with its assembly) or another.
  void Programa_Cargado(const QString& ruta, const TResultado_Ensamblado* ensamblado);
  // PC moved (a step, a stop, a step back): the PC line follows.
  void PC_Cambiado();
  // The listing or the dialog changed the breakpoints.
  void Puntos_Ruptura_Cambiados();
  // F9 and a click in the margin; F4.
  void Conmutar_Punto_Ruptura(int linea);
  void Ejecutar_Hasta(int linea);
  // Places the window beside the main window and shows it.
  void Mostrar();

 protected:
  bool event(QEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  struct TMarca {
    QTextCursor Cursor;      // at its line; moves with the edits above it
    int32_t Direccion = -1;  // the breakpoint's address now; -1 until a load
  };

  void Crear_Barra_Buscar(QWidget* barra);
  void Buscar();
  void Reemplazar();
  void Reemplazar_Todo();
  void Cambio_Texto();
  void Mostrar_Errores();
  void Ir_a_Error(int fila);
  void Actualizar_Titulo();
  void Actualizar_Estado();
  void Poner_Texto(const QString& texto);
  bool Escribir(const QString& ruta);
  void Archivo_Cambiado(const QString& ruta);
  void Vigilar();
  void Marcas_desde_Direcciones();
  void Mostrar_Puntos();
  bool Sincronizado() const;
  QString Ayuda(int linea, int posicion) const;

  TForm1& form1_;
  TEditor_Fuente* editor_;
  QListWidget* Errores_Fuente_;
  QLabel* Resumen_;
  QStackedWidget* pie_;
  QLabel* Estado_;
  QWidget* Barra_Buscar_;
  QLineEdit* Buscar_;
  QLineEdit* Reemplazar_;
  QTimer* Reloj_Ensamblar_;
  QFileSystemWatcher* vigilante_;

  QString ruta_;
  QByteArray en_disco_;  // the file's bytes as last read or written
  bool crlf_ = false;    // the file's lines ended CR LF: saved the same way
  TResultado_Ensamblado ensamblado_;
  QStringList errores_;
  int revision_ = 0;           // the document's, at the last change seen
  int revision_cargada_ = -1;  // the document's when its program was loaded
  TMapa_Lineas mapa_;          // of the program loaded from this text
  std::vector<TMarca> marcas_;
  int linea_pc_ = 0;
};

class TFuente : public QObject {
 public:
  // Adds the items to the Archivo, Entorno and TORVIC menus.
  TFuente(TForm1& form1, QMenu& archivo, QMenu& entorno, QMenu& torvic);

  // The window, built at the first need; nullptr until then.
  TForm_Fuente* Ventana() const { return ventana_.get(); }
  TForm_Fuente& Crear_Ventana();

  // Before a source replaces the editor's text: asks about unsaved changes
  // and shows the file's text; false when the student cancels.
  bool Abrir(const QString& ruta);
  void Programa_Cargado(const QString& ruta, const TResultado_Ensamblado* ensamblado);
  void PC_Cambiado();
  void Puntos_Ruptura_Cambiados();
  // Closing VELTRA: true to go on.
  bool Preguntar_Guardar();

  // The session's source: saved on exit beside the state, brought back by
  // Recuperar la sesión anterior.
  static QString Ruta_Sesion();
  void Guardar_Sesion() const;
  void Recuperar_Sesion();

 private:
  TForm1& form1_;
  std::unique_ptr<TForm_Fuente> ventana_;
};
