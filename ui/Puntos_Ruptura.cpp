#include "ui/Puntos_Ruptura.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>

#include "core/Pantalla.h"
#include "core/Puntos_Ruptura.h"
#include "core/TextoHex.h"
#include "widgets/livebutton.h"

TForm_Puntos_Ruptura::TForm_Puntos_Ruptura(TPuntos_Ruptura& puntos, TPantalla& pantalla, QWidget* parent)
    : QDialog(parent), puntos_(puntos), pantalla_(pantalla), Lista_(new QListWidget(this)),
      Direccion_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("Form_Puntos_Ruptura"));
  setWindowTitle(QStringLiteral("Puntos de ruptura"));
  setModal(true);
  Lista_->setObjectName(QStringLiteral("Lista_Puntos_Ruptura"));
  Direccion_->setObjectName(QStringLiteral("EDireccion"));
  Direccion_->setPlaceholderText(QStringLiteral("0000"));
  Direccion_->setMaxLength(4);

  const auto boton = [this](const char* nombre, const QString& titulo, void (TForm_Puntos_Ruptura::*accion)()) {
    auto* b = new TLiveButton(titulo, this);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, accion);
    return b;
  };
  auto* anadir = boton("BAnadir", QStringLiteral("Añadir"), &TForm_Puntos_Ruptura::Anadir);
  auto* quitar = boton("BQuitar", QStringLiteral("Quitar"), &TForm_Puntos_Ruptura::Quitar);
  auto* todos = boton("BQuitar_Todos", QStringLiteral("Quitar todos"), &TForm_Puntos_Ruptura::Quitar_Todos);
  auto* cerrar = boton("BCerrar", QStringLiteral("Cerrar"), &QDialog::accept);
  // Enter in the field adds its address rather than closing the dialog.
  connect(Direccion_, &QLineEdit::returnPressed, this, &TForm_Puntos_Ruptura::Anadir);

  auto* rejilla = new QGridLayout(this);
  rejilla->addWidget(Lista_, 0, 0, 4, 1);
  rejilla->addWidget(Direccion_, 0, 1);
  rejilla->addWidget(anadir, 1, 1);
  rejilla->addWidget(quitar, 2, 1);
  rejilla->addWidget(todos, 3, 1, Qt::AlignTop);
  rejilla->addWidget(cerrar, 4, 1);
  Mostrar_Lista();
  // What the student types goes to the address from the start.
  Direccion_->setFocus();
}

void TForm_Puntos_Ruptura::Mostrar_Lista() {
  Lista_->clear();
  for (int32_t direccion : puntos_.Lista()) Lista_->addItem(QString::fromStdString(Palabra_a_Texto(direccion)));
}

void TForm_Puntos_Ruptura::Anadir() {
  if (const char* rechazo = puntos_.Poner_Texto(Direccion_->text().toStdString())) {
    pantalla_.Mostrar_Mensaje(rechazo);
    // The next address typed replaces the rejected one.
    Direccion_->setFocus();
    Direccion_->selectAll();
    return;
  }
  Direccion_->clear();
  Direccion_->setFocus();
  Mostrar_Lista();
}

void TForm_Puntos_Ruptura::Quitar() {
  if (const QListWidgetItem* elegido = Lista_->currentItem()) {
    puntos_.Quitar(elegido->text().toInt(nullptr, 16));
    Mostrar_Lista();
  }
}

void TForm_Puntos_Ruptura::Quitar_Todos() {
  puntos_.Vaciar();
  Mostrar_Lista();
}
