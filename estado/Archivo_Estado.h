#pragma once
// The .VELTRA state file: the whole machine (a TInstantanea) as readable,
// versioned JSON, described in docs/Formato_Estado.md.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <string>

#include "core/Instantanea.h"

constexpr int Version_Estado = 1;

QByteArray Codificar_Estado(const TInstantanea& instantanea);

// The copy the bytes hold, ready to restore; or nothing, with the problem
// that names what is wrong (shape, version, types and values alike).
std::optional<TInstantanea> Decodificar_Estado(const QByteArray& bytes, std::string& problema);
// The same for the file's object already parsed (the fuzz target builds it).
std::optional<TInstantanea> Decodificar_Estado(const QJsonObject& objeto, std::string& problema);

// Writes the machine's state whole or not at all: an empty text, or why it
// could not be written.
QString Guardar_Estado(const TEntorno& entorno, const QString& ruta);

// Reads a state file; on failure, nothing, and the whole message to show.
std::optional<TInstantanea> Leer_Estado(const QString& ruta, std::string& mensaje);

// Reads a state file and restores it: an empty text, or the whole message
// to show, the machine left as it was.
std::string Abrir_Estado(TEntorno& entorno, const QString& ruta);
