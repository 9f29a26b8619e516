#pragma once
// The dock sites of the main window and the pieces that dock into them.
#include <QDockWidget>
#include <QMainWindow>

// A control bar that holds one dockable piece.
QMainWindow* Crear_Sitio(const QString& nombre, QWidget* padre);
// The piece, docked into its site at the area.
QDockWidget* Crear_Pieza(const QString& nombre, const QString& titulo, QWidget* contenido, QMainWindow* sitio,
                         Qt::DockWidgetArea area, bool titulo_vertical);
