#include "ui/Muelles.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

namespace {

bool Se_Llama(const QObject* pieza, const char* nombre) { return pieza && pieza->objectName() == QLatin1String(nombre); }

// Where a refused piece goes back to, set when the piece is made.
const char* const Sitio_Propio = "Sitio_Propio";
const char* const Area_Propia = "Area_Propia";

void Devolver(QObject* pieza) {
  auto* sitio = qobject_cast<QMainWindow*>(pieza->property(Sitio_Propio).value<QObject*>());
  if (!sitio || pieza->parent() == sitio) return;
  if (auto* muelle = qobject_cast<QDockWidget*>(pieza)) {
    sitio->addDockWidget(static_cast<Qt::DockWidgetArea>(pieza->property(Area_Propia).toInt()), muelle);
    muelle->setFloating(true);
  } else if (auto* barra = qobject_cast<QToolBar*>(pieza)) {
    sitio->addToolBar(Qt::TopToolBarArea, barra);
  }
}

}  // namespace

bool Barra_Principal_DockOver(const QObject* pieza) { return Se_Llama(pieza, "Menu"); }
bool Contenedor_Panel_Interno_DockOver(const QObject* pieza) { return Se_Llama(pieza, "Panel_Interno"); }
bool Contenedor_de_Memoria_DockOver(const QObject* pieza) { return Se_Llama(pieza, "PContenedor_Memoria"); }
bool Contenedor_Panel_Frontal_DockOver(const QObject* pieza) { return Se_Llama(pieza, "PPanel_Frontal"); }

TSitio_Muelle::TSitio_Muelle(const QString& nombre, TRegla acepta, QWidget* padre)
    : QMainWindow(padre), acepta_(acepta) {
  setObjectName(nombre);
  setWindowFlags(Qt::Widget);
  setDockNestingEnabled(false);
}

void TSitio_Muelle::childEvent(QChildEvent* evento) {
  QMainWindow::childEvent(evento);
  QObject* hijo = evento->child();
  // A piece still being built is not yet a dock widget or tool bar; a piece
  // handed over from elsewhere is, and goes back once this reparenting ends.
  if (evento->added() && (qobject_cast<QDockWidget*>(hijo) || qobject_cast<QToolBar*>(hijo)) && !acepta_(hijo))
    QTimer::singleShot(0, hijo, [hijo] { Devolver(hijo); });
}

bool TSitio_Muelle::eventFilter(QObject* objeto, QEvent* evento) {
  auto* pieza = qobject_cast<QDockWidget*>(objeto);
  if (!pieza || (evento->type() != QEvent::MouseButtonPress && evento->type() != QEvent::MouseButtonRelease))
    return false;
  const QPoint cursor = static_cast<QMouseEvent*>(evento)->globalPosition().toPoint();
  if (evento->type() == QEvent::MouseButtonPress) {
    pulsacion_ = cursor;
  } else if (cursor != pulsacion_) {
    // Qt docks a piece only when it is dropped near the edge of its site;
    // once Qt has ended the drag, a piece still floating over its site docks.
    QTimer::singleShot(0, pieza, [this, pieza, cursor] {
      if (pieza->isFloating() && isVisible() && rect().contains(mapFromGlobal(cursor))) pieza->setFloating(false);
    });
  }
  return false;
}

TSitio_Muelle* Crear_Sitio(const QString& nombre, QWidget* padre) {
  static const struct {
    const char* sitio;
    TSitio_Muelle::TRegla regla;
  } reglas[] = {{"Barra_Principal", Barra_Principal_DockOver},
                {"Contenedor_Panel_Interno", Contenedor_Panel_Interno_DockOver},
                {"Contenedor_Memoria", Contenedor_de_Memoria_DockOver},
                {"Contenedor_PF", Contenedor_Panel_Frontal_DockOver}};
  for (const auto& regla : reglas)
    if (nombre == QLatin1String(regla.sitio)) return new TSitio_Muelle(nombre, regla.regla, padre);
  qFatal("no dock site %s", qPrintable(nombre));
}

QDockWidget* Crear_Pieza(const QString& nombre, const QString& titulo, QWidget* contenido, TSitio_Muelle* sitio,
                         Qt::DockWidgetArea area, bool titulo_vertical) {
  auto* pieza = new QDockWidget(titulo, sitio);
  pieza->setObjectName(nombre);
  pieza->setProperty(Sitio_Propio, QVariant::fromValue<QObject*>(sitio));
  pieza->setProperty(Area_Propia, static_cast<int>(area));
  QDockWidget::DockWidgetFeatures rasgos = QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
  if (titulo_vertical) rasgos |= QDockWidget::DockWidgetVerticalTitleBar;
  pieza->setFeatures(rasgos);
  pieza->setAllowedAreas(area);
  pieza->setWidget(contenido);
  sitio->addDockWidget(area, pieza);
  pieza->installEventFilter(sitio);
  return pieza;
}

void Colocar_Barra(QToolBar* barra, TSitio_Muelle* sitio) {
  barra->setProperty(Sitio_Propio, QVariant::fromValue<QObject*>(sitio));
  sitio->addToolBar(Qt::TopToolBarArea, barra);
}
