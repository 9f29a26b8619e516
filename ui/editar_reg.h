#pragma once
// The register/port edit dialog: four hexadecimal digits typed from the
// keyboard, shifted in from the right, taken on "¡Vale!".
#include <QDialog>

class TDigitalDisplay;

class TDiag_Editar_Registro : public QDialog {
  Q_OBJECT

 public:
  explicit TDiag_Editar_Registro(QWidget* parent = nullptr);

  // The value typed so far; it starts at 0000, not at the edited value.
  QString Valor() const;

 protected:
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  TDigitalDisplay* Editor_;
};
