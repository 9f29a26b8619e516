#include "ui/Velocidad.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/Centrar.h"
#include "widgets/Dibujos.h"
#include "widgets/livebutton.h"

TForm4::TForm4(TEntorno& entorno, QWidget* parent)
    : QDialog(parent, Qt::Tool), entorno_(entorno), items_(new QButtonGroup(this)) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Velocidad modo Paso a Paso"));

  auto* grupo = new QGroupBox(QStringLiteral("Seleccione la velocidad preferida:"), this);
  grupo->setObjectName(QStringLiteral("RadioGroup1"));
  auto* lista = new QVBoxLayout(grupo);
  for (int item = 0; item < Numero_Velocidades; ++item) {
    auto* opcion = new QRadioButton(QString::fromUtf8(Textos_Velocidad[item]), grupo);
    items_->addButton(opcion, item);
    lista->addWidget(opcion);
  }

  auto* vale = new TLiveButton(QStringLiteral("¡Vale!"), this);
  vale->setObjectName(QStringLiteral("LiveButton1"));
  vale->setDefault(true);
  auto* cancelar = new TLiveButton(QStringLiteral("Cancelar"), this);
  cancelar->setObjectName(QStringLiteral("LiveButton2"));
  vale->setIcon(Icono(TGlifo::Vale));
  cancelar->setIcon(Icono(TGlifo::Cancelar));
  connect(vale, &QPushButton::clicked, this, &TForm4::LiveButton1Click);
  connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

  auto* botones = new QVBoxLayout;
  for (TLiveButton* boton : {vale, cancelar}) {
    boton->setFixedSize(97, 49);
    boton->setIconSize(QSize(20, 20));
    botones->addWidget(boton);
  }
  botones->addStretch();
  auto* fila = new QHBoxLayout(this);
  fila->addWidget(grupo, 1);
  fila->addLayout(botones);

  Iniciar();
  adjustSize();
  Centrar(this);
}

void TForm4::Iniciar() {
  items_->button(Item_de_Intervalo(entorno_.Opciones_Entorno.Intervalo_Paso))->setChecked(true);
}

void TForm4::LiveButton1Click() {
  entorno_.Fijar_Velocidad(items_->checkedId());
  accept();
}
