#include "widgets/Lampara.h"

#include <QMouseEvent>
#include <QPainter>

TImagen_Lampara::TImagen_Lampara(const QString& nombre, const QColor& color, QWidget* parent)
    : QWidget(parent), color_(color) {
  setObjectName(nombre);
}

void TImagen_Lampara::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  pintor.setRenderHint(QPainter::Antialiasing);
  const QRectF circulo = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  QRadialGradient brillo(circulo.center() - QPointF(circulo.width() / 5, circulo.height() / 5), circulo.width() / 1.5);
  brillo.setColorAt(0, color_.lighter(170));
  brillo.setColorAt(1, color_);
  pintor.setBrush(brillo);
  pintor.setPen(QPen(Qt::black, 1));
  pintor.drawEllipse(circulo);
}

void TImagen_Lampara::mousePressEvent(QMouseEvent* evento) {
  if (evento->button() == Qt::LeftButton) emit Pulsada();
}

TLampara::TLampara(const QString& nombre_apagada, const QString& nombre_encendida, const QColor& color_encendida,
                   QWidget* parent, int diametro)
    : TImagen_Lampara(nombre_apagada, color_encendida.darker(400), parent),
      encendida_(new TImagen_Lampara(nombre_encendida, color_encendida, this)) {
  setFixedSize(diametro, diametro);
  encendida_->setGeometry(rect());
  encendida_->hide();
  // The lit image covers the dark one, so its clicks are the lamp's too.
  connect(encendida_, &TImagen_Lampara::Pulsada, this, &TImagen_Lampara::Pulsada);
}
