#pragma once
// "Tamaño de la ventana": the size VELTRA is drawn at, chosen for a
// projector. Qt cannot rescale a running window, so it applies at the next start.
class QMenu;
class TForm1;

QMenu* Crear_Menu_Ampliacion(TForm1& ventana);
