#include "ui/Ampliacion.h"

#include <QActionGroup>
#include <QMenu>

#include "ui/Ajustes.h"
#include "ui/main.h"

QMenu* Crear_Menu_Ampliacion(TForm1& ventana) {
  auto* menu = new QMenu(QStringLiteral("Tamaño de la ventana"), &ventana);
  menu->setObjectName(QStringLiteral("Ampliacion"));
  menu->menuAction()->setObjectName(QStringLiteral("Ampliacion"));
  auto* grupo = new QActionGroup(menu);
  const int elegida = TAjustes().Ampliacion();
  for (const int porcentaje : TAjustes::Ampliaciones) {
    QAction* accion = menu->addAction(QStringLiteral("%1 %").arg(porcentaje));
    accion->setObjectName(QStringLiteral("Ampliacion_%1").arg(porcentaje));
    accion->setCheckable(true);
    accion->setChecked(porcentaje == elegida);
    grupo->addAction(accion);
    QObject::connect(accion, &QAction::triggered, menu, [&ventana, porcentaje] {
      TAjustes ajustes;
      if (ajustes.Ampliacion() == porcentaje) return;
      ajustes.Fijar_Ampliacion(porcentaje);
      ventana.Mostrar_Mensaje("El nuevo tamaño se aplicará la próxima vez que se abra VELTRA.");
    });
  }
  return menu;
}
