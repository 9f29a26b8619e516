// A student opening programs every way VELTRA offers, and the settings that
// remember them. The loads' rules are tested below the windows.
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "Sesion.h"
#include "ui/Ajustes.h"
#include "widgets/HListBox.h"

namespace {

QStringList Listado(TSesion& s) {
  QStringList lineas;
  auto* modelo = s.W<THListBox>(QStringLiteral("Listado"))->model();
  for (int fila = 0; fila < modelo->rowCount(); ++fila) lineas << modelo->index(fila, 0).data().toString();
  return lineas;
}

// The objectNames of a menu's items, or their paths for the recent programs.
QStringList Items(TSesion& s, const char* menu) {
  QStringList items;
  for (QAction* accion : s.Veltra->Form1()->findChild<QMenu*>(QLatin1String(menu))->actions())
    items << (accion->data().isValid() ? accion->data().toString() : accion->objectName());
  return items;
}

void Escribir(const QString& ruta, const QByteArray& bytes) {
  QFile archivo(ruta);
  QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
  archivo.write(bytes);
}

// Drags `rutas` over the main window and, when it takes them, drops them.
bool Soltar(TSesion& s, const QStringList& rutas) {
  QMimeData datos;
  for (const QString& ruta : rutas) datos.setUrls(datos.urls() << QUrl::fromLocalFile(ruta));
  const QPoint centro = s.Veltra->Form1()->rect().center();
  QDragEnterEvent entrar(centro, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(s.Veltra->Form1(), &entrar);
  QDropEvent soltar(centro, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  return entrar.isAccepted() && QApplication::sendEvent(s.Veltra->Form1(), &soltar) && soltar.isAccepted();
}

}  // namespace

class tst_Archivos : public QObject {
  Q_OBJECT

 private slots:
  // Settings of this test's own, apart from the user's and from other tests running at once.
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ajustes_.path());
  }
  void init() { QSettings(QStringLiteral("VELTRA"), QStringLiteral("VELTRA")).clear(); }

  void Abrir_Programas() {
    QTemporaryDir carpeta;
    for (const char* ejemplo : {"CONTADOR.EHC", "SUMA.EHC", "SUMA.ASM"})
      QFile::copy(QStringLiteral(VELTRA_EXAMPLES "/") + ejemplo, carpeta.filePath(QLatin1String(ejemplo)));
    const QString contador = carpeta.filePath("CONTADOR.EHC"), suma_ehc = carpeta.filePath("SUMA.EHC"),
                  suma_asm = carpeta.filePath("SUMA.ASM"), mal = carpeta.filePath("MAL.asm");
    Escribir(mal, "  LLI R1, H'05\n  FOO R1\n  LLI RX, 1\n");

    // `veltra CONTADOR.EHC SUMA.EHC`: the first, once the window is up.
    TSesion s({contador, suma_ehc});
    QTRY_COMPARE(Listado(s).size(), 11);
    QVERIFY(s.A(QStringLiteral("MRecargar"))->isEnabled());
    QCOMPARE(Items(s, "PopArchivo"),
             (QStringList{"Cargarprogramaobjeto1", "MNuevo_Fuente", "MGuardar_Fuente", "MGuardar_Fuente_Como",
                          "MRecargar", "MRecientes", "MGuardar_Programa", "MGuardar_Estado", "MAbrir_Estado",
                          "MRecuperar_Sesion", "MArchivo_Separador", "MSalir_de_VELTRA"}));

    // Breakpoints belong to the program: another file takes them away.
    const auto Puntos = [&s] { return s.Veltra->Form1()->property("puntos_ruptura").toStringList(); };
    const auto Estado = [&s] { return s.W<QLabel>(QStringLiteral("Estado_Ejecucion"))->text(); };
    s.E().Puntos_Ruptura.Poner(0x0004);
    s.E().Puntos_Ruptura.Poner(0x0005);

    // Only programs may be dropped; of several files the first one loads.
    QVERIFY(!Soltar(s, {carpeta.filePath(QStringLiteral("NOTAS.TXT")), suma_ehc}));
    QCOMPARE(Puntos(), (QStringList{"0004", "0005"}));
    QVERIFY(Soltar(s, {suma_ehc, contador}));
    QTRY_COMPARE(Listado(s).size(), 9);
    QCOMPARE(Puntos(), QStringList());
    QCOMPARE(Estado(), QStringLiteral("Se han quitado 2 puntos de ruptura del programa anterior"));
    s.E().Puntos_Ruptura.Poner(0x0004);
    const QStringList listado_suma = Listado(s);

    // A source with errors: one box with both, nothing loaded.
    for (int32_t a = 0; a < 0x12; ++a) s.E().Escribir_Palabra(a, "0000");
    QVERIFY(Soltar(s, {mal}));
    QTRY_COMPARE(s.Operador.Mensajes, QStringList{"ERROR: El programa tiene errores de ensamblado:\n2:3: instrucción o "
                                                  "directiva desconocida: FOO\n3:7: se esperaba un registro R0..RF"});
    QCOMPARE(Listado(s), listado_suma);
    QCOMPARE(s.E().Leer_Palabra(0x10), std::string("0000"));
    QCOMPARE(Puntos(), QStringList{"0004"});  // nothing was loaded

    // A correct source from the dialog, which opens in the last program's folder.
    s.Operador.Acciones.push_back([&](QWidget* dialogo) {
      auto* abrir = qobject_cast<QFileDialog*>(dialogo);
      QCOMPARE(abrir->directory().absolutePath(), QDir(carpeta.path()).absolutePath());
      QCOMPARE(abrir->nameFilters().value(2), QStringLiteral("Programa en ensamblador (*.ASM *.asm)"));
      abrir->selectNameFilter(abrir->nameFilters()[2]);
      abrir->selectFile(suma_asm);
      QMetaObject::invokeMethod(abrir, "accept");
    });
    s.A(QStringLiteral("Cargarprogramaobjeto1"))->trigger();
    QCOMPARE(Listado(s), listado_suma);
    QCOMPARE(s.E().Leer_Palabra(0x10), std::string("1234"));
    QCOMPARE(Estado(), QStringLiteral("Se ha quitado 1 punto de ruptura del programa anterior"));
    s.E().Puntos_Ruptura.Poner(0x0003);

    // Edited elsewhere, then Ctrl+R.
    QFile fuente(suma_asm);
    QVERIFY(fuente.open(QIODevice::ReadOnly));
    Escribir(suma_asm, fuente.readAll().replace("DW H'1234", "DW H'4321"));
    s.Veltra->Form1()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), s.Veltra->Form1());
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(s.E().Leer_Palabra(0x10), std::string("4321"));
    QCOMPARE(Puntos(), QStringList{"0003"});  // the same file again

    // Most recent first, each once; one removed from disk is dropped when chosen.
    QCOMPARE(Items(s, "MRecientes"), (QStringList{suma_asm, mal, suma_ehc, contador}));
    QVERIFY(QFile::remove(suma_ehc));
    const QStringList antes = Listado(s);
    s.Veltra->Form1()->findChild<QMenu*>(QStringLiteral("MRecientes"))->actions()[2]->trigger();
    QCOMPARE(s.Operador.Mensajes.value(1), "ERROR: El archivo " + suma_ehc + " ya no existe.\nSe quita de los programas recientes.");
    QCOMPARE(Items(s, "MRecientes"), (QStringList{suma_asm, mal, contador}));
    QCOMPARE(Listado(s), antes);

    // The size for a projector is kept for the next start.
    QCOMPARE(Items(s, "PopEntorno").mid(5, 3),
             (QStringList{"MEsconderMostrarlosregistrosdeentrada1", "EsconderMostrarpuertosdesalida1", "MVer_Fuente"}));
    QCOMPARE(Items(s, "PopEntorno").mid(12), (QStringList{"N5", "Ampliacion", "MTema", "N6", "MMarcar_Cambios"}));
    QVERIFY(s.A(QStringLiteral("Ampliacion_100"))->isChecked());
    s.A(QStringLiteral("Ampliacion_150"))->trigger();
    QCOMPARE(s.Operador.Mensajes.last(), QStringLiteral("El nuevo tamaño se aplicará la próxima vez que se abra VELTRA."));
    QCOMPARE(TAjustes().Ampliacion(), 150);
  }

  // A damaged settings file reads as the defaults; stray entries are dropped.
  void Ajustes_Danados_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QStringList>("recientes");
    QTest::addColumn<int>("ampliacion");
    QTest::newRow("binary") << QByteArray("\x00\xFF\xFE[General\n\x01=\x02", 14) << QStringList{} << 100;
    QTest::newRow("nonsense") << QByteArray("[General]\nRecientes=@Rect(1 2 3 4)\nCarpeta=@Invalid()\nAmpliacion=175\n")
                              << QStringList{} << 100;
    QTest::newRow("one path") << QByteArray("[General]\nRecientes=/p/A.ASM\nAmpliacion=200\n") << QStringList{"/p/A.ASM"} << 200;
    QTest::newRow("non-strings among paths")
        << QByteArray("[General]\nRecientes=@Rect(1 2 3 4), /p/A.EHC, @Invalid(), , /p/A.EHC, 2, 3, 4, 5, 6, 7, 8, 9\n")
        << QStringList{"/p/A.EHC", "2", "3", "4", "5", "6", "7", "8"} << 100;
  }
  void Ajustes_Danados() {
    QFETCH(QByteArray, contenido);
    QFETCH(QStringList, recientes);
    QFETCH(int, ampliacion);
    const QString ruta = QSettings(QStringLiteral("VELTRA"), QStringLiteral("VELTRA")).fileName();
    QVERIFY(ruta.startsWith(ajustes_.path()) && QDir().mkpath(QFileInfo(ruta).absolutePath()));
    Escribir(ruta, contenido);
    TAjustes ajustes;
    QCOMPARE(ajustes.Recientes(), recientes);
    QCOMPARE(ajustes.Ampliacion(), ampliacion);
    QCOMPARE(ajustes.Carpeta_Ultimo_Programa(), QString());
    // Still usable: the next program is remembered.
    ajustes.Agregar_Reciente(QStringLiteral("/q/C.ASM"));
    QCOMPARE(TAjustes().Recientes().constFirst(), QStringLiteral("/q/C.ASM"));
    QCOMPARE(TAjustes().Carpeta_Ultimo_Programa(), QStringLiteral("/q"));
  }

 private:
  QTemporaryDir ajustes_;
};

QTEST_MAIN(tst_Archivos)
#include "tst_Archivos.moc"
