// A student without a mouse, with a screen reader, and with the instruction
// set at hand: the menus from F10 and the arrows, the keypad from plain keys,
// Tab through the panels, what a reader hears before and after a step, and
// the instruction-set window's filter.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QtTest>

#include "Sesion.h"
#include "core/Juego_Instrucciones.h"
#include "objfiles/Cargador.h"
#include "widgets/HListBox.h"
#include "widgets/Lampara.h"
#include "widgets/Marco_Foco.h"
#include "widgets/hexeditor.h"

namespace {

QString Nombre(QObject* objeto) { return QAccessible::queryAccessibleInterface(objeto)->text(QAccessible::Name); }
QString Valor(QObject* objeto) { return QAccessible::queryAccessibleInterface(objeto)->text(QAccessible::Value); }

QMenu* Abierto(TSesion& s) {
  for (const char* nombre : {"PopArchivo", "PopEntorno", "pop_TORVIC"})
    if (auto* menu = s.W<QMenu>(QString::fromLatin1(nombre)); menu->isVisible()) return menu;
  return nullptr;
}

// The values a reader was told of, per widget name. Qt sends them only where
// the platform has an accessibility bridge (not offscreen): there a missing
// announcement fails.
QStringList Anunciados;
bool Anunciado(const QString& cambio) { return !QAccessible::isActive() || Anunciados.contains(cambio); }
void Anotar(QAccessibleEvent* evento) {
  if (evento->type() == QAccessible::ValueChanged)
    Anunciados << evento->object()->objectName() + QLatin1Char('=') +
                      static_cast<QAccessibleValueChangeEvent*>(evento)->value().toString();
}

}  // namespace

class tst_Accesibilidad : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QAccessible::installUpdateHandler(Anotar);
    QAccessible::setActive(true);
  }

  // F10 opens Archivo; Right and Left walk the three menus round; Escape
  // closes. Each item of each menu has a letter of its own, and its text
  // without the "&" is the one it had.
  void menus_desde_el_teclado() {
    TSesion s;
    auto* form1 = s.Veltra->Form1();
    QTest::keyClick(form1, Qt::Key_F10);
    QTRY_COMPARE(Abierto(s), s.W<QMenu>(QStringLiteral("PopArchivo")));
    const char* vuelta[] = {"PopEntorno", "pop_TORVIC", "PopArchivo"};
    for (const char* siguiente : vuelta) {
      QTest::keyClick(Abierto(s), Qt::Key_Right);
      QTRY_COMPARE(Abierto(s), s.W<QMenu>(QString::fromLatin1(siguiente)));
    }
    QTest::keyClick(Abierto(s), Qt::Key_Left);
    QTRY_COMPARE(Abierto(s), s.W<QMenu>(QStringLiteral("pop_TORVIC")));
    QMenu* torvic = Abierto(s);
    QStringList letras;
    for (QAction* accion : torvic->actions()) {
      if (accion->isSeparator()) continue;
      const qsizetype y = accion->text().indexOf(QLatin1Char('&'));
      QVERIFY2(y >= 0, qPrintable(accion->text()));
      letras << accion->text().at(y + 1).toLower();
    }
    QCOMPARE(QSet<QString>(letras.begin(), letras.end()).size(), letras.size());
    QCOMPARE(s.A(QStringLiteral("MJuego_Instrucciones"))->text().remove(QLatin1Char('&')),
             QStringLiteral("Juego de instrucciones"));
    QTest::keyClick(torvic, Qt::Key_Escape);
    QTRY_VERIFY(!Abierto(s));
    QTest::keyClick(form1, Qt::Key_F10);
    QTRY_VERIFY(Abierto(s));
    QCOMPARE(s.A(QStringLiteral("Cargarprogramaobjeto1"))->text().remove(QLatin1Char('&')),
             QStringLiteral("Cargar programa objeto (.HEX, EHC)"));
    QTest::keyClick(Abierto(s), Qt::Key_Escape);
    QTRY_VERIFY(!Abierto(s));

    // Ctrl+O is the load command's dialog.
    QString abierto;
    s.Operador.Acciones.push_back([&abierto](QWidget* dialogo) {
      abierto = dialogo->objectName();
      QMetaObject::invokeMethod(dialogo, "reject", Qt::QueuedConnection);
    });
    QTest::keyClick(form1, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(abierto, QStringLiteral("DAbrir"));
  }

  // A whole session from the keyboard: Alt+O switches on, plain digits on the
  // front panel reach the keypad (not from the memory panel), Tab reaches r1
  // and Enter edits it, Space on a flag lamp toggles the flag. A reader hears
  // the names and values before and after each step.
  void sesion_sin_raton() {
    TSesion s;
    auto* form1 = s.Veltra->Form1();
    auto* r1 = s.W<TDigitalDisplay>(QStringLiteral("R1"));
    auto* z = s.W<TLampara>(QStringLiteral("PZ_OFF"));
    QCOMPARE(Nombre(r1), QStringLiteral("r1"));
    QCOMPARE(Valor(r1), QStringLiteral("apagado"));
    QCOMPARE(Nombre(s.W(QStringLiteral("PPC"))), QStringLiteral("PC"));
    QCOMPARE(Nombre(s.W(QStringLiteral("IP1"))), QStringLiteral("Puerto de entrada 01"));
    QCOMPARE(Nombre(s.W(QStringLiteral("PO_3F"))), QStringLiteral("Puerto de salida 3F"));
    QCOMPARE(Nombre(z), QStringLiteral("Bandera Z"));
    auto* t5 = QAccessible::queryAccessibleInterface(s.W(QStringLiteral("T5")));
    QCOMPARE(t5->text(QAccessible::Name), QStringLiteral("5"));
    QCOMPARE(t5->text(QAccessible::Accelerator), QStringLiteral("Alt+5"));
    QCOMPARE(t5->text(QAccessible::Description), QStringLiteral("Alt+5"));
    QCOMPARE(Nombre(s.W(QStringLiteral("BOnOff"))), QStringLiteral("On/Off"));
    // The lamp's lit image is no second lamp to the reader.
    QCOMPARE(QAccessible::queryAccessibleInterface(z)->childCount(), 0);

    QTest::keyClick(form1, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(!s.W(QStringLiteral("LOn"))->isHidden());
    QCOMPARE(Valor(r1), QStringLiteral("0001"));
    QVERIFY(Anunciado(QStringLiteral("R1=0001")));
    QCOMPARE(Valor(z), QStringLiteral("apagada"));

    s.W(QStringLiteral("BOnOff"))->setFocus();
    for (const auto tecla : {Qt::Key_0, Qt::Key_0, Qt::Key_1, Qt::Key_5}) QTest::keyClick(QApplication::focusWidget(), tecla);
    QTRY_COMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("0015"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ShiftModifier);
    QTRY_COMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("015A"));
    // Ctrl+5 and the memory panel's digits are not the keypad's.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_5, Qt::ControlModifier);
    s.W(QStringLiteral("Memoria"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
    QTest::qWait(50);
    QCOMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("015A"));

    // Tab from the listing: the front panel in reading order, then r0, r1.
    auto* listado = s.W(QStringLiteral("Listado"));
    listado->setFocus();
    // The views' frame goes inside their edge, in their text's colour.
    auto* dentro = listado->findChild<QWidget*>(QStringLiteral("Marco_Foco"));
    QVERIFY(dentro && dentro->isVisible());
    QCOMPARE(dentro->geometry(), listado->rect());
    QCOMPARE(dentro->grab().toImage().pixelColor(1, dentro->height() / 2), listado->palette().color(QPalette::Text));
    QStringList visitados;
    for (int paso = 0; paso < 60 && QApplication::focusWidget() != r1; ++paso) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visitados << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(QApplication::focusWidget(), r1);
    QCOMPARE(visitados.mid(0, 7), (QStringList{"BOnOff", "BPasoPaso", "PZ_OFF", "PS_OFF", "PC_OFF", "PV_OFF", "PPC"}));
    QVERIFY(visitados.indexOf(QStringLiteral("Teclado")) < visitados.indexOf(QStringLiteral("T0")));
    QVERIFY(visitados.indexOf(QStringLiteral("TF")) < visitados.indexOf(QStringLiteral("BDireccion")));
    QCOMPARE(visitados.mid(visitados.size() - 2), (QStringList{"R0", "R1"}));
    // Its frame: outside the display, two pixels or more, seen against the panel.
    auto* marco = r1->parentWidget()->findChild<QWidget*>(QStringLiteral("Marco_Foco"));
    QVERIFY(marco && marco->isVisible());
    QVERIFY(marco->geometry().contains(r1->geometry().adjusted(-2 - TMarco_Foco::Grosor(), 0, 0, 0)));
    QVERIFY(TMarco_Foco::Grosor() >= 2);
    QCOMPARE(marco->grab().toImage().pixelColor(0, marco->height() / 2), TMarco_Foco::Color());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("R2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), r1);

    s.Operador.Acciones.push_back([](QWidget* dialogo) {
      QCOMPARE(dialogo->objectName(), QStringLiteral("Diag_Editar_Registro"));
      QTest::keyClicks(dialogo, QStringLiteral("0005"));
      QTest::mouseClick(dialogo->findChild<QAbstractButton*>(QStringLiteral("LiveButton1")), Qt::LeftButton);
    });
    QTest::keyClick(r1, Qt::Key_Return);
    QCOMPARE(s.V(QStringLiteral("R1")), QStringLiteral("0005"));
    QCOMPARE(Valor(r1), QStringLiteral("0005"));
    QVERIFY(Anunciado(QStringLiteral("R1=0005")));

    z->setFocus();
    QTest::keyClick(z, Qt::Key_Space);
    QCOMPARE(s.E().Leer_Bandera(TBandera(0)), 1);
    QCOMPARE(Valor(z), QStringLiteral("encendida"));
    QVERIFY(Anunciado(QStringLiteral("PZ_OFF=true")));
    QTest::keyClick(z, Qt::Key_Enter);
    QCOMPARE(s.E().Leer_Bandera(TBandera(0)), 0);
  }

  // A step of SUMA: the reader hears the listing's current line and the
  // memory panel's word, the status line says what the instruction changed,
  // and a listing line's tooltip says what its instruction does.
  void un_paso_leido() {
    TSesion s;
    s.Clic(QStringLiteral("BOnOff"));
    QVERIFY(Cargar_Programa_Objeto(s.E(), VELTRA_TEST_DATA "/../../examples/SUMA.EHC"));
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    auto* cambios = s.W<QLabel>(QStringLiteral("Cambios_Instruccion"));
    s.Teclear(QStringLiteral("0000"));
    for (int paso = 0; paso < 4; ++paso) s.Pulsar(paso == 0 ? QStringLiteral("BEjecutar") : QStringLiteral("BContinuar"));
    // ADDS R3, R1, R2 went last: 1234 + 0FED.
    QCOMPARE(cambios->text(), QStringLiteral("Cambió: r3"));
    QCOMPARE(Valor(listado), listado->model()->index(4, 0).data().toString());
    QVERIFY(Valor(listado).contains(QStringLiteral("ST")));
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(cambios->text(), QStringLiteral("Cambió: M[0012]"));
    QCOMPARE(listado->model()->index(3, 0).data(Qt::ToolTipRole).toString(),
             QString::fromStdString(Resumen_Palabra(s.E().Leer_Palabra(3))));
    QVERIFY(listado->model()->index(3, 0).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("ADDS R3, R1, R2: r3 := r1 + r2")));
    s.A(QStringLiteral("MMarcar_Cambios"))->trigger();
    QCOMPARE(cambios->text(), QString());

    auto* memoria = s.W<THexEditor>(QStringLiteral("Memoria"));
    QCOMPARE(Nombre(memoria), QStringLiteral("Memoria"));
    memoria->SetSelStart(2 * 0x12);
    QCOMPARE(Valor(memoria), QStringLiteral("0012: 2221"));
    memoria->SetSelStart(2 * 0xEFFF + 1);
    QCOMPARE(Valor(memoria), QStringLiteral("EFFF: ") + QString::fromStdString(s.E().Leer_Palabra(0xEFFF)));
  }

  // F1 opens the window at its first use; it lists the sixteen operations,
  // and the filter leaves the rows that match what is typed.
  void juego_de_instrucciones() {
    TSesion s;
    auto* form1 = s.Veltra->Form1();
    QVERIFY(!form1->findChild<QWidget*>(QStringLiteral("Form_Juego_Instrucciones")));
    QTest::keyClick(form1, Qt::Key_F1);
    auto* ventana = form1->findChild<QWidget*>(QStringLiteral("Form_Juego_Instrucciones"));
    QVERIFY(ventana && ventana->isVisible());
    auto* tabla = ventana->findChild<QTableWidget*>();
    const auto filas = [tabla] {
      QStringList visibles;
      for (int fila = 0; fila < tabla->rowCount(); ++fila)
        if (!tabla->isRowHidden(fila)) visibles << tabla->item(fila, 0)->text();
      return visibles;
    };
    QCOMPARE(filas().size(), 16);
    for (const TOperacion& op : Juego_Instrucciones())
      QVERIFY(filas().contains(QString::fromUtf8(op.Sintaxis.data(), op.Sintaxis.size())));
    auto* filtro = ventana->findChild<QLineEdit*>(QStringLiteral("Filtro_Instrucciones"));
    QTest::keyClicks(filtro, QStringLiteral("shra"));
    QCOMPARE(filas(), QStringList{"SHRA Rx"});
    filtro->clear();
    QTest::keyClicks(filtro, QStringLiteral("CALL"));
    QCOMPARE(filas(), (QStringList{"CALLR, CALLZ, CALLS, CALLC, CALLV", "RET"}));
    QTest::keyClicks(filtro, QStringLiteral("zz"));
    QVERIFY(filas().isEmpty());
    filtro->clear();
    QCOMPARE(filas().size(), 16);
    // A second F1 shows the same window.
    ventana->hide();
    QTest::keyClick(form1, Qt::Key_F1);
    QCOMPARE(form1->findChildren<QWidget*>(QStringLiteral("Form_Juego_Instrucciones")).size(), 1);
    QVERIFY(ventana->isVisible());
  }
};

QTEST_MAIN(tst_Accesibilidad)
#include "tst_Accesibilidad.moc"
