#pragma once
// Qt's own texts (dialog buttons, file dialogs, command-line help) in Spanish,
// from the translation that the toolkit ships. Without it they stay English.
#include <QCommandLineOption>
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

// The tools' own -h/--help: Qt's translation leaves the built-in one's text in English.
inline QCommandLineOption Opcion_Ayuda() {
  return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Muestra esta ayuda."));
}
