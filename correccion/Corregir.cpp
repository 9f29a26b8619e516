#include "Corregir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <optional>

#include "Entregas.h"
#include "Informes.h"
#include "Informes_Clase.h"
#include "core/TextoHex.h"
#include "core/Textos.h"
#include "objfiles/Lector_Lineas.h"

namespace {

constexpr int Salida_Pasan = 0;
constexpr int Salida_Fallan = 1;
constexpr int Salida_Error = 3;

int Fallar(const std::vector<std::string>& mensajes) {
  QTextStream err(stderr);
  for (const auto& mensaje : mensajes) err << "veltra-run: " << Q(mensaje) << "\n";
  return Salida_Error;
}

struct TArchivo_Casos {
  QByteArray Texto;
  TLectura_Casos Lectura;
};

// The case file read and checked; nothing, with every message printed, when
// it cannot be read or is wrong.
std::optional<TArchivo_Casos> Leer_Archivo_Casos(const QString& casos, bool solucion) {
  const std::string ruta = QFile::encodeName(casos).toStdString();
  const TArchivo_Entero archivo = Leer_Archivo_Entero(ruta);
  switch (archivo.Fallo) {
    case TArchivo_Entero::TFallo::Ninguno: break;
    case TArchivo_Entero::TFallo::Apertura: Fallar({"no se pudo abrir " + ruta + ": " + archivo.Motivo}); return {};
    case TArchivo_Entero::TFallo::Lectura: Fallar({"no se pudo leer " + ruta + ": " + archivo.Motivo}); return {};
    case TArchivo_Entero::TFallo::Demasiado_Grande: Fallar({ruta + " es demasiado grande (más de 64 MB)"}); return {};
  }
  TArchivo_Casos leido{QByteArray::fromStdString(archivo.Contenido), {}};
  leido.Lectura = Leer_Casos(leido.Texto, casos.toStdString(), solucion);
  if (!leido.Lectura.Errores.empty()) {
    Fallar(leido.Lectura.Errores);
    return {};
  }
  return leido;
}

bool Guardar(const QString& ruta, const QByteArray& texto, QString& error) {
  QSaveFile archivo(ruta);
  if (archivo.open(QIODevice::WriteOnly) && archivo.write(texto) == texto.size() && archivo.commit()) return true;
  error = archivo.errorString();
  return false;
}

// Everything the report of one program shows, gathered once.
struct TCorreccion {
  QString Programa;
  const std::vector<TCaso>& Casos;
  const std::vector<TResultado_Caso>& Resultados;
  TTotales Totales;

  double Obtenidos(std::size_t i) const { return ::Obtenidos(Casos[i], Resultados[i]); }
};

void Informe_Texto(QTextStream& out, const TCorreccion& c) {
  for (std::size_t i = 0; i < c.Casos.size(); ++i) {
    const TResultado_Caso& r = c.Resultados[i];
    out << (r.Pasa() ? "PASA " : "FALLA ") << Q(c.Casos[i].Nombre) << " (" << Texto_Puntos(c.Obtenidos(i)) << "/"
        << Texto_Puntos(c.Casos[i].Puntos) << ")";
    if (!r.Pasa()) out << ": " << Fallos(r).join(QStringLiteral("; "));
    out << "\n";
  }
  const TTotales& t = c.Totales;
  out << "Resultado: " << Q(Agrupar_Cifras(static_cast<uint64_t>(t.Pasan))) << " de "
      << Q(Cantidad(static_cast<uint64_t>(t.Casos), "caso", "casos")) << ", " << Texto_Puntos(t.Puntos) << " de "
      << Texto_Puntos(t.Posibles) << (t.Posibles == 1 ? " punto" : " puntos") << "\n";
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

// The case file with what the solution left for each key of `comprobar`
// that the case's `espera` does not already give.
QByteArray Casos_Completos(const QByteArray& texto, const std::vector<TCaso>& casos,
                           const std::vector<TResultado_Caso>& resultados) {
  QJsonObject raiz = QJsonDocument::fromJson(texto).object();
  QJsonArray lista = raiz.value(QLatin1String("casos")).toArray();
  for (qsizetype i = 0; i < lista.size(); ++i) {
    const auto n = static_cast<std::size_t>(i);
    const TEspera& escrita = casos[n].Espera;
    const TEspera& leido = resultados[n].Leido;
    QJsonObject caso = lista[i].toObject();
    QJsonObject espera = caso.value(QLatin1String("espera")).toObject();
    const auto agregar = [&](const char* grupo, const auto& valores, const auto& ya, auto clave, auto valor) {
      QJsonObject objeto = espera.value(QLatin1String(grupo)).toObject();
      for (const auto& nuevo : valores)
        if (std::none_of(ya.begin(), ya.end(), [&](const auto& par) { return par.first == nuevo.first; }))
          objeto.insert(clave(nuevo.first), valor(nuevo.second));
      if (!objeto.isEmpty()) espera.insert(QLatin1String(grupo), objeto);
    };
    const auto texto_valor = [](const std::string& palabra) { return QJsonValue(Q(palabra)); };
    if (leido.Parada && !espera.contains(QLatin1String("parada")))
      espera.insert(QLatin1String("parada"), QLatin1String(Nombre_Fin(*leido.Parada)));
    agregar("registros", leido.Registros, escrita.Registros, [](int visor) { return Q(Nombre_Registro(visor)); },
            texto_valor);
    agregar("banderas", leido.Banderas, escrita.Banderas,
            [](TBandera b) { return QString::fromLatin1(Nombre_Bandera(b)); }, [](int v) { return QJsonValue(v); });
    agregar("puertos_salida", leido.Salidas, escrita.Salidas,
            [](int puerto) { return Q(Palabra_a_Texto(puerto).substr(2)); }, texto_valor);
    agregar("memoria", leido.Memoria, escrita.Memoria, [](int32_t a) { return Q(Palabra_a_Texto(a)); }, texto_valor);
    caso.insert(QLatin1String("espera"), espera);
    lista[i] = caso;
  }
  raiz.insert(QLatin1String("casos"), lista);
  return Texto_Casos(raiz);
}

}  // namespace

int Corregir(const QString& casos, const QString& programa, bool json, const QString& junit) {
  const auto archivo = Leer_Archivo_Casos(casos, false);
  if (!archivo) return Salida_Error;
  const std::vector<TCaso>& lista = archivo->Lectura.Casos;
  const TPrograma_Casos programa_casos(QFile::encodeName(programa).toStdString());
  const std::vector<TResultado_Caso> resultados = Ejecutar_Casos(lista, programa_casos);
  const TCorreccion correccion{programa, lista, resultados, Totalizar(lista, resultados)};

  QTextStream out(stdout);
  if (json) out << QJsonDocument(Informe_Json(correccion)).toJson(QJsonDocument::Indented);
  else Informe_Texto(out, correccion);
  out.flush();
  QString motivo;
  if (!junit.isEmpty() && !Escribir_JUnit(junit, casos, programa, lista, resultados, {}, motivo))
    return Fallar({"no se pudo escribir " + junit.toStdString() + ": " + motivo.toStdString()});
  const TTotales& t = correccion.Totales;
  return t.Pasan == t.Casos ? Salida_Pasan : Salida_Fallan;
}

int Corregir_Entregas(const QString& casos, const QString& carpeta, const QString& csv, const QString& html,
                      const QString& junit) {
  const auto archivo = Leer_Archivo_Casos(casos, false);
  if (!archivo) return Salida_Error;
  const TCarpeta_Entregas entregas = Buscar_Entregas(carpeta);
  if (!entregas.Error.isEmpty()) {
    std::vector<std::string> mensajes{entregas.Error.toStdString()};
    for (const TOmitido& o : entregas.Omitidos) mensajes.push_back((o.Nombre + ": " + o.Motivo).toStdString());
    return Fallar(mensajes);
  }
  const std::vector<TCaso>& lista = archivo->Lectura.Casos;
  const std::vector<TCorreccion_Entrega> corregidas = Corregir_Entregas(lista, entregas.Entregas);
  const TClase clase{casos, carpeta, lista, corregidas, entregas.Omitidos};

  QTextStream out(stdout);
  out << Texto_Clase(clase);
  out.flush();
  std::vector<std::string> errores;
  QString motivo;
  const auto escribir = [&](const QString& ruta, const QByteArray& texto) {
    if (!ruta.isEmpty() && !Guardar(ruta, texto, motivo))
      errores.push_back("no se pudo escribir " + ruta.toStdString() + ": " + motivo.toStdString());
  };
  escribir(csv, CSV_Clase(clase));
  escribir(html, HTML_Clase(clase));
  if (!junit.isEmpty()) {
    if (!QDir().mkpath(junit)) errores.push_back("no se pudo crear la carpeta " + junit.toStdString());
    else
      for (const TCorreccion_Entrega& e : corregidas)
        if (const QString ruta = QDir(junit).filePath(e.Entrega.Entrada + QStringLiteral(".xml"));
            !Escribir_JUnit(ruta, casos, e.Entrega.Nombre, lista, e.Resultados, e.Copias, motivo))
          errores.push_back("no se pudo escribir " + ruta.toStdString() + ": " + motivo.toStdString());
  }
  if (!errores.empty()) return Fallar(errores);
  return clase.Todas_Pasan() ? Salida_Pasan : Salida_Fallan;
}

int Completar_Casos(const QString& casos, const QString& solucion, const QString& salida) {
  const auto archivo = Leer_Archivo_Casos(casos, true);
  if (!archivo) return Salida_Error;
  const std::vector<TCaso>& lista = archivo->Lectura.Casos;
  const std::vector<TResultado_Caso> resultados =
      Ejecutar_Casos(lista, TPrograma_Casos(QFile::encodeName(solucion).toStdString()));
  // The solution must pass what the cases already expect, HALT by default.
  QTextStream out(stdout);
  int fallan = 0;
  for (std::size_t i = 0; i < lista.size(); ++i)
    if (!resultados[i].Pasa()) {
      ++fallan;
      out << "FALLA " << Q(lista[i].Nombre) << ": " << Fallos(resultados[i]).join(QStringLiteral("; ")) << "\n";
    }
  if (fallan > 0) {
    out << "La solución falla " << Q(Cantidad(static_cast<uint64_t>(fallan), "caso", "casos")) << ": no se escribe "
        << salida << "\n";
    return Salida_Fallan;
  }
  QString motivo;
  if (!Guardar(salida, Casos_Completos(archivo->Texto, lista, resultados), motivo))
    return Fallar({"no se pudo escribir " + salida.toStdString() + ": " + motivo.toStdString()});
  out << "Esperas de " << Q(Cantidad(lista.size(), "caso", "casos")) << " escritas en " << salida << "\n";
  return Salida_Pasan;
}
