#include <QtTest>

#include <random>

#include "core/Listado.h"

namespace {

// The selection a line-by-line scan would give: the last line containing the key.
int Escaneo(const TListado& listado, const std::string& clave, int anterior) {
  int seleccion = anterior;
  for (int i = 0; i < listado.Numero_Lineas(); ++i)
    if (listado.Linea(i).find(clave) != std::string::npos) seleccion = i;
  return seleccion;
}

class TObservador_Contador : public TObservador_Listado {
 public:
  int Insertadas = 0, Eliminadas = 0, Reinicios = 0, Borrados = 0, Selecciones = 0;
  void Linea_Insertada(int) override { ++Insertadas; }
  void Linea_Eliminada(int) override { ++Eliminadas; }
  void Lineas_Reiniciadas() override { ++Reinicios; }
  void Listado_Borrado() override { ++Borrados; }
  void Seleccion_Cambiada(int) override { ++Selecciones; }
};

}  // namespace

class tst_Listado : public QObject {
  Q_OBJECT

 private slots:
  void seleccion_por_direccion_data() {
    QTest::addColumn<QStringList>("lineas");
    QTest::addColumn<QString>("pc");
    QTest::addColumn<int>("seleccion");
    // Word keys are left to the index-versus-scan test.
    QTest::newRow("operand text counts") << QStringList{"[0000]: x", "[0010]: LD R2, [RD+H'10]"} << "RD+H'10" << 1;
    QTest::newRow("lower case is another key") << QStringList{"[00ff]: x", "[00FF]: y"} << "00ff" << 0;
    QTest::newRow("empty PC text") << QStringList{"[]: a", "[0001]: b"} << "" << 0;
    QTest::newRow("key inside text") << QStringList{"x[0005]y", "[0006]"} << "0005" << 0;
  }
  void seleccion_por_direccion() {
    QFETCH(QStringList, lineas);
    QFETCH(QString, pc);
    QFETCH(int, seleccion);
    TListado listado;
    for (const QString& l : lineas) listado.Agregar(l.toStdString());
    listado.Seleccionar(1);
    listado.Seleccionar_Direccion(pc.toStdString());
    QCOMPARE(listado.Seleccion(), seleccion);
  }

  // The index must give the scan's answer under every kind of change.
  void indice_igual_al_escaneo() {
    std::mt19937 azar(5);
    TListado listado;
    auto palabra = [&] {
      static const char* d = "0123456789ABCDEF";
      std::string t;
      for (int i = 0; i < 4; ++i) t += d[azar() % 3];
      return t;
    };
    for (int paso = 0; paso < 3000; ++paso) {
      switch (azar() % 6) {
        case 0: listado.Agregar("[" + palabra() + "]: " + palabra()); break;
        case 1: listado.Eliminar(static_cast<int>(azar() % 20)); break;
        case 2: listado.Reemplazar(static_cast<int>(azar() % 20), "[" + palabra() + "]: [" + palabra() + "]"); break;
        case 3: listado.Fijar_Ordenado(azar() % 2); break;
        case 4: if (azar() % 50 == 0) listado.Clear(); break;
        default: break;
      }
      const std::string pc = palabra();
      const int esperada = Escaneo(listado, "[" + pc + "]", listado.Seleccion());
      listado.Seleccionar_Direccion(pc);
      QCOMPARE(listado.Seleccion(), esperada);
    }
  }

  void orden_y_seleccion() {
    TListado listado;
    listado.Agregar("[0010]: c");
    listado.Agregar("[0002]: a");
    listado.Seleccionar(0);
    listado.Fijar_Ordenado(true);  // sorts what is there; selection follows
    QCOMPARE(listado.Linea(0), std::string("[0002]: a"));
    QCOMPARE(listado.Seleccion(), 1);
    QCOMPARE(listado.Agregar("[000A]: b"), 1);
    QCOMPARE(listado.Seleccion(), 2);
    QCOMPARE(listado.Agregar("[000a]: b2"), 2);  // sorting ignores case
    listado.Eliminar(0);
    QCOMPARE(listado.Seleccion(), 2);
    listado.Eliminar(2);
    QCOMPARE(listado.Seleccion(), -1);
    listado.Fijar_Ordenado(false);
    QCOMPARE(listado.Agregar("[0000]: z"), 2);
  }

  void notificaciones() {
    TListado listado;
    TObservador_Contador o;
    listado.Fijar_Observador(&o);
    for (int i = 0; i < 5; ++i) listado.Agregar("[000" + std::to_string(i) + "]");
    listado.Reemplazar_Todas({"a", "b"});
    listado.Vaciar_Linea_a_Linea();
    listado.Agregar("x");
    listado.Clear();
    listado.Eliminar(0);  // nothing to delete
    listado.Seleccionar(3);  // out of range: ignored
    QCOMPARE(o.Insertadas, 6);
    QCOMPARE(o.Reinicios, 2);
    QCOMPARE(o.Borrados, 1);
    QCOMPARE(o.Eliminadas, 0);
    QCOMPARE(o.Selecciones, 0);
    QCOMPARE(listado.Numero_Lineas(), 0);
  }
};

QTEST_APPLESS_MAIN(tst_Listado)
#include "tst_Listado.moc"
