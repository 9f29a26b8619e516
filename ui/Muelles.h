#pragma once
// The dock sites of the main window and the pieces that dock into them. Each
// site takes only its own piece: the rule is one function per site, and a
// site handed any other piece, however Qt or the code offers it, sends it
// back to float beside its own site.
#include <QDockWidget>
#include <QMainWindow>

class QMenu;
class QToolBar;

bool Barra_Principal_DockOver(const QObject* pieza);
bool Contenedor_Panel_Interno_DockOver(const QObject* pieza);
bool Contenedor_de_Memoria_DockOver(const QObject* pieza);
bool Contenedor_Panel_Frontal_DockOver(const QObject* pieza);

class TSitio_Muelle : public QMainWindow {
  Q_OBJECT

 public:
  using TRegla = bool (*)(const QObject* pieza);
  TSitio_Muelle(const QString& nombre, TRegla acepta, QWidget* padre);

  bool Acepta(const QObject* pieza) const { return acepta_(pieza); }
  // No menu of the site's pieces: unchecking one would hide it for good.
  QMenu* createPopupMenu() override { return nullptr; }

 protected:
  void childEvent(QChildEvent* evento) override;
  // Watches its own piece: dropped anywhere over the site, it docks.
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  TRegla acepta_;
  QPoint pulsacion_;  // where the drag of the piece began
};

// The site of that name, with its rule.
TSitio_Muelle* Crear_Sitio(const QString& nombre, QWidget* padre);
// The piece, docked into its own site at the area; a refused piece returns there.
QDockWidget* Crear_Pieza(const QString& nombre, const QString& titulo, QWidget* contenido, TSitio_Muelle* sitio,
                         Qt::DockWidgetArea area, bool titulo_vertical);
// The tool bar, in its own site at the top.
void Colocar_Barra(QToolBar* barra, TSitio_Muelle* sitio);
