#pragma once
// Entorno > Tema: the classic look (the default), high contrast and dark. A
// theme is the application's palette plus the colours of what VELTRA paints
// itself (panels, displays, keys, the listing's text, the memory panel, the
// focus frame); it reaches every window at once, windows built later too,
// and is kept in the settings.
#include <QColor>
#include <QPalette>

#include "widgets/livebutton.h"

class QMenu;
class QWidget;

enum class TTema { Clasico, Alto_Contraste, Oscuro };

struct TColores_Tema {
  QColor Panel;  // the ground of the panels' pictures
  QColor Fondo_Visor, Digito, Digito_Apagado;
  QColor Texto_Listado, Linea_Elegida;  // the style's highlight is too light under white text
  TColores_Tecla Teclas;
  QColor Foco;
  int Grosor_Foco;
  // The memory panel: ground, addresses, the two columns, the cursor's cell,
  // changed words, the cursor's frame.
  QColor Memoria_Fondo, Memoria_Direccion, Memoria_Impar, Memoria_Par, Posicion_Fondo, Posicion_Texto,
      Cambiada_Fondo, Cambiada_Texto, Marco_Cursor;
};

// The palette and colours of a theme; the classic palette is the one the
// application had before any theme was applied.
QPalette Paleta_Tema(TTema tema);
const TColores_Tema& Colores_Tema(TTema tema);

TTema Tema_Actual();
// The least contrast every text has against its ground in a theme (WCAG's
// ratio): 7:1 in high contrast, 4.5:1 in the others.
double Contraste_Texto(TTema tema);
// Applies the theme to every window now, and remembers it.
void Aplicar_Tema(TTema tema);
// At start-up, before any widget is built: the classic palette. Set once the
// widgets exist, it would reach each of them again before the first paint.
void Aplicar_Paleta_Clasica();
// At start-up, once the windows are built: the remembered theme.
void Aplicar_Tema_Guardado();

// The submenu Tema with its three items, added to the Entorno menu.
void Crear_Menu_Temas(QMenu* pop_entorno);
