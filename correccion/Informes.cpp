#include "Informes.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <cmath>

TTotales Totalizar(const std::vector<TCaso>& casos, const std::vector<TResultado_Caso>& resultados) {
  TTotales t;
  for (std::size_t i = 0; i < resultados.size(); ++i) {
    ++t.Casos;
    t.Pasan += resultados[i].Pasa() ? 1 : 0;
    t.Puntos += Obtenidos(casos[i], resultados[i]);
    t.Posibles += casos[i].Puntos;
  }
  return t;
}

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

QString En_Una_Linea(const std::string& mensaje) {
  static const QRegularExpression salto(QStringLiteral(" ?\r"));
  return Q(mensaje).replace(salto, QStringLiteral(" "));
}

QStringList Fallos(const TResultado_Caso& resultado) {
  QStringList fallos;
  for (const auto& mensaje : resultado.Errores_Carga) fallos << En_Una_Linea(mensaje);
  for (const auto& diferencia : resultado.Diferencias) fallos << Q(Texto_Diferencia(diferencia));
  return fallos;
}

QString Texto_Puntos(double puntos) { return QString::number(puntos); }

QString Decimal(double valor, int decimales) {
  const double escala = std::pow(10.0, decimales);
  QString texto = QString::number(std::round(valor * escala) / escala, 'f', decimales);
  if (texto.contains(QLatin1Char('.'))) {
    while (texto.endsWith(QLatin1Char('0'))) texto.chop(1);
    if (texto.endsWith(QLatin1Char('.'))) texto.chop(1);
  }
  return texto.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString Cantidad_Puntos(double puntos) {
  return Decimal(puntos, 2) + (puntos == 1 ? QStringLiteral(" punto") : QStringLiteral(" puntos"));
}

bool Escribir_JUnit(const QString& ruta, const QString& archivo_casos, const QString& programa,
                    const std::vector<TCaso>& casos, const std::vector<TResultado_Caso>& resultados,
                    const QStringList& copias, QString& error) {
  const TTotales t = Totalizar(casos, resultados);
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) {
    error = archivo.errorString();
    return false;
  }
  QXmlStreamWriter xml(&archivo);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("testsuite"));
  xml.writeAttribute(QStringLiteral("name"), QFileInfo(archivo_casos).fileName());
  xml.writeAttribute(QStringLiteral("tests"), QString::number(t.Casos));
  xml.writeAttribute(QStringLiteral("failures"), QString::number(t.Casos - t.Pasan));
  xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
  xml.writeStartElement(QStringLiteral("properties"));
  std::vector<std::pair<const char*, QString>> propiedades{
      {"programa", programa}, {"puntos", Texto_Puntos(t.Puntos)}, {"puntos_posibles", Texto_Puntos(t.Posibles)}};
  if (!copias.isEmpty()) propiedades.emplace_back("mismo_programa_que", copias.join(QStringLiteral(", ")));
  for (const auto& [nombre, valor] : propiedades) {
    xml.writeStartElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(nombre));
    xml.writeAttribute(QStringLiteral("value"), valor);
    xml.writeEndElement();
  }
  xml.writeEndElement();
  const QString clase = QFileInfo(programa).fileName();
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const TResultado_Caso& r = resultados[i];
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("name"), Q(casos[i].Nombre));
    xml.writeAttribute(QStringLiteral("classname"), clase);
    if (!r.Pasa()) {
      const QStringList fallos = Fallos(r);
      xml.writeStartElement(QStringLiteral("failure"));
      xml.writeAttribute(QStringLiteral("message"), fallos.join(QStringLiteral("; ")));
      xml.writeAttribute(QStringLiteral("type"), QLatin1String(r.Errores_Carga.empty() ? "diferencias" : "carga"));
      xml.writeCharacters(fallos.join(QLatin1Char('\n')));
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndDocument();
  if (!xml.hasError() && archivo.commit()) return true;
  error = archivo.errorString();
  return false;
}
