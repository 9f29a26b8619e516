#include "ui/Archivos.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "asm/Carga_Programa.h"
#include "ui/Ajustes.h"
#include "ui/Fuente.h"
#include "ui/main.h"

namespace {

// The first file of a drag, when it is a program VELTRA opens.
QString Programa_Arrastrado(const QMimeData* datos) {
  if (!datos || !datos->hasUrls() || datos->urls().isEmpty()) return {};
  const QUrl url = datos->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString ruta = url.toLocalFile();
  return Es_Programa(QFile::encodeName(ruta).toStdString()) ? ruta : QString();
}

}  // namespace

TArchivos::TArchivos(TForm1& ventana, QMenu& pop_archivo) : QObject(&ventana), ventana_(ventana) {
  MRecargar_ = pop_archivo.addAction(QStringLiteral("Recargar el último programa"));
  MRecargar_->setObjectName(QStringLiteral("MRecargar"));
  MRecargar_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  MRecargar_->setEnabled(false);
  connect(MRecargar_, &QAction::triggered, this, [this] { Abrir(ultimo_); });
  // The shortcut works with the menu closed.
  ventana_.addAction(MRecargar_);

  MRecientes_ = pop_archivo.addMenu(QStringLiteral("Programas recientes"));
  MRecientes_->setObjectName(QStringLiteral("MRecientes"));
  MRecientes_->menuAction()->setObjectName(QStringLiteral("MRecientes"));
  Mostrar_Recientes();

  ventana_.setAcceptDrops(true);
  ventana_.installEventFilter(this);
}

namespace {

struct TCursor_Espera {
  TCursor_Espera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TCursor_Espera() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void TArchivos::Cargar(const QString& ruta) {
  const QString absoluta = QFileInfo(ruta).absoluteFilePath();
  const std::string nombre = QFile::encodeName(absoluta).toStdString();
  if (Es_Fuente(nombre) && !ventana_.Fuente().Abrir(absoluta)) return;
  TCursor_Espera espera;
  TResultado_Ensamblado ensamblado;
  const TResultado_Carga resultado = Cargar_Programa(ventana_.Entorno(), nombre, &ensamblado);
  if (resultado == TResultado_Carga::No_Leido) return;
  if (resultado == TResultado_Carga::Cargado)
    ventana_.Fuente().Programa_Cargado(absoluta, Es_Fuente(nombre) ? &ensamblado : nullptr);
  Leido(absoluta);
}

void TArchivos::Cargar_Texto(const QString& ruta, const QByteArray& texto) {
  TCursor_Espera espera;
  TResultado_Ensamblado ensamblado;
  const TResultado_Carga resultado =
      Cargar_Texto_Fuente(ventana_.Entorno(), QFile::encodeName(ruta).toStdString(),
                          std::string_view(texto.constData(), static_cast<std::size_t>(texto.size())), ensamblado);
  if (resultado == TResultado_Carga::Cargado) ventana_.Fuente().Programa_Cargado(ruta, &ensamblado);
  // A source not yet saved has no file to load again.
  if (QFileInfo(ruta).isFile()) Leido(QFileInfo(ruta).absoluteFilePath());
}

void TArchivos::Leido(const QString& absoluta) {
  // A source with errors counts too: the student fixes it and reloads.
  ultimo_ = absoluta;
  MRecargar_->setEnabled(true);
  TAjustes().Agregar_Reciente(absoluta);
  Mostrar_Recientes();
}

void TArchivos::Abrir(const QString& ruta) {
  ventana_.Manejar([this, ruta] { Cargar(ruta); });
}

void TArchivos::Preparar_Dialogo(QFileDialog& dialogo) const {
  const QString carpeta = TAjustes().Carpeta_Ultimo_Programa();
  if (!carpeta.isEmpty() && QFileInfo(carpeta).isDir()) dialogo.setDirectory(carpeta);
}

void TArchivos::Abrir_Reciente(const QString& ruta) {
  if (QFileInfo::exists(ruta)) {
    Abrir(ruta);
    return;
  }
  TAjustes().Quitar_Reciente(ruta);
  Mostrar_Recientes();
  ventana_.Mostrar_Mensaje(("ERROR: El archivo " + QDir::toNativeSeparators(ruta) +
                            " ya no existe.\rSe quita de los programas recientes.")
                               .toStdString());
}

void TArchivos::Mostrar_Recientes() {
  MRecientes_->clear();
  const QStringList recientes = TAjustes().Recientes();
  for (int i = 0; i < recientes.size(); ++i) {
    const QString& ruta = recientes[i];
    // "&1".."&8": a digit picks the entry from the keyboard.
    QAction* accion = MRecientes_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(ruta)));
    accion->setObjectName(QStringLiteral("MReciente_%1").arg(i + 1));
    accion->setData(ruta);
    connect(accion, &QAction::triggered, this, [this, ruta] { Abrir_Reciente(ruta); });
  }
  MRecientes_->menuAction()->setEnabled(!recientes.isEmpty());
}

bool TArchivos::eventFilter(QObject* objeto, QEvent* evento) {
  switch (evento->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* arrastre = static_cast<QDragMoveEvent*>(evento);
      // Ignored, the drag shows the no-drop cursor.
      if (Programa_Arrastrado(arrastre->mimeData()).isEmpty()) arrastre->ignore();
      else arrastre->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* soltar = static_cast<QDropEvent*>(evento);
      const QString ruta = Programa_Arrastrado(soltar->mimeData());
      if (ruta.isEmpty()) return true;
      soltar->acceptProposedAction();
      // Loaded once the drop has returned, so its boxes do not hold up the
      // program the file was dragged from.
      QMetaObject::invokeMethod(this, [this, ruta] { Abrir(ruta); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return QObject::eventFilter(objeto, evento);
  }
}
