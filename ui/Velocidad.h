#pragma once
// The step-speed dialog: the interval of the free run's timer, one of eight.
#include <QDialog>

#include "core/Entorno.h"

class QButtonGroup;
class QTimer;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  TForm4(TOpciones_Entorno& opciones, QTimer& reloj, QWidget* parent = nullptr);

 private:
  void Iniciar();
  void LiveButton1Click();

  TOpciones_Entorno& opciones_;
  QTimer& reloj_;
  QButtonGroup* items_;
};
