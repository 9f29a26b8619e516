#pragma once
// VELTRA's icon: a chip whose face is one lit seven-segment digit. One
// drawing serves the window at any size and ratio and the PNG files that the
// installation puts in the desktop's icon theme.
#include <QIcon>
#include <QImage>
#include <QList>
#include <QRectF>

class QPainter;

// The sizes drawn into the icon theme, in pixels.
const QList<int>& Lados_Icono_VELTRA();

// Draws the icon into the largest square centred in the rectangle.
void Dibujar_Icono_VELTRA(QPainter& pintor, const QRectF& rectangulo);

// The icon on a transparent square image of that side.
QImage Imagen_Icono_VELTRA(int lado);

// The icon, drawn afresh at whatever size and pixel ratio is asked for.
QIcon Icono_VELTRA();
