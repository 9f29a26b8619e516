#pragma once
// The breakpoint dialog: the sorted addresses, a four-digit field to add one,
// and removing one or all. Programs typed on the keypad have no listing to
// double-click: this is how they get breakpoints.
#include <QDialog>

class QLineEdit;
class QListWidget;
class TPantalla;
class TPuntos_Ruptura;

class TForm_Puntos_Ruptura : public QDialog {
  Q_OBJECT

 public:
  // Refusals are shown on `pantalla`, as the machine's other messages.
  TForm_Puntos_Ruptura(TPuntos_Ruptura& puntos, TPantalla& pantalla, QWidget* parent = nullptr);

 private:
  void Mostrar_Lista();
  void Anadir();
  void Quitar();
  void Quitar_Todos();

  TPuntos_Ruptura& puntos_;
  TPantalla& pantalla_;
  QListWidget* Lista_;
  QLineEdit* Direccion_;
};
