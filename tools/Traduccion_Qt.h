#pragma once
// Qt's own texts (dialog buttons, file dialogs, command-line help) in Spanish,
// from the translation that the toolkit ships. Without it they stay English.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

inline void Instalar_Traduccion_Qt(QCoreApplication& aplicacion) {
  auto* traductor = new QTranslator(&aplicacion);
  if (traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(traductor);
}
