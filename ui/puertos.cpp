#include "ui/puertos.h"

#include <QLabel>

#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/Centrar.h"
#include "ui/Visores_Puerto.h"
#include "ui/main.h"
#include "widgets/DigitalDisplay.h"

TForm2::TForm2(TForm1& form1) : QWidget(nullptr, Qt::Tool) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Los 64 primeros puertos de entrada:"));
  setFixedSize(402, 321);

  TDigitalDisplay* visores[64];
  auto* capas = new QVBoxLayout(this);
  capas->addWidget(Crear_Paginas_Puertos(this, QStringLiteral("PIN_"), visores));
  auto* ayuda = new QLabel(QStringLiteral("Para editar cada registro, haz click sobre el display correspondiente"), this);
  ayuda->setWordWrap(true);
  capas->addWidget(ayuda);
  for (int puerto = 0; puerto < 64; ++puerto) {
    TDigitalDisplay* display = visores[puerto];
    display->setCursor(Qt::PointingHandCursor);
    form1.Registrar_Visor(Visor_Entrada(puerto), display);
    // Port 01 is the keypad; its value is edited like every other port's.
    connect(display, &TDigitalDisplay::OnClick, this, [&form1, puerto] {
      form1.Manejar([&form1, puerto] { form1.Entorno().Modifica_Puerto_IP(puerto); });
    });
  }
  Centrar(this);
}
