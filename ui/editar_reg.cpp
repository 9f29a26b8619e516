#include "ui/editar_reg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "core/Entorno.h"
#include "ui/Visores_Puerto.h"
#include "widgets/Dibujos.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/Fuentes.h"
#include "widgets/livebutton.h"

TDiag_Editar_Registro::TDiag_Editar_Registro(QWidget* parent)
    : QDialog(parent, Qt::Tool), Editor_(Crear_Visor_Puerto(QStringLiteral("Editor"))) {
  setObjectName(QStringLiteral("Diag_Editar_Registro"));
  setWindowTitle(QStringLiteral("Editar registro/puerto"));
  setFixedSize(385, 61);

  auto* grupo = new QGroupBox(QStringLiteral("Teclée 0..9, A..F y pulse ¡vale!"), this);
  auto* dentro = new QVBoxLayout(grupo);
  dentro->setContentsMargins(6, 2, 6, 4);
  Editor_->setValue(QStringLiteral("0000"));
  Editor_->setMinimumHeight(22);
  dentro->addWidget(Editor_);

  auto* vale = new TLiveButton(QStringLiteral("¡Vale!"), this);
  vale->setObjectName(QStringLiteral("LiveButton1"));
  auto* cancelar = new TLiveButton(QStringLiteral("Cancelar"), this);
  cancelar->setObjectName(QStringLiteral("LiveButton2"));
  vale->setIcon(Icono(TGlifo::Vale));
  cancelar->setIcon(Icono(TGlifo::Cancelar));
  for (TLiveButton* boton : {vale, cancelar}) {
    boton->setFixedSize(97, 49);
    boton->setIconSize(QSize(20, 20));
    boton->setFocusPolicy(Qt::NoFocus);
  }
  // Enter takes the value, Escape cancels, as in any dialog.
  vale->setDefault(true);
  connect(vale, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

  auto* fila = new QHBoxLayout(this);
  fila->setContentsMargins(4, 4, 4, 4);
  // What the buttons leave of the width, less the frame around the title.
  const int sitio = width() - 8 - 2 * 97 - 2 * fila->spacing() - 20;
  grupo->setFont(Fuente_Que_Quepa(grupo->font(), grupo->title(), sitio));
  fila->addWidget(grupo, 1);
  fila->addWidget(vale);
  fila->addWidget(cancelar);
}

QString TDiag_Editar_Registro::Valor() const { return Editor_->Value().left(4); }

void TDiag_Editar_Registro::keyPressEvent(QKeyEvent* evento) {
  const QString texto = evento->text();
  const bool caracter = texto.size() == 1 && texto.at(0) >= QLatin1Char(' ') &&
                        !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!caracter) {
    QDialog::keyPressEvent(evento);  // Enter, Escape
    return;
  }
  // Any other printable key is swallowed; a hex digit shifts in.
  Editor_->setValue(QString::fromStdString(Pulsacion(Editor_->Value().toStdString(), texto.at(0).toLatin1())));
}
