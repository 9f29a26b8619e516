#include "Informes_Clase.h"

#include <QFileInfo>

#include "core/Textos.h"

namespace {

QString Cantidad_Q(uint64_t n, const char* singular, const char* plural) { return Q(Cantidad(n, singular, plural)); }

// "5 de 7 puntos (3 de 4 casos)"
QString Nota(const TTotales& t) {
  return Decimal(t.Puntos, 2) + QStringLiteral(" de ") + Cantidad_Puntos(t.Posibles) + QStringLiteral(" (") +
         Q(Agrupar_Cifras(static_cast<uint64_t>(t.Pasan))) + QStringLiteral(" de ") +
         Cantidad_Q(static_cast<uint64_t>(t.Casos), "caso", "casos") + QLatin1Char(')');
}

// Why the program could not be graded (not loaded, a failure while grading).
QString Error_Carga(const TCorreccion_Entrega& e) {
  for (const TResultado_Caso& r : e.Resultados)
    if (!r.Errores_Carga.empty()) return Fallos(r).join(QStringLiteral("; "));
  return {};
}

// The stop of the first failing case; a program that did not load has none.
QString Parada_Primer_Fallo(const TCorreccion_Entrega& e) {
  for (const TResultado_Caso& r : e.Resultados)
    if (!r.Pasa()) return QLatin1String(r.Fin ? Nombre_Fin(*r.Fin) : "load_failed");
  return {};
}

QString Html(const QString& texto) { return texto.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")); }
QString Html(const std::string& texto) { return Html(Q(texto)); }

const char* const Estilo = R"(
body { font-family: sans-serif; margin: 2em; color: #1a1a1a; }
h1 { font-size: 1.5em; }
h2 { font-size: 1.15em; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #999; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
th { background: #e8e8e8; }
td.n { text-align: right; }
#resumen th { cursor: pointer; }
#resumen th[aria-sort=ascending]::after { content: " \25B2"; }
#resumen th[aria-sort=descending]::after { content: " \25BC"; }
tr.falla td.resultado { color: #8b0000; }
tr.pasa td.resultado { color: #005a00; }
.copia { color: #8b0000; font-weight: bold; }
section { page-break-inside: avoid; }
@media print { body { margin: 0; } #resumen th { cursor: auto; } a { color: inherit; text-decoration: none; } }
)";

// Sorts the summary by the column clicked, numbers by value; the page is
// already sorted by name without it. Written without '<' and '&', so the
// page stays well-formed XML.
const char* const Ordenar = R"(
document.querySelectorAll('#resumen th').forEach(function (th, columna) {
  th.addEventListener('click', function () {
    var cuerpo = document.querySelector('#resumen tbody');
    var sube = th.getAttribute('aria-sort') !== 'ascending';
    document.querySelectorAll('#resumen th').forEach(function (otro) { otro.removeAttribute('aria-sort'); });
    th.setAttribute('aria-sort', sube ? 'ascending' : 'descending');
    var valor = function (fila) {
      var celda = fila.cells[columna];
      return celda.hasAttribute('data-n') ? Number(celda.getAttribute('data-n')) : celda.textContent;
    };
    Array.from(cuerpo.rows).sort(function (a, b) {
      var x = valor(a), y = valor(b);
      var d = typeof x === 'number' ? x - y : x.localeCompare(y, 'es');
      return sube ? d : -d;
    }).forEach(function (fila) { cuerpo.appendChild(fila); });
  });
});
)";

}  // namespace

double TClase::Posibles() const { return Entregas.empty() ? 0 : Entregas.front().Totales.Posibles; }

double TClase::Media() const {
  double suma = 0;
  for (const TCorreccion_Entrega& e : Entregas) suma += e.Totales.Puntos;
  return Entregas.empty() ? 0 : suma / static_cast<double>(Entregas.size());
}

bool TClase::Todas_Pasan() const {
  return std::all_of(Entregas.begin(), Entregas.end(),
                     [](const TCorreccion_Entrega& e) { return e.Totales.Pasan == e.Totales.Casos; });
}

QString Texto_Clase(const TClase& clase) {
  QString texto;
  for (const TCorreccion_Entrega& e : clase.Entregas) {
    texto += e.Entrega.Nombre + QStringLiteral(": ") + Nota(e.Totales);
    if (const QString error = Error_Carga(e); !error.isEmpty()) texto += QStringLiteral(": ") + error;
    if (!e.Copias.isEmpty()) texto += QStringLiteral("; mismo programa que: ") + e.Copias.join(QStringLiteral(", "));
    texto += QLatin1Char('\n');
  }
  for (const TOmitido& o : clase.Omitidos) texto += o.Nombre + QStringLiteral(": omitido, ") + o.Motivo + QLatin1Char('\n');
  texto += QStringLiteral("Resultado: ") + Cantidad_Q(clase.Entregas.size(), "entrega", "entregas") +
           QStringLiteral(", media ") + Decimal(clase.Media(), 1) + QStringLiteral(" de ") +
           Cantidad_Puntos(clase.Posibles()) + QLatin1Char('\n');
  return texto;
}

QString Campo_CSV(const QString& texto) {
  QString campo = texto;
  if (!campo.isEmpty() && QStringLiteral("=+-@").contains(campo[0])) campo.prepend(QLatin1Char('\''));
  if (campo.contains(QLatin1Char(',')) || campo.contains(QLatin1Char('"')) || campo.contains(QLatin1Char('\r')) ||
      campo.contains(QLatin1Char('\n')))
    campo = QLatin1Char('"') + campo.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
  return campo;
}

QByteArray CSV_Clase(const TClase& clase) {
  QStringList cabecera{QStringLiteral("entrega")};
  for (const TCaso& caso : clase.Casos) cabecera << Campo_CSV(Q(caso.Nombre));
  cabecera << QStringLiteral("total") << QStringLiteral("parada del primer fallo")
           << QStringLiteral("mismo programa que");
  QString texto = cabecera.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  for (const TCorreccion_Entrega& e : clase.Entregas) {
    QStringList fila{Campo_CSV(e.Entrega.Nombre)};
    for (std::size_t i = 0; i < clase.Casos.size(); ++i) fila << Texto_Puntos(Obtenidos(clase.Casos[i], e.Resultados[i]));
    fila << Texto_Puntos(e.Totales.Puntos) << Parada_Primer_Fallo(e) << Campo_CSV(e.Copias.join(QStringLiteral(", ")));
    texto += fila.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  }
  return texto.toUtf8();
}

QByteArray HTML_Clase(const TClase& clase) {
  const QString casos = Html(QFileInfo(clase.Archivo_Casos).fileName());
  QString h = QStringLiteral("<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>Corrección con ") +
              casos + QStringLiteral("</title>\n<style>") + QLatin1String(Estilo) + QStringLiteral("</style>\n</head>\n<body>\n");
  h += QStringLiteral("<h1>Corrección con ") + casos + QStringLiteral("</h1>\n<p>") + Html(clase.Carpeta) +
       QStringLiteral(": ") + Cantidad_Q(clase.Entregas.size(), "entrega", "entregas") + QStringLiteral(", media ") +
       Decimal(clase.Media(), 1) + QStringLiteral(" de ") + Cantidad_Puntos(clase.Posibles()) + QStringLiteral(".</p>\n");

  h += QStringLiteral("<table id=\"resumen\">\n<thead><tr><th>Entrega</th>");
  for (const TCaso& caso : clase.Casos)
    h += QStringLiteral("<th>") + Html(caso.Nombre) + QStringLiteral(" (") + Decimal(caso.Puntos, 2) + QStringLiteral(")</th>");
  h += QStringLiteral("<th>Total</th><th>Casos</th><th>Mismo programa que</th></tr></thead>\n<tbody>\n");
  for (std::size_t n = 0; n < clase.Entregas.size(); ++n) {
    const TCorreccion_Entrega& e = clase.Entregas[n];
    h += QStringLiteral("<tr><td><a href=\"#e%1\">").arg(n + 1) + Html(e.Entrega.Nombre) + QStringLiteral("</a></td>");
    for (std::size_t i = 0; i < clase.Casos.size(); ++i) {
      const double puntos = Obtenidos(clase.Casos[i], e.Resultados[i]);
      h += QStringLiteral("<td class=\"n\" data-n=\"%1\">%2</td>").arg(Texto_Puntos(puntos), Decimal(puntos, 2));
    }
    h += QStringLiteral("<td class=\"n\" data-n=\"%1\">%2</td>").arg(Texto_Puntos(e.Totales.Puntos), Decimal(e.Totales.Puntos, 2));
    h += QStringLiteral("<td class=\"n\" data-n=\"%1\">%1</td>").arg(e.Totales.Pasan);
    h += QStringLiteral("<td class=\"copia\">") + Html(e.Copias.join(QStringLiteral(", "))) + QStringLiteral("</td></tr>\n");
  }
  h += QStringLiteral("</tbody>\n</table>\n");
  if (!clase.Omitidos.empty()) {
    h += QStringLiteral("<h2>Omitidos</h2>\n<ul>\n");
    for (const TOmitido& o : clase.Omitidos)
      h += QStringLiteral("<li>") + Html(o.Nombre) + QStringLiteral(": ") + Html(o.Motivo) + QStringLiteral("</li>\n");
    h += QStringLiteral("</ul>\n");
  }

  for (std::size_t n = 0; n < clase.Entregas.size(); ++n) {
    const TCorreccion_Entrega& e = clase.Entregas[n];
    h += QStringLiteral("<section id=\"e%1\">\n<h2>").arg(n + 1) + Html(e.Entrega.Nombre) + QStringLiteral(": ") +
         Nota(e.Totales) + QStringLiteral("</h2>\n");
    if (!e.Copias.isEmpty())
      h += QStringLiteral("<p class=\"copia\">Mismo programa que: ") + Html(e.Copias.join(QStringLiteral(", "))) +
           QStringLiteral("</p>\n");
    h += QStringLiteral("<table>\n<thead><tr><th>Caso</th><th>Puntos</th><th>Resultado</th></tr></thead>\n<tbody>\n");
    for (std::size_t i = 0; i < clase.Casos.size(); ++i) {
      const TResultado_Caso& r = e.Resultados[i];
      QStringList fallos;
      for (const QString& fallo : Fallos(r)) fallos << Html(fallo);
      h += QStringLiteral("<tr class=\"%1\"><td>").arg(r.Pasa() ? QStringLiteral("pasa") : QStringLiteral("falla")) +
           Html(clase.Casos[i].Nombre) + QStringLiteral("</td><td class=\"n\">") +
           Decimal(Obtenidos(clase.Casos[i], r), 2) + QStringLiteral(" de ") + Decimal(clase.Casos[i].Puntos, 2) +
           QStringLiteral("</td><td class=\"resultado\">") +
           (r.Pasa() ? QStringLiteral("pasa") : fallos.join(QStringLiteral("<br/>"))) + QStringLiteral("</td></tr>\n");
    }
    h += QStringLiteral("</tbody>\n</table>\n</section>\n");
  }
  h += QStringLiteral("<script>") + QLatin1String(Ordenar) + QStringLiteral("</script>\n</body>\n</html>\n");
  return h.toUtf8();
}
