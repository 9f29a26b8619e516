#pragma once
// What a screen reader finds: VELTRA's own accessible interfaces for the
// widgets it draws itself (displays, lamps, the listing, the memory panel),
// each with a name and its value as text.
#include <QString>

class QWidget;

// Qt keeps the first interface it builds for a widget, so this goes before
// any window is built.
void Instalar_Accesibilidad();

// "r1", "PC", "Puerto de entrada 01": the name of a display of the value.
QString Nombre_Visor(int visor);

// The value a reader gives a widget now ("0005", "apagado", "encendida").
QString Valor_Accesible(QWidget* widget);
// Tells the reader that the widget's value changed.
void Anunciar_Valor(QWidget* widget);
