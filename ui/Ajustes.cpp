#include "ui/Ajustes.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>

namespace {

const QString Clave_Recientes = QStringLiteral("Recientes");
const QString Clave_Carpeta = QStringLiteral("Carpeta");
const QString Clave_Ampliacion = QStringLiteral("Ampliacion");
const QString Clave_Tema = QStringLiteral("Tema");

}  // namespace

TAjustes::TAjustes() : ajustes_(QStringLiteral("VELTRA"), QStringLiteral("VELTRA")) {}

QStringList TAjustes::Recientes() const {
  // One entry reads back as a string, several as a list; anything else in
  // the file (a number, a rectangle, an invalid value) is not a path.
  const QVariant valor = ajustes_.value(Clave_Recientes);
  const QVariantList entradas = valor.typeId() == QMetaType::QString ? QVariantList{valor} : valor.toList();
  QStringList recientes;
  for (const QVariant& entrada : entradas) {
    if (entrada.typeId() != QMetaType::QString) continue;
    const QString ruta = entrada.toString();
    if (!ruta.isEmpty() && !recientes.contains(ruta)) recientes << ruta;
    if (recientes.size() == Maximo_Recientes) break;
  }
  return recientes;
}

void TAjustes::Guardar_Recientes(const QStringList& recientes) { ajustes_.setValue(Clave_Recientes, recientes); }

void TAjustes::Agregar_Reciente(const QString& ruta) {
  QStringList recientes = Recientes();
  recientes.removeAll(ruta);
  recientes.prepend(ruta);
  Guardar_Recientes(recientes.mid(0, Maximo_Recientes));
  ajustes_.setValue(Clave_Carpeta, QFileInfo(ruta).absolutePath());
}

void TAjustes::Quitar_Reciente(const QString& ruta) {
  QStringList recientes = Recientes();
  recientes.removeAll(ruta);
  Guardar_Recientes(recientes);
}

QString TAjustes::Carpeta_Ultimo_Programa() const {
  const QVariant carpeta = ajustes_.value(Clave_Carpeta);
  return carpeta.typeId() == QMetaType::QString ? carpeta.toString() : QString();
}

int TAjustes::Ampliacion() const {
  bool numero = false;
  const int porcentaje = ajustes_.value(Clave_Ampliacion).toString().toInt(&numero);
  return numero && std::ranges::find(Ampliaciones, porcentaje) != std::end(Ampliaciones) ? porcentaje : 100;
}

void TAjustes::Fijar_Ampliacion(int porcentaje) { ajustes_.setValue(Clave_Ampliacion, porcentaje); }

QString TAjustes::Tema() const {
  const QVariant tema = ajustes_.value(Clave_Tema);
  return tema.typeId() == QMetaType::QString ? tema.toString() : QString();
}

void TAjustes::Fijar_Tema(const QString& clave) { ajustes_.setValue(Clave_Tema, clave); }

void Aplicar_Ampliacion() {
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return;
  const int porcentaje = TAjustes().Ampliacion();
  if (porcentaje != 100) qputenv("QT_SCALE_FACTOR", QByteArray::number(porcentaje / 100.0));
}
