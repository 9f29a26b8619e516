#include "ui/Velocidad.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include <QTimer>
#include <QVBoxLayout>

#include "ui/Centrar.h"
#include "widgets/livebutton.h"

TForm4::TForm4(TOpciones_Entorno& opciones, QTimer& reloj, QWidget* parent)
    : QDialog(parent, Qt::Tool), opciones_(opciones), reloj_(reloj), items_(new QButtonGroup(this)) {
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
  connect(vale, &QPushButton::clicked, this, &TForm4::LiveButton1Click);
  connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

  auto* botones = new QVBoxLayout;
  for (TLiveButton* boton : {vale, cancelar}) {
    boton->setFixedSize(97, 49);
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

void TForm4::Iniciar() { items_->button(Item_de_Intervalo(opciones_.Intervalo_Paso))->setChecked(true); }

void TForm4::LiveButton1Click() {
  opciones_.Intervalo_Paso = Intervalo_de_Item(items_->checkedId());
  reloj_.setInterval(static_cast<int>(opciones_.Intervalo_Paso));
  accept();
}
