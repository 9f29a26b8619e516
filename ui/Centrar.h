#pragma once
// Places a window in the middle of its screen's available area.
#include <QScreen>
#include <QStyle>
#include <QWidget>

inline void Centrar(QWidget* ventana) {
  if (const QScreen* pantalla = ventana->screen())
    ventana->setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, ventana->size(), pantalla->availableGeometry()));
}
