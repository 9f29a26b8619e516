// The .VELTRA file: a machine after a run comes back exactly, and every kind
// of bad file is refused with its message, the machine left as it was.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

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

struct TFila {
  const char* Nombre;
  std::function<void(QJsonObject&)> Cambio;  // on the file's JSON, or
  std::function<QByteArray(const QByteArray&)> Bytes;  // on its bytes
  const char* Problema;
};

QJsonObject Hijo(const QJsonObject& raiz, const char* clave) { return raiz[QLatin1String(clave)].toObject(); }

void Cambiar(QJsonObject& raiz, const char* objeto, const char* clave, const QJsonValue& valor) {
  QJsonObject hijo = Hijo(raiz, objeto);
  hijo[QLatin1String(clave)] = valor;
  raiz[QLatin1String(objeto)] = hijo;
}

const TFila Filas[] = {
    {"empty file", {}, [](const QByteArray&) { return QByteArray(); }, "no es JSON legible (carácter 0)"},
    {"truncated", {}, [](const QByteArray& b) { return b.left(b.size() / 2); }, nullptr},
    {"foreign", [](QJsonObject& r) { r["formato"] = "otro programa"; }, {}, "no es un estado de TORVIC"},
    {"future version", [](QJsonObject& r) { r["version"] = 2; }, {},
     "es de la versión 2, posterior a la 1 que lee este VELTRA"},
    {"value of five characters", [](QJsonObject& r) { Cambiar(r, "registros", "R3", "12345"); }, {},
     "el valor de R3 no son cuatro dígitos hexadecimales (12345)"},
    {"value not a text", [](QJsonObject& r) { Cambiar(r, "registros", "PC", 17); }, {}, "PC no es un texto"},
    {"port 40", [](QJsonObject& r) { Cambiar(r, "puertos_entrada", "40", "0000"); }, {},
     "el puerto «40» de «puertos_entrada» no está entre 00 y 3F"},
    {"port missing",
     [](QJsonObject& r) {
       QJsonObject p = Hijo(r, "puertos_salida");
       p.remove("3F");
       r["puertos_salida"] = p;
     },
     {}, "«puertos_salida» no tiene los 64 puertos de 00 a 3F"},
    {"memory short",
     [](QJsonObject& r) {
       QJsonArray m = r["memoria"].toArray();
       m.removeLast();
       r["memoria"] = m;
     },
     {}, "la memoria tiene 3839 líneas en lugar de 3840"},
    {"memory word not hex",
     [](QJsonObject& r) {
       QJsonArray m = r["memoria"].toArray();
       m[1] = m[1].toString().replace(6, 4, "12G4");
       r["memoria"] = m;
     },
     {}, "la línea 2 de la memoria no es «0010: » y 16 palabras"},
    {"flag 2", [](QJsonObject& r) { Cambiar(r, "banderas", "Z", 2); }, {}, "la bandera Z no es 0 ni 1"},
    {"mode 5", [](QJsonObject& r) { Cambiar(r, "opciones_entorno", "Modo_Consola", 5); }, {},
     "Modo_Consola no está entre 0 y 4"},
    {"speed not listed", [](QJsonObject& r) { Cambiar(r, "opciones_entorno", "Intervalo_Paso", 1234); }, {},
     "Intervalo_Paso no es una de las velocidades de paso"},
    {"field missing", [](QJsonObject& r) { r.remove("listado"); }, {}, "falta «listado»"},
    {"listing line foreign", [](QJsonObject& r) { Cambiar(r, "listado", "lineas", QJsonArray{"hola"}); }, {},
     "la línea 1 del listado no es [AAAA]: y una instrucción"},
    {"selection past the listing", [](QJsonObject& r) { Cambiar(r, "listado", "seleccion", 6); }, {},
     "la línea seleccionada del listado no existe"},
    {"written words unordered", [](QJsonObject& r) { r["palabras_escritas"] = QJsonArray{"0011", "0010"}; }, {},
     "las palabras escritas no son direcciones crecientes de 0000 a EFFF"},
    {"breakpoint in the monitor", [](QJsonObject& r) { r["puntos_ruptura"] = QJsonArray{"F000"}; }, {},
     "los puntos de ruptura no son direcciones crecientes de 0000 a EFFF"},
    {"written word in the monitor", [](QJsonObject& r) { r["palabras_escritas"] = QJsonArray{"F000"}; }, {},
     "las palabras escritas no son direcciones crecientes de 0000 a EFFF"},
};

}  // namespace

class tst_Archivo_Estado : public QObject {
  Q_OBJECT

  QTemporaryDir carpeta_;

  QString Escribir(const QByteArray& bytes) {
    const QString ruta = carpeta_.filePath(QStringLiteral("prueba.VELTRA"));
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(bytes) != bytes.size()) qFatal("cannot write");
    return ruta;
  }

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
    QVERIFY(!b.E.Historial.Vacio());
    b.Pantalla.Cambios_Panel = 0;
    QCOMPARE(Abrir_Estado(b.E, ruta), std::string());
    QCOMPARE(Estado(b.E), Estado(a.E));
    QCOMPARE(b.E.Puntos_Ruptura.Lista(), std::vector<int32_t>{0x0004});
    QVERIFY(b.E.Historial.Vacio());
    QVERIFY(b.Pantalla.Cambios_Panel > 0);
    const TPanel &pa = a.E.Panel, &pb = b.E.Panel;
    QCOMPARE(std::tie(pb.LOn, pb.LPP, pb.Teclas_Habilitadas, pb.BContinuar_Habilitado, pb.BPasoPaso_Habilitado,
                      pb.MModoPasoapaso_Habilitado, pb.Caption_MModoPasoapaso, pb.Caption_MApagar_TORVIC,
                      pb.Caption_Mododesensamblador1),
             std::tie(pa.LOn, pa.LPP, pa.Teclas_Habilitadas, pa.BContinuar_Habilitado, pa.BPasoPaso_Habilitado,
                      pa.MModoPasoapaso_Habilitado, pa.Caption_MModoPasoapaso, pa.Caption_MApagar_TORVIC,
                      pa.Caption_Mododesensamblador1));
  }

  void archivos_malos_data() {
    QTest::addColumn<int>("fila");
    for (int i = 0; i < int(std::size(Filas)); ++i) QTest::newRow(Filas[i].Nombre) << i;
  }
  void archivos_malos() {
    QFETCH(int, fila);
    const TFila& f = Filas[fila];
    TMaquina_Prueba origen;
    Ejecutar_Programa(origen);
    QByteArray bytes = Estado(origen.E);
    if (f.Bytes) {
      bytes = f.Bytes(bytes);
    } else {
      QJsonObject raiz = QJsonDocument::fromJson(bytes).object();
      f.Cambio(raiz);
      bytes = QJsonDocument(raiz).toJson();
    }

    TMaquina_Prueba m;
    const QByteArray antes = Estado(m.E);
    const std::string mensaje = Abrir_Estado(m.E, Escribir(bytes));
    const std::string esperado = std::string(Mensaje_Estado_No_Valido) + (f.Problema ? f.Problema : "no es JSON legible");
    QVERIFY2(mensaje.starts_with(esperado), mensaje.c_str());
    QCOMPARE(Estado(m.E), antes);
  }
};

QTEST_GUILESS_MAIN(tst_Archivo_Estado)
#include "tst_Archivo_Estado.moc"
