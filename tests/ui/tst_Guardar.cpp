// A student's work kept: a typed program saved and loaded back, the machine
// saved and opened again, a bad state file refused, and the session saved on
// exit and recovered at the next start.
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>

#include "Sesion.h"
#include "ui/Archivos.h"
#include "ui/Sesion_Trabajo.h"
#include "widgets/HListBox.h"
#include "widgets/hexeditor.h"

namespace {

// Answers the next dialog, which must be the named file dialog, with a path.
std::function<void(QWidget*)> Elegir(const QString& nombre, const QString& ruta) {
  return [=](QWidget* ventana) {
    auto* dialogo = qobject_cast<QFileDialog*>(ventana);
    QVERIFY(dialogo);
    QCOMPARE(dialogo->objectName(), nombre);
    dialogo->selectFile(ruta);
    QMetaObject::invokeMethod(dialogo, "accept");
  };
}

QStringList Lineas_Listado(TSesion& s) {
  QStringList lineas;
  for (const std::string& linea : s.E().Listado.Lineas()) lineas << QString::fromStdString(linea);
  return lineas;
}

}  // namespace

class tst_Guardar : public QObject {
  Q_OBJECT

  QTemporaryDir carpeta_;

  QString Archivo(const QString& nombre, const QByteArray& contenido = {}) {
    const QString ruta = carpeta_.filePath(nombre);
    if (!contenido.isEmpty()) {
      QFile archivo(ruta);
      if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) qFatal("cannot write");
    }
    return ruta;
  }

 private slots:
  // A home of its own: other screen tests save their sessions on exit too.
  void initTestCase() { qputenv("HOME", QFile::encodeName(carpeta_.path())); }

  // Three words at 0010 from the console, a load, a word typed in Memoria:
  // Ctrl+S writes them, and the file loads back to the same memory and a
  // listing of the same disassembly. Then the whole machine is saved, lost
  // to a power-off, and opened again; a foreign file changes nothing.
  void Guardar_Programa_y_Estado() {
    TSesion s;
    QVERIFY(!s.A(QStringLiteral("MRecuperar_Sesion"))->isEnabled());
    s.A(QStringLiteral("MGuardar_Programa"))->trigger();
    QCOMPARE(s.Operador.Mensajes, QStringList{QStringLiteral("No hay palabras escritas que guardar.")});

    s.Pulsar(QStringLiteral("BOnOff"));
    s.Cargar_Programa(QStringLiteral("0010"), {QStringLiteral("2105"), QStringLiteral("2206"), QStringLiteral("F000")});
    s.Operador.Acciones.push_back(Elegir(QStringLiteral("DAbrir"), Archivo(QStringLiteral("dos.EHC"), "5 1234\n6 2B07\n")));
    s.A(QStringLiteral("Cargarprogramaobjeto1"))->trigger();
    auto* memoria = s.W<THexEditor>(QStringLiteral("Memoria"));
    memoria->setFocus();
    memoria->MoveTo(2, 0x20);
    QTest::keyClicks(memoria, QStringLiteral("C000"));

    s.Operador.Acciones.push_back(Elegir(QStringLiteral("DGuardar"), Archivo(QStringLiteral("programa"))));
    // The offscreen platform leaves the closed load dialog active.
    QApplication::setActiveWindow(s.Veltra->Form1());
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_S, Qt::ControlModifier);
    QFile guardado(Archivo(QStringLiteral("programa.EHC")));
    QVERIFY(guardado.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(guardado.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas, (QStringList{"0005 1234 ; ST [RD+H'34], R2", "0006 2B07 ; LLI RB, H'07", "0010 2105 ; LLI R1, H'05",
                                  "0011 2206 ; LLI R2, H'06", "0012 F000 ; HALT", "0020 C000 ; BR"}));

    s.A(QStringLiteral("InicializarMemoria1"))->trigger();
    // Opened as a file given to VELTRA: the reused dialog's file model may not
    // list a file written a moment ago yet, and would keep its old selection.
    s.Veltra->Form1()->Archivos().Abrir(guardado.fileName());
    QStringList esperadas;
    for (const QString& linea : lineas) {
      esperadas << "[" + linea.left(4) + "]: " + linea.section(QStringLiteral(" ; "), 1);
      QCOMPARE(QString::fromStdString(s.E().Leer_Palabra(linea.left(4).toInt(nullptr, 16))), linea.mid(5, 4));
    }
    QCOMPARE(Lineas_Listado(s), esperadas);

    // Run to the HALT with a port and a flag set, then save the machine.
    s.E().Fijar_Valor(Visor_Salida(0x3F), "ABCD");
    s.Clic(QStringLiteral("Z_OFF"));
    s.Teclear(QStringLiteral("0010"));
    for (int i = 0; i < 3; ++i) s.Pulsar(i == 0 ? QStringLiteral("BEjecutar") : QStringLiteral("BContinuar"));
    QCOMPARE(s.Operador.Mensajes.size(), 2);  // Fin de la ejecución
    s.Operador.Acciones.push_back(Elegir(QStringLiteral("DGuardar_Estado"), Archivo(QStringLiteral("maquina"))));
    s.A(QStringLiteral("MGuardar_Estado"))->trigger();

    s.Pulsar(QStringLiteral("BOnOff"));
    QCOMPARE(s.V(QStringLiteral("R2")), QStringLiteral("****"));
    s.Operador.Acciones.push_back(Elegir(QStringLiteral("DAbrir_Estado"), Archivo(QStringLiteral("maquina.VELTRA"))));
    s.A(QStringLiteral("MAbrir_Estado"))->trigger();
    QCOMPARE(s.Operador.Mensajes.size(), 2);
    QCOMPARE(s.V(QStringLiteral("R2")), QStringLiteral("0006"));
    QVERIFY(!s.W(QStringLiteral("Z_ON"))->isHidden() && s.W(QStringLiteral("BCargar"))->isEnabled());
    QCOMPARE(s.A(QStringLiteral("MApagar_TORVIC"))->text(), QStringLiteral("Apagar TORVIC"));

    s.Operador.Acciones.push_back(Elegir(QStringLiteral("DAbrir_Estado"), Archivo(QStringLiteral("ajeno.VELTRA"), "{}")));
    s.A(QStringLiteral("MAbrir_Estado"))->trigger();
    QCOMPARE(s.Operador.Mensajes.last(),
             QStringLiteral("ERROR: El archivo de estado no es válido: no es un estado de TORVIC"));
    QCOMPARE(s.V(QStringLiteral("R2")), QStringLiteral("0006"));
  }

  // Closing the window saves the session; the next start recovers it, the
  // step timer's speed included.
  void Salir_y_Recuperar() {
    {
      TSesion s;
      s.Pulsar(QStringLiteral("BOnOff"));
      s.Teclear(QStringLiteral("BEEF"));
      s.E().Opciones_Entorno.Intervalo_Paso = 300;
      s.Veltra->Form1()->close();
    }
    TSesion s;
    QCOMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("****"));
    QVERIFY(s.A(QStringLiteral("MRecuperar_Sesion"))->isEnabled());
    s.A(QStringLiteral("MRecuperar_Sesion"))->trigger();
    QCOMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("BEEF"));
    QCOMPARE(s.Veltra->Form1()->findChild<QTimer*>(QStringLiteral("Reloj"))->interval(), 300);
    QVERIFY(s.Operador.Mensajes.isEmpty());
  }
};

QTEST_MAIN(tst_Guardar)
#include "tst_Guardar.moc"
