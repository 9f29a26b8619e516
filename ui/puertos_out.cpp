#include "ui/puertos_out.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/Visores_Puerto.h"
#include "ui/main.h"

TForm3::TForm3(TForm1& form1) : QWidget(nullptr, Qt::Window) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Los 64 primeros puertos de salida:"));
  resize(410, 338);

  TDigitalDisplay* visores[64];
  auto* capas = new QVBoxLayout(this);
  capas->addWidget(Crear_Paginas_Puertos(this, QStringLiteral("PO_"), visores));
  for (int puerto = 0; puerto < 64; ++puerto) form1.Registrar_Visor(Visor_Salida(puerto), visores[puerto]);
}
