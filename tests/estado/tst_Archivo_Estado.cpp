// The .VELTRA file: a machine after a run comes back exactly, and every kind
// of bad file is refused with its message, the machine left as it was.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "../core/Grabadora.h"
#include "estado/Archivo_Estado.h"
#include "objfiles/Cargador.h"

namespace {

// 0000 IN R1,05; OUT 3F,R1; SUBS R2,R0,R3 (S and C); LLI RD,10; CALL rD (a
// stack word at EFFF); 0010 HALT. Loaded, so listed and written.
void Ejecutar_Programa(TMaquina_Prueba& m) {
  TFuente_Memoria fuente("0 4105\n1 513F\n2 7203\n3 2D10\n4 D000\n10 F000\n");
  Vaciar_Listado_Carga(m.E);
  Cargar_Flujo(m.E, TFormato_Objeto::EHC, fuente, "prueba");
  m.E.Fijar_Valor(Visor_Entrada(5), "ABCD");
  m.Teclear("0000");
  m.E.BEjecutarClick();
  for (int i = 0; i < 5; ++i) m.E.BContinuarClick();
}

QByteArray Estado(const TEntorno& e) { return Codificar_Estado(Capturar(e)); }

// Sets the member at a path like "memoria/3839" or "registros/R3";
// an undefined value removes it.
QJsonValue Cambiar(QJsonValue raiz, QStringList ruta, const QJsonValue& valor) {
  const QString clave = ruta.takeFirst();
  if (raiz.isArray()) {
    QJsonArray arreglo = raiz.toArray();
    const int i = clave.toInt();
    if (ruta.isEmpty() && valor.isUndefined()) arreglo.removeAt(i);
    else arreglo[i] = ruta.isEmpty() ? valor : Cambiar(arreglo[i], ruta, valor);
    return arreglo;
  }
  QJsonObject objeto = raiz.toObject();
  if (ruta.isEmpty() && valor.isUndefined()) objeto.remove(clave);
  else objeto[clave] = ruta.isEmpty() ? valor : Cambiar(objeto[clave], ruta, valor);
  return objeto;
}

}  // namespace

class tst_Archivo_Estado : public QObject {
  Q_OBJECT

  QTemporaryDir carpeta_;

 private slots:
  // Restored over another machine, everything comes back, the panel is what
  // the machine itself left, and stepping back cannot cross the restore.
  void ida_y_vuelta() {
    TMaquina_Prueba a;
    Ejecutar_Programa(a);
    Comprobar(a.E, "r1=ABCD o3F=ABCD flags=0110 rE=EFFF mEFFF=0005 PC=0011");
    a.E.Listado.Seleccionar(2);
    a.E.Puntos_Ruptura.Poner(0x0004);
    const QString ruta = carpeta_.filePath(QStringLiteral("maquina.VELTRA"));
    QCOMPARE(Guardar_Estado(a.E, ruta), QString());

    TMaquina_Prueba b;
    b.E.BEjecutarClick();
    QCOMPARE(Abrir_Estado(b.E, ruta), std::string());
    QCOMPARE(Estado(b.E), Estado(a.E));
    QCOMPARE(b.E.Puntos_Ruptura.Lista(), std::vector<int32_t>{0x0004});
    QVERIFY(b.E.Historial.Vacio());
    const TPanel &pa = a.E.Panel, &pb = b.E.Panel;
    QCOMPARE(std::tie(pb.LOn, pb.LPP, pb.Teclas_Habilitadas, pb.BContinuar_Habilitado, pb.BPasoPaso_Habilitado,
                      pb.MModoPasoapaso_Habilitado, pb.Caption_MModoPasoapaso, pb.Caption_MApagar_TORVIC),
             std::tie(pa.LOn, pa.LPP, pa.Teclas_Habilitadas, pa.BContinuar_Habilitado, pa.BPasoPaso_Habilitado,
                      pa.MModoPasoapaso_Habilitado, pa.Caption_MModoPasoapaso, pa.Caption_MApagar_TORVIC));
  }

  void archivos_malos_data() {
    QTest::addColumn<QString>("ruta");  // empty: the file cut to `valor` bytes
    QTest::addColumn<QJsonValue>("valor");
    QTest::addColumn<QString>("problema");
    const QJsonValue quitar(QJsonValue::Undefined);
    QTest::newRow("empty") << "" << QJsonValue(0) << "no es un archivo de estado de VELTRA (no es JSON legible: carácter ";
    QTest::newRow("foreign") << "formato" << QJsonValue("otro") << "no es un estado de TORVIC";
    QTest::newRow("future") << "version" << QJsonValue(2) << "es de la versión 2, posterior a la 1 que lee este VELTRA";
    QTest::newRow("five characters") << "registros/R3" << QJsonValue("12345")
                                     << "el valor de R3 no son cuatro dígitos hexadecimales (12345)";
    QTest::newRow("port 40") << "puertos_entrada/40" << QJsonValue("0000")
                             << "el puerto «40» de «puertos_entrada» no está entre 00 y 3F";
    QTest::newRow("port missing") << "puertos_salida/3F" << quitar << "«puertos_salida» no tiene los 64 puertos de 00 a 3F";
    QTest::newRow("memory short") << "memoria/3839" << quitar << "la memoria tiene 3.839 líneas en lugar de 3.840";
    QTest::newRow("memory line") << "memoria/1" << QJsonValue("0010: 0000")
                                 << "la línea 2 de la memoria no es «0010: » y 16 palabras";
    QTest::newRow("flag 2") << "banderas/Z" << QJsonValue(2) << "la bandera Z no es 0 ni 1";
    QTest::newRow("mode 5") << "opciones_entorno/Modo_Consola" << QJsonValue(5) << "Modo_Consola no está entre 0 y 4";
    QTest::newRow("speed") << "opciones_entorno/Intervalo_Paso" << QJsonValue(1234)
                           << "Intervalo_Paso no es una de las velocidades de paso";
    QTest::newRow("missing") << "listado" << quitar << "falta «listado»";
    QTest::newRow("listing line") << "listado/lineas/0" << QJsonValue("hola")
                                  << "la línea 1 del listado no es [AAAA]: y una instrucción";
    QTest::newRow("selection") << "listado/seleccion" << QJsonValue(6) << "la línea seleccionada del listado no existe";
    QTest::newRow("words unordered") << "palabras_escritas" << QJsonValue(QJsonArray{"0011", "0010"})
                                     << "las palabras escritas no son direcciones crecientes de 0000 a EFFF";
    QTest::newRow("breakpoint F000") << "puntos_ruptura" << QJsonValue(QJsonArray{"F000"})
                                     << "los puntos de ruptura no son direcciones crecientes de 0000 a EFFF";
  }
  void archivos_malos() {
    QFETCH(QString, ruta);
    QFETCH(QJsonValue, valor);
    QFETCH(QString, problema);
    TMaquina_Prueba origen;
    Ejecutar_Programa(origen);
    QByteArray bytes = Estado(origen.E);
    if (ruta.isEmpty()) bytes.truncate(valor.toInt());
    else bytes = QJsonDocument(Cambiar(QJsonDocument::fromJson(bytes).object(), ruta.split('/'), valor).toObject()).toJson();
    QFile archivo(carpeta_.filePath(QStringLiteral("malo.VELTRA")));
    QVERIFY(archivo.open(QIODevice::WriteOnly) && archivo.write(bytes) == bytes.size());
    archivo.close();

    TMaquina_Prueba m;
    const QByteArray antes = Estado(m.E);
    const QString mensaje = QString::fromStdString(Abrir_Estado(m.E, archivo.fileName()));
    QVERIFY2(mensaje.startsWith(QString::fromUtf8(Mensaje_Estado_No_Valido) + problema), qPrintable(mensaje));
    QCOMPARE(Estado(m.E), antes);
  }
};

QTEST_GUILESS_MAIN(tst_Archivo_Estado)
#include "tst_Archivo_Estado.moc"
