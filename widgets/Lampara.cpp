#include "widgets/Lampara.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/Dibujos.h"

TImagen_Lampara::TImagen_Lampara(const QString& nombre, const QColor& color, bool encendida, QWidget* parent)
    : QWidget(parent), color_(color), luce_(encendida) {
  setObjectName(nombre);
}

void TImagen_Lampara::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  Pintar_Lampara(pintor, rect(), color_, luce_);
  if (anillo_) Pintar_Anillo(pintor, rect());
}

void TImagen_Lampara::Fijar_Anillo(bool anillo) {
  if (anillo_ == anillo) return;
  anillo_ = anillo;
  update();
}

void TImagen_Lampara::mousePressEvent(QMouseEvent* evento) {
  if (evento->button() == Qt::LeftButton) emit Pulsada();
}

TLampara::TLampara(const QString& nombre_apagada, const QString& nombre_encendida, const QColor& color_encendida,
                   QWidget* parent, int diametro)
    : TImagen_Lampara(nombre_apagada, color_encendida, false, parent),
      encendida_(new TImagen_Lampara(nombre_encendida, color_encendida, true, this)) {
  setFixedSize(diametro, diametro);
  encendida_->setGeometry(rect());
  encendida_->hide();
  // The lit image covers the dark one, so its clicks are the lamp's too.
  connect(encendida_, &TImagen_Lampara::Pulsada, this, &TImagen_Lampara::Pulsada);
}

void TImagen_Lampara::keyPressEvent(QKeyEvent* evento) {
  const int tecla = evento->key();
  if ((focusPolicy() & Qt::TabFocus) && (tecla == Qt::Key_Space || tecla == Qt::Key_Return || tecla == Qt::Key_Enter)) {
    evento->accept();
    emit Pulsada();
    return;
  }
  QWidget::keyPressEvent(evento);
}

void TLampara::Fijar_Encendida(bool encendida) {
  if (Encendida_Ahora() == encendida) return;
  encendida_->setHidden(!encendida);
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent cambio(this, encendida);
    QAccessible::updateAccessibility(&cambio);
  }
}
