#include "ui/Arranque.h"

#include <QApplication>
#include <QTimer>

#include "core/Entorno.h"
#include "traduccion/Traduccion_Qt.h"
#include "ui/Accesibilidad.h"
#include "ui/Archivos.h"
#include "ui/main.h"
#include "ui/puertos.h"
#include "ui/Temas.h"
#include "ui/puertos_out.h"
#include "widgets/Fuentes.h"
#include "widgets/Icono.h"

TVELTRA::TVELTRA()
    : entorno_(std::make_unique<TEntorno>()),
      form1_(std::make_unique<TForm1>(*entorno_)),
      form2_(std::make_unique<TForm2>(*form1_)),
      form3_(std::make_unique<TForm3>(*form1_)) {
  form1_->Fijar_Ventanas_Puertos(form2_.get(), form3_.get());
}

TVELTRA::~TVELTRA() = default;

std::unique_ptr<TVELTRA> Arrancar_VELTRA(const QStringList& archivos) {
  // Before any widget, so that a reader gets VELTRA's own interfaces.
  Instalar_Accesibilidad();
  QCoreApplication::setApplicationName(QStringLiteral("VELTRA, el IDE para TORVIC"));
  // Every window shows the icon that the installation puts in the desktop's theme.
  QApplication::setWindowIcon(Icono_VELTRA());
  // Lets the desktop match the window with veltra.desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("veltra"));
  // The windows and dialogs are drawn for the classic 8-point sans.
  QApplication::setFont(Fuente_Sans(QStringLiteral("MS Sans Serif"), 8));
  Instalar_Traduccion_Qt(*QCoreApplication::instance());
  Aplicar_Paleta_Clasica();
  auto veltra = std::make_unique<TVELTRA>();
  TForm1* form1 = veltra->Form1();
  Aplicar_Tema_Guardado();
  form1->show();
  if (!archivos.isEmpty())
    QTimer::singleShot(0, form1, [form1, ruta = archivos.constFirst()] { form1->Archivos().Abrir(ruta); });
  return veltra;
}
