#pragma once
// Qt's own texts (dialog buttons, file dialogs, command-line help) in Spanish,
// from the translation that the toolkit ships. Without it they stay English.
// QtCore only, so the windows and the command-line tools share it.
#include <QCommandLineOption>

class QCoreApplication;

// Installed once per process, however often it is called.
void Instalar_Traduccion_Qt(QCoreApplication& aplicacion);

// The programs' own -h/--help: Qt's translation leaves the built-in one's text in English.
QCommandLineOption Opcion_Ayuda();
