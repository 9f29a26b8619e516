#pragma once
// TORVIC > Juego de instrucciones: the sixteen operations in a table that a
// filter narrows as the student types, and the notes on registers, stack,
// ports and monitor area beside it. Built at its first use.
#include <QWidget>

class QLineEdit;
class QMenu;
class QTableWidget;

class TForm_Juego_Instrucciones : public QWidget {
 public:
  explicit TForm_Juego_Instrucciones(QWidget* parent);

  // Hides the rows none of whose cells contain `texto`, in any case.
  void Filtrar(const QString& texto);

 private:
  QLineEdit* filtro_;
  QTableWidget* tabla_;
};

// The menu item (F1, also with the menu closed) that opens the window.
void Crear_Opcion_Juego_Instrucciones(QMenu* pop_torvic, QWidget& ventana);
