#pragma once
// A lamp of the panels: a dark image with its lit image placed exactly over
// it as a child, so the lit one shows only while it is not hidden. A click on
// either image is a click on the lamp.
#include <QColor>
#include <QWidget>

class TImagen_Lampara : public QWidget {
  Q_OBJECT

 public:
  // Both images are drawn in the lamp's colour, the dark one dimmed.
  TImagen_Lampara(const QString& nombre, const QColor& color, bool encendida, QWidget* parent);

  // A ring over the bezel: the flag changed in the last instruction.
  bool Anillo() const { return anillo_; }
  void Fijar_Anillo(bool anillo);

 signals:
  void Pulsada();

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;
  // Space or Enter on a lamp that takes the focus is a click.
  void keyPressEvent(QKeyEvent* evento) override;

 private:
  QColor color_;
  bool luce_;
  bool anillo_ = false;
};

class TLampara : public TImagen_Lampara {
  Q_OBJECT

 public:
  // The dark image is named nombre_apagada, the lit one nombre_encendida;
  // the lit one starts hidden.
  TLampara(const QString& nombre_apagada, const QString& nombre_encendida, const QColor& color_encendida,
           QWidget* parent, int diametro = 16);

  TImagen_Lampara* Encendida() const { return encendida_; }
  bool Encendida_Ahora() const { return !encendida_->isHidden(); }
  void Fijar_Encendida(bool encendida);
  // Both images carry the ring, so it shows whether the lamp is lit or dark.
  void Fijar_Anillo(bool anillo) {
    TImagen_Lampara::Fijar_Anillo(anillo);
    encendida_->Fijar_Anillo(anillo);
  }

 private:
  TImagen_Lampara* encendida_;
};
