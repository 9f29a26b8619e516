#include "Corregir.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamWriter>

#include "Correccion.h"
#include "objfiles/Lector_Lineas.h"

namespace {

constexpr int Salida_Pasan = 0;
constexpr int Salida_Fallan = 1;
constexpr int Salida_Error = 3;

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// A machine's message on one line: "\r" breaks lines in its boxes.
QString En_Una_Linea(const std::string& mensaje) {
  static const QRegularExpression salto(QStringLiteral(" ?\r"));
  return Q(mensaje).replace(salto, QStringLiteral(" "));
}

QString Puntos(double puntos) { return QString::number(puntos); }

// Why a case fails: the program's load errors, else its differences.
QStringList Fallos(const TResultado_Caso& resultado) {
  QStringList fallos;
  for (const auto& mensaje : resultado.Errores_Carga) fallos << En_Una_Linea(mensaje);
  for (const auto& diferencia : resultado.Diferencias) fallos << Q(Texto_Diferencia(diferencia));
  return fallos;
}

struct TTotales {
  int Casos = 0;
  int Pasan = 0;
  double Puntos = 0;
  double Posibles = 0;
};

// Everything a report shows, gathered once.
struct TCorreccion {
  QString Archivo_Casos;
  QString Programa;
  const std::vector<TCaso>& Casos;
  const std::vector<TResultado_Caso>& Resultados;
  TTotales Totales;

  double Obtenidos(std::size_t i) const { return Resultados[i].Pasa() ? Casos[i].Puntos : 0; }
};

void Informe_Texto(QTextStream& out, const TCorreccion& c) {
  for (std::size_t i = 0; i < c.Casos.size(); ++i) {
    const TResultado_Caso& r = c.Resultados[i];
    out << (r.Pasa() ? "PASA " : "FALLA ") << Q(c.Casos[i].Nombre) << " (" << Puntos(c.Obtenidos(i)) << "/"
        << Puntos(c.Casos[i].Puntos) << ")";
    if (!r.Pasa()) out << ": " << Fallos(r).join(QStringLiteral("; "));
    out << "\n";
  }
  out << "Resultado: " << c.Totales.Pasan << " de " << c.Totales.Casos << " casos, " << Puntos(c.Totales.Puntos)
      << " de " << Puntos(c.Totales.Posibles) << " puntos\n";
}

QJsonArray Arreglo(const std::vector<std::string>& textos) {
  QJsonArray arreglo;
  for (const auto& texto : textos) arreglo.append(Q(texto));
  return arreglo;
}

QJsonObject Informe_Json(const TCorreccion& c) {
  QJsonArray casos;
  for (std::size_t i = 0; i < c.Casos.size(); ++i) {
    const TResultado_Caso& r = c.Resultados[i];
    QJsonArray diferencias;
    for (const auto& d : r.Diferencias)
      diferencias.append(QJsonObject{{"clave", Q(d.Clave)}, {"obtenido", Q(d.Obtenido)}, {"esperado", Q(d.Esperado)}});
    casos.append(QJsonObject{
        {"nombre", Q(c.Casos[i].Nombre)},
        {"pasa", r.Pasa()},
        {"puntos", c.Obtenidos(i)},
        {"puntos_posibles", c.Casos[i].Puntos},
        {"parada", r.Fin ? QJsonValue(QLatin1String(Nombre_Fin(*r.Fin))) : QJsonValue()},
        {"instrucciones", static_cast<qint64>(r.Pasos)},
        {"diferencias", diferencias},
        {"errores_carga", Arreglo(r.Errores_Carga)},
        {"mensajes", Arreglo(r.Mensajes)},
    });
  }
  const TTotales& t = c.Totales;
  return {{"programa", c.Programa},
          {"casos", casos},
          {"resultado", QJsonObject{{"casos", t.Casos}, {"pasan", t.Pasan}, {"puntos", t.Puntos},
                                    {"puntos_posibles", t.Posibles}}}};
}

// One test suite named after the case file, one test case per case, named
// after the case and classed by the program, so that the reports of a whole
// class can be gathered.
bool Escribir_JUnit(const QString& ruta, const TCorreccion& c, QString& error) {
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) {
    error = archivo.errorString();
    return false;
  }
  QXmlStreamWriter xml(&archivo);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("testsuite"));
  xml.writeAttribute(QStringLiteral("name"), QFileInfo(c.Archivo_Casos).fileName());
  xml.writeAttribute(QStringLiteral("tests"), QString::number(c.Totales.Casos));
  xml.writeAttribute(QStringLiteral("failures"), QString::number(c.Totales.Casos - c.Totales.Pasan));
  xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
  xml.writeStartElement(QStringLiteral("properties"));
  for (const auto& [nombre, valor] : {std::pair{"programa", c.Programa}, {"puntos", Puntos(c.Totales.Puntos)},
                                      {"puntos_posibles", Puntos(c.Totales.Posibles)}}) {
    xml.writeStartElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(nombre));
    xml.writeAttribute(QStringLiteral("value"), valor);
    xml.writeEndElement();
  }
  xml.writeEndElement();
  const QString clase = QFileInfo(c.Programa).fileName();
  for (std::size_t i = 0; i < c.Casos.size(); ++i) {
    const TResultado_Caso& r = c.Resultados[i];
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("name"), Q(c.Casos[i].Nombre));
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

}  // namespace

int Corregir(const QString& casos, const QString& programa, bool json, const QString& junit) {
  QTextStream err(stderr);
  const auto fallar = [&](const std::vector<std::string>& mensajes) {
    for (const auto& mensaje : mensajes) err << "veltra-run: " << Q(mensaje) << "\n";
    return Salida_Error;
  };
  const std::string ruta_casos = QFile::encodeName(casos).toStdString();
  const TArchivo_Entero archivo = Leer_Archivo_Entero(ruta_casos);
  switch (archivo.Fallo) {
    case TArchivo_Entero::TFallo::Ninguno: break;
    case TArchivo_Entero::TFallo::Apertura: return fallar({"no se pudo abrir " + ruta_casos + ": " + archivo.Motivo});
    case TArchivo_Entero::TFallo::Lectura: return fallar({"no se pudo leer " + ruta_casos + ": " + archivo.Motivo});
    case TArchivo_Entero::TFallo::Demasiado_Grande:
      return fallar({ruta_casos + " es demasiado grande (más de 64 MB)"});
  }
  const TLectura_Casos lectura = Leer_Casos(QByteArray::fromStdString(archivo.Contenido), casos.toStdString());
  if (!lectura.Errores.empty()) return fallar(lectura.Errores);

  const TPrograma_Casos programa_casos(QFile::encodeName(programa).toStdString());
  const std::vector<TResultado_Caso> resultados = Ejecutar_Casos(lectura.Casos, programa_casos);
  TCorreccion correccion{casos, programa, lectura.Casos, resultados, {}};
  TTotales& t = correccion.Totales;
  for (std::size_t i = 0; i < resultados.size(); ++i) {
    ++t.Casos;
    t.Pasan += resultados[i].Pasa() ? 1 : 0;
    t.Puntos += correccion.Obtenidos(i);
    t.Posibles += lectura.Casos[i].Puntos;
  }

  QTextStream out(stdout);
  if (json) out << QJsonDocument(Informe_Json(correccion)).toJson(QJsonDocument::Indented);
  else Informe_Texto(out, correccion);
  out.flush();
  QString motivo;
  if (!junit.isEmpty() && !Escribir_JUnit(junit, correccion, motivo))
    return fallar({"no se pudo escribir " + junit.toStdString() + ": " + motivo.toStdString()});
  return t.Pasan == t.Casos ? Salida_Pasan : Salida_Fallan;
}
