#include "traduccion/Traduccion_Qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void Instalar_Traduccion_Qt(QCoreApplication& aplicacion) {
  static bool instalada = false;
  if (instalada) return;
  auto* traductor = new QTranslator(&aplicacion);
  if (traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(traductor);
  instalada = true;
}

QCommandLineOption Opcion_Ayuda() {
  return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Muestra esta ayuda."));
}
