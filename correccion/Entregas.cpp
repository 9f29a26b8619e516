#include "Entregas.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

#include "asm/Carga_Programa.h"

namespace {

const QString Extensiones = QStringLiteral("(.ASM, .EHC o .HEX)");

bool Es_Fuente(const QFileInfo& archivo) { return archivo.suffix().toUpper() == QLatin1String("ASM"); }
bool Es_Programa_Archivo(const QFileInfo& archivo) {
  return Es_Programa(QFile::encodeName(archivo.fileName()).toStdString());
}

template <class T>
void Ordenar_por_Nombre(std::vector<T>& lista) {
  std::sort(lista.begin(), lista.end(), [](const T& a, const T& b) {
    const int orden = a.Nombre.compare(b.Nombre, Qt::CaseInsensitive);
    return orden != 0 ? orden < 0 : a.Nombre < b.Nombre;
  });
}

QStringList Nombres(const QFileInfoList& archivos) {
  QStringList nombres;
  for (const QFileInfo& archivo : archivos) nombres << archivo.fileName();
  return nombres;
}

// A student's subfolder: its one source, else its one object file.
void Subcarpeta(const QFileInfo& carpeta, TCarpeta_Entregas& resultado) {
  QFileInfoList fuentes, objetos;
  for (const QFileInfo& archivo : QDir(carpeta.filePath()).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
    if (Es_Programa_Archivo(archivo)) (Es_Fuente(archivo) ? fuentes : objetos) << archivo;
  const QFileInfoList& elegidos = fuentes.isEmpty() ? objetos : fuentes;
  const QString nombre = carpeta.fileName() + QLatin1Char('/');
  if (elegidos.size() == 1)
    resultado.Entregas.push_back({nombre + elegidos[0].fileName(), elegidos[0].filePath(), carpeta.fileName()});
  else if (elegidos.isEmpty())
    resultado.Omitidos.push_back({nombre, QStringLiteral("no tiene ningún programa ") + Extensiones});
  else
    resultado.Omitidos.push_back(
        {nombre, QStringLiteral("tiene varios programas: ") + Nombres(elegidos).join(QStringLiteral(", "))});
}

}  // namespace

TCarpeta_Entregas Buscar_Entregas(const QString& ruta) {
  TCarpeta_Entregas resultado;
  const QFileInfo carpeta(ruta);
  if (!carpeta.exists()) {
    resultado.Error = QStringLiteral("no existe la carpeta ") + ruta;
    return resultado;
  }
  if (!carpeta.isDir()) {
    resultado.Error = ruta + QStringLiteral(" no es una carpeta");
    return resultado;
  }
  const QDir dir(ruta);
  if (!carpeta.isReadable() || !dir.isReadable()) {
    resultado.Error = QStringLiteral("no se puede leer la carpeta ") + ruta;
    return resultado;
  }
  const QFileInfoList entradas =
      dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
  // A source's object file beside it is the same student's work.
  QStringList fuentes;
  for (const QFileInfo& entrada : entradas)
    if (entrada.isFile() && Es_Fuente(entrada)) fuentes << entrada.completeBaseName().toUpper();
  for (const QFileInfo& entrada : entradas) {
    const QString nombre = entrada.fileName();
    if (entrada.isDir()) {
      Subcarpeta(entrada, resultado);
    } else if (!entrada.isFile()) {
      resultado.Omitidos.push_back({nombre, QStringLiteral("no es un archivo normal")});
    } else if (!Es_Programa_Archivo(entrada)) {
      resultado.Omitidos.push_back({nombre, QStringLiteral("no es un programa ") + Extensiones});
    } else if (!Es_Fuente(entrada) && fuentes.contains(entrada.completeBaseName().toUpper())) {
      resultado.Omitidos.push_back({nombre, QStringLiteral("se corrige su fuente (.ASM)")});
    } else {
      resultado.Entregas.push_back({nombre, entrada.filePath(), nombre});
    }
  }
  Ordenar_por_Nombre(resultado.Entregas);
  Ordenar_por_Nombre(resultado.Omitidos);
  if (entradas.isEmpty())
    resultado.Error = QStringLiteral("la carpeta ") + ruta + QStringLiteral(" está vacía");
  else if (resultado.Entregas.empty())
    resultado.Error = QStringLiteral("la carpeta ") + ruta + QStringLiteral(" no tiene ningún programa que corregir ") +
                      Extensiones;
  return resultado;
}

std::vector<TCorreccion_Entrega> Corregir_Entregas(const std::vector<TCaso>& casos,
                                                   const std::vector<TEntrega>& entregas, int hilos) {
  std::vector<TPrograma_Casos> programas;
  for (const TEntrega& entrega : entregas) programas.emplace_back(QFile::encodeName(entrega.Ruta).toStdString());
  auto resultados = Ejecutar_Programas(casos, programas, hilos);

  std::vector<TCorreccion_Entrega> correccion;
  std::map<std::string, QStringList> por_palabras;
  for (std::size_t i = 0; i < entregas.size(); ++i) {
    const TTotales totales = Totalizar(casos, resultados[i]);
    correccion.push_back({entregas[i], std::move(resultados[i]), totales, {}});
    const std::string& palabras = correccion.back().Resultados.front().Palabras_Cargadas;
    if (!palabras.empty()) por_palabras[palabras] << entregas[i].Nombre;
  }
  for (TCorreccion_Entrega& c : correccion) {
    const auto grupo = por_palabras.find(c.Resultados.front().Palabras_Cargadas);
    if (grupo == por_palabras.end()) continue;
    for (const QString& nombre : grupo->second)
      if (nombre != c.Entrega.Nombre) c.Copias << nombre;
  }
  return correccion;
}
