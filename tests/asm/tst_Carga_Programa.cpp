// An assembly source opened by its path: loaded as its EHC file, or refused
// whole with its errors. Object files take the load command's own tested way.
#include <QtTest>

#include <QTemporaryDir>

#include "../core/Grabadora.h"
#include "asm/Carga_Programa.h"
#include "objfiles/Cargador.h"

Q_DECLARE_METATYPE(TResultado_Carga)

class tst_Carga_Programa : public QObject {
  Q_OBJECT

 private slots:
  // Each example's source loads as its EHC file: memory, listing, no box.
  void Fuente_como_EHC_data() {
    QTest::addColumn<QString>("nombre");
    for (const char* nombre : {"SUMA", "CONTADOR", "SUBRUTINA", "PUERTOS", "TECLADO"}) QTest::newRow(nombre) << nombre;
  }
  void Fuente_como_EHC() {
    QFETCH(QString, nombre);
    TMaquina_Prueba fuente, objeto;
    fuente.E.Listado.Agregar("[0000]: HALT");
    const QString base = QStringLiteral(VELTRA_EXAMPLES "/") + nombre;
    QCOMPARE(Cargar_Programa(fuente.E, (base + ".ASM").toStdString()), TResultado_Carga::Cargado);
    QVERIFY(Cargar_Programa_Objeto(objeto.E, (base + ".EHC").toStdString()));
    QVERIFY(fuente.Pantalla.Mensajes.empty());
    QCOMPARE(fuente.E.Listado.Lineas(), objeto.E.Listado.Lineas());
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) QCOMPARE(fuente.E.Leer_Palabra(a), objeto.E.Leer_Palabra(a));
  }

  // Past ten errors the box counts the rest, and nothing changes; a source
  // that cannot be read gets the command's box and empties the listing.
  void Errores_data() {
    QTest::addColumn<int>("errores");  // -1: no file
    QTest::addColumn<TResultado_Carga>("resultado");
    QTest::addColumn<QString>("cola");
    QTest::newRow("eleven") << 11 << TResultado_Carga::Errores_Ensamblado << "\r... y 1 error más";
    QTest::newRow("twelve") << 12 << TResultado_Carga::Errores_Ensamblado << "\r... y 2 errores más";
    QTest::newRow("missing") << -1 << TResultado_Carga::No_Leido << "";
  }
  void Errores() {
    QFETCH(int, errores);
    QFETCH(TResultado_Carga, resultado);
    QFETCH(QString, cola);
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("MAL.asm"));
    QString mensaje = QStringLiteral("ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.").arg(ruta);
    if (errores >= 0) {
      QFile archivo(ruta);
      QVERIFY(archivo.open(QIODevice::WriteOnly));
      mensaje = QStringLiteral("ERROR: El programa tiene errores de ensamblado:");
      for (int linea = 1; linea <= errores; ++linea) {
        archivo.write(" XX" + QByteArray::number(linea) + "\n");
        if (linea <= 10) mensaje += QStringLiteral("\r%1:2: instrucción o directiva desconocida: XX%1").arg(linea);
      }
    }
    TMaquina_Prueba m;
    m.E.Escribir_Palabra(0x0000, "ABCD");
    m.E.Listado.Agregar("[0000]: HALT");
    QCOMPARE(Cargar_Programa(m.E, ruta.toStdString()), resultado);
    QCOMPARE(QString::fromStdString(m.Pantalla.Mensajes.at(0)), mensaje + cola);
    QCOMPARE(m.E.Leer_Palabra(0x0000), std::string("ABCD"));
    QCOMPARE(m.E.Listado.Numero_Lineas(), errores >= 0 ? 1 : 0);
  }
};

QTEST_GUILESS_MAIN(tst_Carga_Programa)
#include "tst_Carga_Programa.moc"
