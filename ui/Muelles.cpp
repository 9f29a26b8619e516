#include "ui/Muelles.h"

// A nested main window whose
// only dock widget is that piece, so Qt lets nothing else dock there.
QMainWindow* Crear_Sitio(const QString& nombre, QWidget* padre) {
  auto* sitio = new QMainWindow(padre);
  sitio->setObjectName(nombre);
  sitio->setWindowFlags(Qt::Widget);
  sitio->setDockNestingEnabled(false);
  return sitio;
}

QDockWidget* Crear_Pieza(const QString& nombre, const QString& titulo, QWidget* contenido, QMainWindow* sitio,
                         Qt::DockWidgetArea area, bool titulo_vertical) {
  auto* pieza = new QDockWidget(titulo, sitio);
  pieza->setObjectName(nombre);
  QDockWidget::DockWidgetFeatures rasgos = QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
  if (titulo_vertical) rasgos |= QDockWidget::DockWidgetVerticalTitleBar;
  pieza->setFeatures(rasgos);
  pieza->setAllowedAreas(area);
  pieza->setWidget(contenido);
  sitio->addDockWidget(area, pieza);
  return pieza;
}
