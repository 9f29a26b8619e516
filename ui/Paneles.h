#pragma once
// The look shared by the panels: white labels on the teal ground.
#include <QColor>
#include <QString>

class QLabel;
class QPainter;
class QWidget;

// A white label at (x, y) of its parent; a heading is bold.
QLabel* Etiqueta(const QString& texto, QWidget* padre, int x, int y, bool titulo = false);
// Fills the widget's background with the colour.
void Fondo(QWidget* widget, const QColor& color);
// The pictures behind the panels, drawn around their named widgets.
void Dibujar_Panel_Interno(QPainter& pintor, const QWidget& panel);
void Dibujar_Panel_Frontal(QPainter& pintor, const QWidget& panel);
