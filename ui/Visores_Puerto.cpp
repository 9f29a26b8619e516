#include "ui/Visores_Puerto.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>

#include "widgets/Colores.h"
#include "widgets/DigitalDisplay.h"

TDigitalDisplay* Crear_Visor_Puerto(const QString& nombre) {
  auto* display = new TDigitalDisplay;
  display->setObjectName(nombre);
  display->setBckgndColor(clBlack);
  display->setDigitOnColor(clLime);
  display->setDigitOffColor(QColor(0x00, 0x5B, 0x00));
  return display;
}

QTabWidget* Crear_Paginas_Puertos(QWidget* ventana, const QString& prefijo, TDigitalDisplay* visores[64]) {
  auto* paginas = new QTabWidget(ventana);
  paginas->setObjectName(QStringLiteral("PageControl1"));
  const struct {
    const char* nombre;
    const char* titulo;
  } hojas[] = {{"TabSheet1", "0..1F"}, {"TabSheet5", "20..3F"}};
  for (int hoja = 0; hoja < 2; ++hoja) {
    auto* pagina = new QWidget(paginas);
    pagina->setObjectName(QString::fromLatin1(hojas[hoja].nombre));
    // Added before it is filled: reparenting a full page costs more than the page.
    paginas->addTab(pagina, QString::fromLatin1(hojas[hoja].titulo));
    auto* rejilla = new QGridLayout(pagina);
    rejilla->setHorizontalSpacing(6);
    rejilla->setVerticalSpacing(4);
    for (int i = 0; i < 32; ++i) {
      const int puerto = 32 * hoja + i;
      const QString numero = QStringLiteral("%1").arg(puerto, 2, 16, QLatin1Char('0')).toUpper();
      const int columna = 2 * (i / 8);
      auto* display = Crear_Visor_Puerto(prefijo + numero);
      display->setFixedSize(56, 22);
      rejilla->addWidget(new QLabel(numero, pagina), i % 8, columna, Qt::AlignRight);
      rejilla->addWidget(display, i % 8, columna + 1);
      visores[puerto] = display;
    }
  }
  return paginas;
}
