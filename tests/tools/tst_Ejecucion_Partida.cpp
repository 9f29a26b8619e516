// A run split by a saved state: N steps, the state through its file, then
// the rest from it, ends exactly where the one run ends.
#include <QRandomGenerator>
#include <QtTest>

#include "Ejecucion_Linea.h"
#include "core/TextoHex.h"
#include "estado/Archivo_Estado.h"

namespace {

// Words at 0000..003F from every instruction but HALT, with ports in range so
// that few programs stop at once; jumps land anywhere rD says.
std::vector<std::pair<int32_t, std::string>> Programa_Aleatorio(QRandomGenerator& azar) {
  std::vector<std::pair<int32_t, std::string>> palabras;
  for (int32_t a = 0; a < 0x40; ++a) {
    const uint32_t codigo = azar.bounded(15u);
    const uint32_t x = azar.bounded(16u);
    const uint32_t yy = codigo == 4 || codigo == 5 ? azar.bounded(0x40u) : azar.bounded(0x100u);
    palabras.emplace_back(a, Palabra_a_Texto(static_cast<int32_t>(codigo << 12 | x << 8 | yy)));
  }
  return palabras;
}

}  // namespace

class tst_Ejecucion_Partida : public QObject {
  Q_OBJECT

 private slots:
  void partida_igual_a_entera() {
    QRandomGenerator azar(18);
    int partidas = 0;
    for (int programa = 0; programa < 25; ++programa) {
      TPreparacion_Ejecucion entera;
      entera.Semilla = programa;
      entera.Max_Pasos = 300;
      entera.Palabras = Programa_Aleatorio(azar);
      TEjecucion_Linea una(entera);
      QVERIFY(una.Cargar());
      const TFin_Ejecucion fin = una.Ejecutar();
      if (una.Pasos() < 2) continue;

      TPreparacion_Ejecucion primera = entera;
      primera.Max_Pasos = 1 + azar.bounded(static_cast<quint32>(una.Pasos() - 1));
      TEjecucion_Linea antes(primera);
      QVERIFY(antes.Cargar());
      QCOMPARE(int(antes.Ejecutar()), int(TFin_Ejecucion::Max_Pasos));

      TPreparacion_Ejecucion segunda;
      std::string problema;
      segunda.Estado = Decodificar_Estado(Codificar_Estado(Capturar(antes.Entorno())), problema);
      QVERIFY2(segunda.Estado, problema.c_str());
      segunda.Max_Pasos = entera.Max_Pasos - primera.Max_Pasos;
      TEjecucion_Linea despues(segunda);
      QVERIFY(despues.Cargar());
      QCOMPARE(int(despues.Ejecutar()), int(fin));
      QCOMPARE(antes.Pasos() + despues.Pasos(), una.Pasos());
      QCOMPARE(Codificar_Estado(Capturar(despues.Entorno())), Codificar_Estado(Capturar(una.Entorno())));
      ++partidas;
    }
    QVERIFY(partidas > 18);
  }
};

QTEST_APPLESS_MAIN(tst_Ejecucion_Partida)
#include "tst_Ejecucion_Partida.moc"
