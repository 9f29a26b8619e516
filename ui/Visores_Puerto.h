#pragma once
// The port windows' displays and the edit dialog's share one look: lime
// digits on black, unlit segments dark green.
#include <QString>

class QTabWidget;
class QWidget;
class TDigitalDisplay;

TDigitalDisplay* Crear_Visor_Puerto(const QString& nombre);

// The two tabs "0..1F" and "20..3F" of a port window, each with 32 displays
// named prefijo + two hex digits in four columns of eight, numbered down the
// columns. visores receives the 64 displays by port number.
QTabWidget* Crear_Paginas_Puertos(QWidget* ventana, const QString& prefijo, TDigitalDisplay* visores[64]);
