#pragma once
// A class's submissions in one folder: each program file in it is a
// student's, and each subfolder is a student's, graded by its one program
// (its .ASM when it also holds the object file). Every case of every
// submission runs on a machine of its own, all on one pool of threads.
#include <QString>
#include <QStringList>

#include <vector>

#include "Casos.h"
#include "Correccion.h"
#include "Informes.h"

struct TEntrega {
  QString Nombre;   // "ana.ASM", or "luis/PRACTICA.ASM" for a subfolder
  QString Ruta;     // the program's file
  QString Entrada;  // the folder's entry it comes from: "ana.ASM", "luis"
};

struct TOmitido {
  QString Nombre;
  QString Motivo;
};

struct TCarpeta_Entregas {
  std::vector<TEntrega> Entregas;  // sorted by name
  std::vector<TOmitido> Omitidos;  // sorted by name
  QString Error;  // the folder does not exist, is empty or holds nothing to grade
};

TCarpeta_Entregas Buscar_Entregas(const QString& carpeta);

struct TCorreccion_Entrega {
  TEntrega Entrega;
  std::vector<TResultado_Caso> Resultados;  // in the order of the cases
  TTotales Totales;
  QStringList Copias;  // the other submissions whose loaded words are the same
};

std::vector<TCorreccion_Entrega> Corregir_Entregas(const std::vector<TCaso>& casos,
                                                   const std::vector<TEntrega>& entregas, int hilos = 0);
