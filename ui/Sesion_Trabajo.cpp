#include "ui/Sesion_Trabajo.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <exception>

#include "asm/Programa_Objeto.h"
#include "estado/Archivo_Estado.h"
#include "ui/Ajustes.h"
#include "ui/Fuente.h"
#include "ui/main.h"

namespace {

const QString Filtro_EHC = QStringLiteral("Easy Hexadecimal Code (*.EHC)");
const QString Filtro_Estado = QStringLiteral("Estado de TORVIC (*.VELTRA)");

std::string Mensaje_Guardar(const QString& ruta, const QString& motivo) {
  return "ERROR: No se pudo guardar el archivo " + ruta.toStdString() + "\rMotivo: " + motivo.toStdString() + ".";
}

}  // namespace

TSesion_Trabajo::TSesion_Trabajo(TForm1& ventana, QMenu* menu) : QObject(&ventana), ventana_(ventana) {
  const auto Agregar = [&](const char* nombre, const QString& titulo, void (TSesion_Trabajo::*accion)()) {
    QAction* item = menu->addAction(titulo);
    item->setObjectName(QLatin1String(nombre));
    connect(item, &QAction::triggered, this, accion);
    return item;
  };
  QAction* guardar = Agregar("MGuardar_Programa", QStringLiteral("Guardar el programa (.EHC)…"),
                             &TSesion_Trabajo::MGuardar_ProgramaClick);
  guardar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  // A menu that is not open takes no shortcuts; the window does.
  ventana_.addAction(guardar);
  Agregar("MGuardar_Estado", QStringLiteral("Guardar el estado de TORVIC…"), &TSesion_Trabajo::MGuardar_EstadoClick);
  Agregar("MAbrir_Estado", QStringLiteral("Abrir un estado de TORVIC…"), &TSesion_Trabajo::MAbrir_EstadoClick);
  MRecuperar_Sesion_ = Agregar("MRecuperar_Sesion", QStringLiteral("Recuperar la sesión anterior"),
                               &TSesion_Trabajo::MRecuperar_SesionClick);
  Actualizar_Recuperar();
  connect(menu, &QMenu::aboutToShow, this, &TSesion_Trabajo::Actualizar_Recuperar);
}

QString TSesion_Trabajo::Ruta_Sesion() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/sesion.VELTRA");
}

void TSesion_Trabajo::Guardar_Sesion() {
  // Nothing here may stop the exit: a failed write is left unsaid, and not
  // even running out of memory for the copy escapes.
  try {
    QDir().mkpath(QFileInfo(Ruta_Sesion()).absolutePath());
    Guardar_Estado(ventana_.Entorno(), Ruta_Sesion());
    // The source, saved or not, beside the state, which never holds it.
    ventana_.Fuente().Guardar_Sesion();
  } catch (const std::exception&) {
  }
}

void TSesion_Trabajo::Actualizar_Recuperar() { MRecuperar_Sesion_->setEnabled(QFile::exists(Ruta_Sesion())); }

QString TSesion_Trabajo::Pedir_Ruta(const QString& nombre, const QString& titulo, const QString& filtro,
                                    const QString& extension, bool guardar) {
  QFileDialog dialogo(&ventana_, titulo);
  dialogo.setObjectName(nombre);
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialogo.setDefaultSuffix(extension);
  dialogo.setNameFilter(filtro);
  if (const QString carpeta = TAjustes().Carpeta_Ultimo_Programa(); !carpeta.isEmpty()) dialogo.setDirectory(carpeta);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
  return dialogo.selectedFiles().constFirst();
}

void TSesion_Trabajo::MGuardar_ProgramaClick() {
  if (Texto_Programa_Escrito(ventana_.Entorno()).empty()) {
    ventana_.Mostrar_Mensaje("No hay palabras escritas que guardar.");
    return;
  }
  const QString ruta = Pedir_Ruta(QStringLiteral("DGuardar"), QStringLiteral("Guardar el programa de TORVIC"),
                                  Filtro_EHC, QStringLiteral("EHC"), true);
  if (ruta.isEmpty()) return;
  // Taken after the dialog: a run goes on while it is open.
  const std::string texto = Texto_Programa_Escrito(ventana_.Entorno());
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(texto.data(), static_cast<qint64>(texto.size())) < 0 ||
      !archivo.commit())
    ventana_.Mostrar_Mensaje(Mensaje_Guardar(ruta, archivo.errorString()));
}

void TSesion_Trabajo::MGuardar_EstadoClick() {
  const QString ruta = Pedir_Ruta(QStringLiteral("DGuardar_Estado"), QStringLiteral("Guardar el estado de TORVIC"),
                                  Filtro_Estado, QStringLiteral("VELTRA"), true);
  if (ruta.isEmpty()) return;
  if (const QString motivo = Guardar_Estado(ventana_.Entorno(), ruta); !motivo.isEmpty())
    ventana_.Mostrar_Mensaje(Mensaje_Guardar(ruta, motivo));
}

void TSesion_Trabajo::MAbrir_EstadoClick() {
  const QString ruta = Pedir_Ruta(QStringLiteral("DAbrir_Estado"), QStringLiteral("Abrir un estado de TORVIC"),
                                  Filtro_Estado, QStringLiteral("VELTRA"), false);
  if (!ruta.isEmpty()) Abrir(ruta);
}

void TSesion_Trabajo::MRecuperar_SesionClick() {
  Abrir(Ruta_Sesion());
  ventana_.Fuente().Recuperar_Sesion();
}

void TSesion_Trabajo::Abrir(const QString& ruta) {
  ventana_.Manejar([&] {
    if (const std::string mensaje = Abrir_Estado(ventana_.Entorno(), ruta); !mensaje.empty()) {
      ventana_.Mostrar_Mensaje(mensaje);
      return;
    }
    // The step timer runs at the restored speed, as the speed dialog sets it.
    ventana_.findChild<QTimer*>(QStringLiteral("Reloj"))
        ->setInterval(static_cast<int>(ventana_.Entorno().Opciones_Entorno.Intervalo_Paso));
  });
}
