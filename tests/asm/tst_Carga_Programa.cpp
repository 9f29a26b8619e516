// Opening a program by its path: sources assembled and loaded as their EHC
// files, sources with errors refused whole, object files as the command loads them.
#include <QtTest>

#include <QTemporaryDir>

#include "../core/Grabadora.h"
#include "asm/Carga_Programa.h"
#include "objfiles/Cargador.h"

namespace {

QStringList Lista(const std::vector<std::string>& textos) {
  QStringList lista;
  for (const auto& t : textos) lista << QString::fromStdString(t);
  return lista;
}

QString Escribir(const QTemporaryDir& carpeta, const QString& nombre, const QByteArray& bytes) {
  const QString ruta = carpeta.filePath(nombre);
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(ruta));
  return ruta;
}

QByteArray Desconocidas(int cuantas) {
  QByteArray fuente;
  for (int i = 1; i <= cuantas; ++i) fuente += " XX" + QByteArray::number(i) + "\n";
  return fuente;
}

QString Desconocida(int linea) { return QStringLiteral("%1:2: instrucción o directiva desconocida: XX%1").arg(linea); }

}  // namespace

class tst_Carga_Programa : public QObject {
  Q_OBJECT

 private slots:
  void Es_Programa_data() {
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<bool>("abre");
    for (const char* ruta : {"/a/SUMA.ASM", "suma.asm", "x.Asm", "P.EHC", "p.hex"}) QTest::newRow(ruta) << ruta << true;
    for (const char* ruta : {"SUMA.AS", "SUMA.ASM.txt", "ASM", "", "/a.ASM/x"}) QTest::newRow(ruta) << ruta << false;
  }
  void Es_Programa() {
    QFETCH(QString, ruta);
    QFETCH(bool, abre);
    QCOMPARE(::Es_Programa(ruta.toStdString()), abre);
  }

  // A source with errors: one box, memory and listing as they were.
  void Errores_data() {
    QTest::addColumn<QByteArray>("fuente");
    QTest::addColumn<QStringList>("lineas");
    QTest::newRow("two") << QByteArray("; dos\n  LLI R1, H'05\n  FOO R1\n  LLI RX, 1\n  HALT\n")
                         << QStringList{"3:3: instrucción o directiva desconocida: FOO",
                                        "4:7: se esperaba un registro R0..RF"};
    QStringList diez;
    for (int linea = 1; linea <= 10; ++linea) diez << Desconocida(linea);
    QTest::newRow("ten") << Desconocidas(10) << diez;
    QTest::newRow("eleven") << Desconocidas(11) << diez + QStringList{"... y 1 error más"};
    QTest::newRow("twelve") << Desconocidas(12) << diez + QStringList{"... y 2 errores más"};
  }
  void Errores() {
    QFETCH(QByteArray, fuente);
    QFETCH(QStringList, lineas);
    QTemporaryDir carpeta;
    TMaquina_Prueba m;
    m.E.Escribir_Palabra(0x0000, "ABCD");
    m.E.Listado.Agregar("[0000]: HALT");
    QCOMPARE(Cargar_Programa(m.E, Escribir(carpeta, "MAL.asm", fuente).toStdString()),
             TResultado_Carga::Errores_Ensamblado);
    QCOMPARE(Lista(m.Pantalla.Mensajes),
             QStringList{QStringLiteral("ERROR: El programa tiene errores de ensamblado:\r") + lineas.join('\r')});
    QCOMPARE(m.E.Leer_Palabra(0x0000), std::string("ABCD"));
    QCOMPARE(Lista(m.E.Listado.Lineas()), QStringList{"[0000]: HALT"});
  }

  // Each example's source loads as its EHC file: memory, listing, no box.
  void Fuente_como_EHC_data() {
    QTest::addColumn<QString>("nombre");
    for (const char* nombre : {"SUMA", "CONTADOR", "SUBRUTINA", "PUERTOS", "TECLADO"}) QTest::newRow(nombre) << nombre;
  }
  void Fuente_como_EHC() {
    QFETCH(QString, nombre);
    TMaquina_Prueba fuente, objeto;
    for (TMaquina_Prueba* m : {&fuente, &objeto}) m->E.Listado.Agregar("[0000]: HALT");
    const QString base = QStringLiteral(VELTRA_EXAMPLES "/") + nombre;
    QCOMPARE(Cargar_Programa(fuente.E, (base + ".ASM").toStdString()), TResultado_Carga::Cargado);
    QVERIFY(Cargar_Programa_Objeto(objeto.E, (base + ".EHC").toStdString()));
    QVERIFY(fuente.Pantalla.Mensajes.empty());
    QVERIFY(fuente.E.Listado.Numero_Lineas() > 1);
    QCOMPARE(Lista(fuente.E.Listado.Lineas()), Lista(objeto.E.Listado.Lineas()).mid(1));
    for (int32_t a = 0; a < Primera_Direccion_Monitor; ++a) QCOMPARE(fuente.E.Leer_Palabra(a), objeto.E.Leer_Palabra(a));
  }

  // Files that cannot be read: the command's boxes, the listing emptied.
  void No_Leido_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("missing source") << "NO.ASM"
                                    << "ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.";
    QTest::newRow("folder as source") << "CARPETA.ASM"
                                      << "ERROR: No se pudo leer el archivo %1\rMotivo: es una carpeta, no un archivo.";
    QTest::newRow("missing object") << "NO.EHC"
                                    << "ERROR: No se pudo abrir el archivo %1\rMotivo: el archivo no existe.";
    QTest::newRow("other extension") << "NOTAS.TXT" << "ERROR: Los archivos objeto deben tener extensión \r.HEX o .EHC";
  }
  void No_Leido() {
    QFETCH(QString, nombre);
    QFETCH(QString, mensaje);
    QTemporaryDir carpeta;
    QVERIFY(QDir(carpeta.path()).mkdir("CARPETA.ASM"));
    const QString ruta = carpeta.filePath(nombre);
    TMaquina_Prueba m;
    m.E.Listado.Agregar("[0000]: HALT");
    QCOMPARE(Cargar_Programa(m.E, ruta.toStdString()), TResultado_Carga::No_Leido);
    QCOMPARE(Lista(m.Pantalla.Mensajes), QStringList{mensaje.contains("%1") ? mensaje.arg(ruta) : mensaje});
    QCOMPARE(m.E.Listado.Numero_Lineas(), 0);
  }
};

QTEST_GUILESS_MAIN(tst_Carga_Programa)
#include "tst_Carga_Programa.moc"
