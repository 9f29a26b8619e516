#pragma once
// The step-speed dialog: the free run's step interval, one of eight.
#include <QDialog>

#include "core/Entorno.h"

class QButtonGroup;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(TEntorno& entorno, QWidget* parent = nullptr);

 private:
  void Iniciar();
  void LiveButton1Click();

  TEntorno& entorno_;
  QButtonGroup* items_;
};
