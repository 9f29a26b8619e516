// A student's sessions with VELTRA's windows. The machine rules are tested
// below the windows; these check that the windows show them and forward
// what the student does.
#include <QCompleter>
#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include <QDockWidget>
#include <QLayout>
#include <QToolBar>

#include "Sesion.h"
#include "ui/Muelles.h"
#include "widgets/Colores.h"
#include "widgets/HListBox.h"
#include "widgets/Icono.h"
#include "widgets/hexeditor.h"
#include "widgets/livebutton.h"

namespace {

// Every display of the three windows.
QStringList Visores() {
  QStringList nombres;
  for (int n = 0; n < 16; ++n) nombres << QStringLiteral("R%1").arg(n, 0, 16).toUpper();
  nombres << QStringLiteral("AR") << QStringLiteral("DR") << QStringLiteral("IR") << QStringLiteral("PC")
          << QStringLiteral("IP1") << QStringLiteral("IP2") << QStringLiteral("OP1") << QStringLiteral("OP2")
          << QStringLiteral("PIR") << QStringLiteral("PPC") << QStringLiteral("Teclado") << QStringLiteral("POP1")
          << QStringLiteral("POP2");
  for (int puerto = 0; puerto < 64; ++puerto) {
    const QString numero = QStringLiteral("%1").arg(puerto, 2, 16, QLatin1Char('0')).toUpper();
    nombres << QStringLiteral("PIN_") + numero << QStringLiteral("PO_") + numero;
  }
  return nombres;
}

const QStringList Lamparas_Encendidas = {"Z_ON", "PZ_ON", "S_ON", "PS_ON", "C_ON", "PC_ON", "V_ON", "PV_ON"};

// The rectangles painted on a widget.
class TPintadas : public QObject {
 public:
  QList<QRect> Rectangulos;

  // Waits for a pause in the painting, then forgets what was painted.
  void Asentar() {
    do {
      Rectangulos.clear();
      QTest::qWait(100);
    } while (!Rectangulos.isEmpty());
  }

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::Paint) Rectangulos << static_cast<QPaintEvent*>(evento)->rect();
    return false;
  }
};

bool Encendida(TSesion& s, const QString& lampara) { return !s.W(lampara)->isHidden(); }

// Types into the edit dialog and closes it with the named button.
std::function<void(QWidget*)> Editar(const QString& teclas, const QString& boton) {
  return [teclas, boton](QWidget* dialogo) {
    QCOMPARE(dialogo->objectName(), QStringLiteral("Diag_Editar_Registro"));
    QTest::keyClicks(dialogo, teclas);
    QTest::mouseClick(dialogo->findChild<QAbstractButton*>(boton), Qt::LeftButton);
  };
}

}  // namespace

class tst_Ventanas : public QObject {
  Q_OBJECT

 private slots:
  // Start-up: TORVIC off, random memory, empty listing, port windows hidden.
  void Arranque() {
    TSesion s;
    TForm1* form1 = s.Veltra->Form1();
    QCOMPARE(form1->windowTitle(),
             QStringLiteral("VELTRA 0.1.0 para Windows, el Entorno Integrado de Desarrollo para TORVIC"));
    QCOMPARE(form1->size(), QSize(807, 570));
    // The window's icon is the drawing installed in the desktop's theme.
    QCOMPARE(form1->windowIcon().pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             Imagen_Icono_VELTRA(32));
    for (const QString& visor : Visores()) QCOMPARE(s.V(visor), QStringLiteral("****"));
    const auto teclas = form1->findChildren<TLiveButton*>();
    QCOMPARE(teclas.size(), 23);
    for (auto* tecla : teclas) {
      QCOMPARE(tecla->isEnabled(), tecla->objectName() == QStringLiteral("BOnOff"));
      QCOMPARE(tecla->Color_Titulo(), clTeal);
    }
    QStringList etiquetas;
    for (auto* etiqueta : s.W(QStringLiteral("Panel_Registros"))->findChildren<QLabel*>()) etiquetas << etiqueta->text();
    for (const char* nombre : {"r0", "r9", "rA", "rF"}) QVERIFY2(etiquetas.contains(QLatin1String(nombre)), nombre);
    for (const QString& lampara : Lamparas_Encendidas + QStringList{"LOn", "LPP"})
      QVERIFY(!Encendida(s, lampara));
    QCOMPARE(s.E().Memoria.DataSize(), 0x1E000);
    int distintas = 0;
    for (int32_t w = 1; w < 0xF000; ++w) distintas += s.E().Leer_Palabra(w) != s.E().Leer_Palabra(0);
    QVERIFY(distintas > 0xE000);
    QCOMPARE(s.W<THListBox>(QStringLiteral("Listado"))->model()->rowCount(), 0);
    QVERIFY(s.Veltra->Form2()->isHidden());
    QVERIFY(s.Veltra->Form3()->isHidden());
    QCOMPARE(s.A(QStringLiteral("MApagar_TORVIC"))->text(), QStringLiteral("Encender TORVIC"));
    QCOMPARE(s.A(QStringLiteral("MModoPasoapaso"))->text(), QStringLiteral("Desactivar modo Paso a Paso"));
    QVERIFY(!s.A(QStringLiteral("MModoPasoapaso"))->isEnabled());
    QVERIFY(s.A(QStringLiteral("MInicializar_memoria_al_Encender_TORVIC"))->isChecked());
    QCOMPARE(s.A(QStringLiteral("Mododesensamblador1"))->text(), QStringLiteral("Activar Modo desensamblador"));
    auto* reloj = form1->findChild<QTimer*>(QStringLiteral("Reloj"));
    QVERIFY(reloj->isActive());
    QCOMPARE(reloj->timerType(), Qt::PreciseTimer);
    QCOMPARE(reloj->interval(), 1000);
    for (const char* nombre : {"PopArchivo", "PopEntorno", "pop_TORVIC"})
      QVERIFY(form1->findChild<QMenu*>(QLatin1String(nombre)));
    for (const char* nombre : {"Barra_Principal", "Menu", "Contenedor_Panel_Interno", "Panel_Interno",
                               "Contenedor_Memoria", "PContenedor_Memoria", "Contenedor_PF", "PPanel_Frontal",
                               "Separador_Arriba", "Ficha_PF", "Barra_Estado", "Panel_Separador_Arriba_Abajo"})
      QVERIFY2(form1->findChild<QWidget*>(QLatin1String(nombre)), nombre);
  }

  // On, off and on again, from the key and from the menu: every twin display,
  // lamp, key and caption follows.
  void Encender_Apagar() {
    TSesion s;
    s.Pulsar(QStringLiteral("BOnOff"));
    const QList<QStringList> gemelos = {{"IP1", "Teclado", "PIN_01"}, {"IP2", "PIN_02"}, {"OP1", "POP1", "PO_01"},
                                        {"OP2", "POP2", "PO_02"},     {"IR", "PIR"},     {"PC", "PPC"}};
    for (const QStringList& grupo : gemelos)
      for (const QString& visor : grupo) QCOMPARE(s.V(visor), s.V(grupo.first()));
    QVERIFY(Encendida(s, QStringLiteral("LOn")));
    QVERIFY(Encendida(s, QStringLiteral("LPP")));
    QVERIFY(s.W(QStringLiteral("BEjecutar"))->isEnabled());
    QVERIFY(s.W(QStringLiteral("TF"))->isEnabled());
    QCOMPARE(s.A(QStringLiteral("MApagar_TORVIC"))->text(), QStringLiteral("Apagar TORVIC"));
    QVERIFY(s.A(QStringLiteral("MModoPasoapaso"))->isEnabled());
    s.Clic(QStringLiteral("PZ_OFF"));
    QVERIFY(Encendida(s, QStringLiteral("Z_ON")));

    s.A(QStringLiteral("MApagar_TORVIC"))->trigger();
    for (const QString& visor : Visores()) QCOMPARE(s.V(visor), QStringLiteral("****"));
    for (const QString& lampara : Lamparas_Encendidas + QStringList{"LOn", "LPP"})
      QVERIFY(!Encendida(s, lampara));
    QVERIFY(!s.W(QStringLiteral("T0"))->isEnabled());
    QVERIFY(!s.A(QStringLiteral("MModoPasoapaso"))->isEnabled());
    QCOMPARE(s.A(QStringLiteral("MApagar_TORVIC"))->text(), QStringLiteral("Encender TORVIC"));
    // Off, a flag lamp and an editable display refuse.
    s.Clic(QStringLiteral("V_ON"));
    s.Clic(QStringLiteral("PIN_05"));
    QTRY_COMPARE(s.Operador.Mensajes.size(), 2);
    QCOMPARE(s.Operador.Mensajes[1], QStringLiteral("¡OPS! : Debe encender primero TORVIC."));
    QCOMPARE(s.Operador.Botones[0], QStringLiteral("Aceptar"));
    QVERIFY(!Encendida(s, QStringLiteral("V_ON")));

    s.A(QStringLiteral("MApagar_TORVIC"))->trigger();
    QCOMPARE(s.V(QStringLiteral("RE")), QStringLiteral("F000"));
    QVERIFY(!Encendida(s, QStringLiteral("PZ_ON")));
  }

  // A program typed on the keypad, stepped with Ejecutar and Continuar, then
  // run free on the timer to HALT; the keypad driven by its accelerators too.
  void Programa_del_Teclado() {
    TSesion s;
    s.Pulsar(QStringLiteral("BOnOff"));
    // LLI R1,05; LLI R2,03; ADDS R3,R1,R2; OUT 01,R3; HALT
    s.Cargar_Programa(QStringLiteral("0010"), {"2105", "2203", "6312", "5301", "F000"});
    QCOMPARE(s.V(QStringLiteral("POP1")), QStringLiteral("0015"));

    // A word stored from the console repaints its row of the memory panel, no more.
    auto* memoria = s.W<THexEditor>(QStringLiteral("Memoria"));
    TPintadas pintadas;
    memoria->viewport()->installEventFilter(&pintadas);
    pintadas.Asentar();  // the power-on fill repaints it all
    s.Cargar_Programa(QStringLiteral("0002"), {"ABCD"});
    QTRY_VERIFY(!pintadas.Rectangulos.isEmpty());
    const QRect fila = memoria->CellRect(2, 2);
    QVERIFY(std::any_of(pintadas.Rectangulos.begin(), pintadas.Rectangulos.end(),
                        [&](const QRect& r) { return r.contains(fila.center()); }));
    for (const QRect& r : pintadas.Rectangulos) QVERIFY(r.height() <= fila.height());

    // Alt with the key's character works the keypad from the keyboard.
    // A key being animated ignores a second press, as no student types faster.
    for (Qt::Key tecla : {Qt::Key_0, Qt::Key_0, Qt::Key_1, Qt::Key_0}) {
      const QString antes = s.V(QStringLiteral("Teclado"));
      QTest::keyClick(s.Veltra->Form1(), tecla, Qt::AltModifier);
      QTRY_VERIFY(s.V(QStringLiteral("Teclado")) != antes || antes == QStringLiteral("0000"));
      QTest::qWait(150);
    }
    QCOMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("0010"));
    QCOMPARE(s.V(QStringLiteral("PIN_01")), QStringLiteral("0010"));
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_J, Qt::AltModifier);  // E&jecutar
    QTRY_COMPARE(s.V(QStringLiteral("R1")), QStringLiteral("0005"));
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("0011"));
    QCOMPARE(s.V(QStringLiteral("PPC")), QStringLiteral("0011"));
    QCOMPARE(s.V(QStringLiteral("PIR")), QStringLiteral("2203"));
    s.Pulsar(QStringLiteral("BContinuar"));
    QCOMPARE(s.V(QStringLiteral("R2")), QStringLiteral("0003"));

    // Free run: step mode off, then one Continuar starts the timer's chain.
    s.Pulsar(QStringLiteral("BPasoPaso"));
    QVERIFY(!Encendida(s, QStringLiteral("LPP")));
    QCOMPARE(s.A(QStringLiteral("MModoPasoapaso"))->text(), QStringLiteral("Activar modo Paso a Paso"));
    s.E().Fijar_Velocidad(0);  // the timer follows
    s.Pulsar(QStringLiteral("BContinuar"));
    QTRY_COMPARE(s.Operador.Mensajes, QStringList{QStringLiteral("Fin de la ejecución :-)")});
    QVERIFY(s.Operador.Anchos_Libres[0] >= 100);  // room for the title beside the frame's buttons
    QCOMPARE(s.V(QStringLiteral("R3")), QStringLiteral("0008"));
    QCOMPARE(s.V(QStringLiteral("PO_01")), QStringLiteral("0008"));
    QVERIFY(Encendida(s, QStringLiteral("LPP")));
    QVERIFY(s.W(QStringLiteral("BPasoPaso"))->isEnabled());
  }

  // The edit dialog: starts at 0000, takes hex keys of either case, ignores
  // the rest, writes the value's twins; timer ticks go on while it is open.
  void Editar_Registros_y_Puertos() {
    TSesion s;
    s.Pulsar(QStringLiteral("BOnOff"));
    s.Operador.Acciones.push_back(Editar(QStringLiteral("1zf3"), QStringLiteral("LiveButton1")));
    s.Clic(QStringLiteral("R5"));
    QCOMPARE(s.V(QStringLiteral("R5")), QStringLiteral("01F3"));
    s.Operador.Acciones.push_back(Editar(QStringLiteral("77"), QStringLiteral("LiveButton2")));
    s.Clic(QStringLiteral("R5"));
    QCOMPARE(s.V(QStringLiteral("R5")), QStringLiteral("01F3"));
    s.Operador.Acciones.push_back(Editar(QStringLiteral("12345"), QStringLiteral("LiveButton1")));
    s.Clic(QStringLiteral("Teclado"));
    for (const char* visor : {"Teclado", "IP1", "PIN_01"}) QCOMPARE(s.V(QLatin1String(visor)), QStringLiteral("2345"));

    s.E().Fijar_Velocidad(0);  // the timer follows
    // 0000: LLI RD,00; ADDS R1,R1,R2 (r2 = 0002); BR to rD, for ever.
    s.Cargar_Programa(QStringLiteral("0000"), {"2D00", "6112", "C000"});
    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    const QString antes = s.V(QStringLiteral("R1"));
    bool corria = false;
    s.Operador.Acciones.push_back([&s, antes, &corria](QWidget* dialogo) {
      corria = QTest::qWaitFor([&] { return s.V(QStringLiteral("R1")) != antes; });
      Editar(QStringLiteral("00aB"), QStringLiteral("LiveButton1"))(dialogo);
    });
    s.Clic(QStringLiteral("PIN_02"));
    QCOMPARE(s.V(QStringLiteral("PIN_02")), QStringLiteral("00AB"));
    QCOMPARE(s.V(QStringLiteral("IP2")), QStringLiteral("00AB"));
    QVERIFY(corria);  // the run went on under the dialog
  }

  // The speed dialog preselects the current interval; ¡Vale! sets the timer,
  // Cancelar changes nothing.
  void Velocidad() {
    TSesion s;
    auto* reloj = s.Veltra->Form1()->findChild<QTimer*>(QStringLiteral("Reloj"));
    const auto Elegir = [](int item, const QString& boton, int* preseleccion) {
      return [=](QWidget* dialogo) {
        QCOMPARE(dialogo->objectName(), QStringLiteral("Form4"));
        for (const char* glifo : {"LiveButton1", "LiveButton2"})
          QVERIFY(!dialogo->findChild<QAbstractButton*>(QLatin1String(glifo))->icon().isNull());
        const auto opciones = dialogo->findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->findChildren<QRadioButton*>();
        QCOMPARE(opciones.size(), 8);
        for (int i = 0; i < opciones.size(); ++i)
          if (opciones[i]->isChecked()) *preseleccion = i;
        opciones[item]->click();
        QTest::mouseClick(dialogo->findChild<QAbstractButton*>(boton), Qt::LeftButton);
      };
    };
    int preseleccion = -1;
    s.Operador.Acciones.push_back(Elegir(0, QStringLiteral("LiveButton1"), &preseleccion));
    s.A(QStringLiteral("VelocidaddeejecucinenmodoPP1"))->trigger();
    QCOMPARE(preseleccion, 3);
    QCOMPARE(reloj->interval(), 1);
    s.Operador.Acciones.push_back(Elegir(7, QStringLiteral("LiveButton1"), &preseleccion));
    s.A(QStringLiteral("VelocidaddeejecucinenmodoPP1"))->trigger();
    QCOMPARE(preseleccion, 0);
    QCOMPARE(reloj->interval(), 7000);
    s.Operador.Acciones.push_back(Elegir(2, QStringLiteral("LiveButton2"), &preseleccion));
    s.A(QStringLiteral("VelocidaddeejecucinenmodoPP1"))->trigger();
    QCOMPARE(preseleccion, 7);
    QCOMPARE(reloj->interval(), 7000);
    QCOMPARE(s.E().Opciones_Entorno.Intervalo_Paso, 7000u);
  }

  // An example loaded through the file dialog, then run free: the listing
  // shows the program and follows the program counter.
  void Cargar_Ejemplo() {
    TSesion s;
    s.Pulsar(QStringLiteral("BOnOff"));
    s.Operador.Acciones.push_back([](QWidget* dialogo) {
      auto* abrir = qobject_cast<QFileDialog*>(dialogo);
      QVERIFY(abrir);
      QCOMPARE(abrir->objectName(), QStringLiteral("DAbrir"));
      QCOMPARE(abrir->windowTitle(), QStringLiteral("Cargar fichero objeto en VELTRA"));
      QCOMPARE(abrir->defaultSuffix(), QStringLiteral("EHC"));
      QVERIFY(abrir->selectedNameFilter().startsWith(QStringLiteral("Easy Hexadecimal Code")));
      abrir->selectFile(QStringLiteral(VELTRA_EXAMPLES "/CONTADOR.EHC"));
      // A name typed into the dialog shows its completions; none outlives the dialog.
      for (QCompleter* completer : abrir->findChildren<QCompleter*>()) completer->complete();
      QMetaObject::invokeMethod(abrir, "accept");
    });
    s.A(QStringLiteral("Cargarprogramaobjeto1"))->trigger();
    for (QCompleter* completer : s.Veltra->Form1()->findChild<QFileDialog*>()->findChildren<QCompleter*>())
      QVERIFY(!completer->popup()->isVisible());
    QVERIFY(s.Operador.Mensajes.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    QCOMPARE(listado->model()->rowCount(), 11);

    s.Teclear(QStringLiteral("0000"));
    s.Pulsar(QStringLiteral("BEjecutar"));
    QCOMPARE(listado->currentIndex().row(), 1);  // PC 0001
    s.Pulsar(QStringLiteral("BPasoPaso"));
    s.E().Fijar_Velocidad(0);  // the timer follows
    s.Pulsar(QStringLiteral("BContinuar"));
    QTRY_COMPARE(s.Operador.Mensajes.size(), 1);
    QCOMPARE(s.V(QStringLiteral("POP1")), QStringLiteral("0037"));
    QCOMPARE(listado->currentIndex().row(), 10);  // HALT at 000A; PC moved on to 000B
    QCOMPARE(s.V(QStringLiteral("PC")), QStringLiteral("000B"));

    // A cancelled dialog leaves the listing empty and memory as it was.
    s.Operador.Acciones.push_back([](QWidget* dialogo) { qobject_cast<QDialog*>(dialogo)->reject(); });
    s.A(QStringLiteral("Cargarprogramaobjeto1"))->trigger();
    QCOMPARE(listado->model()->rowCount(), 0);
    QCOMPARE(s.E().Leer_Palabra(0xA), std::string("F000"));
  }

  // Disassembler mode: the Yes/No box, the captions, and typing in the memory
  // panel bringing the word's line into the listing.
  void Modo_Desensamblador() {
    TSesion s;
    QAction* modo = s.A(QStringLiteral("Mododesensamblador1"));
    s.Operador.Respuesta = QMessageBox::No;
    modo->trigger();
    QCOMPARE(s.Operador.Botones.constFirst(), QStringLiteral("Sí|No"));
    QCOMPARE(modo->text(), QStringLiteral("Activar Modo desensamblador"));
    s.Operador.Respuesta = QMessageBox::Yes;
    modo->trigger();
    QCOMPARE(modo->text(), QStringLiteral("Desactivar Modo Desensamblador"));

    auto* memoria = s.W<THexEditor>(QStringLiteral("Memoria"));
    memoria->setFocus();
    memoria->MoveTo(2, 0x10);
    QTest::keyClicks(memoria, QStringLiteral("2105"));
    auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
    QCOMPARE(s.E().Leer_Palabra(0x10), std::string("2105"));
    QCOMPARE(listado->model()->rowCount(), 1);
    QCOMPARE(listado->model()->index(0, 0).data().toString(), QStringLiteral("[0010]: LLI R1, H'05"));

    modo->trigger();
    QCOMPARE(modo->text(), QStringLiteral("Activar Modo Desensamblador"));
    QCOMPARE(listado->model()->rowCount(), 0);
  }

  // Each site takes only its own piece, however it is offered; pieces float
  // and come home with their size limits; the Entorno menu hides, shows and
  // re-docks the internal panel. Floating or hidden, the displays keep up.
  void Muelles() {
    TSesion s;
    TForm1* form1 = s.Veltra->Form1();
    const QStringList piezas = {"Menu", "Panel_Interno", "PContenedor_Memoria", "PPanel_Frontal"};
    const QStringList sitios = {"Barra_Principal", "Contenedor_Panel_Interno", "Contenedor_Memoria", "Contenedor_PF"};
    for (int i = 0; i < 4; ++i) {
      auto* sitio = s.W<TSitio_Muelle>(sitios[i]);
      for (int j = 0; j < 4; ++j) {
        QWidget* pieza = s.W(piezas[j]);
        QCOMPARE(sitio->Acepta(pieza), i == j);
        // The memory site lies inside the internal panel, which cannot be put into it.
        if (i == j || pieza->isAncestorOf(sitio)) continue;
        // Handed to a wrong site, a piece goes back to float by its own.
        if (auto* muelle = qobject_cast<QDockWidget*>(pieza)) sitio->addDockWidget(Qt::TopDockWidgetArea, muelle);
        else sitio->addToolBar(qobject_cast<QToolBar*>(pieza));
        QTRY_COMPARE(pieza->parent()->objectName(), sitios[j]);
        if (auto* muelle = qobject_cast<QDockWidget*>(pieza)) {
          QVERIFY(muelle->isFloating());
          muelle->setFloating(false);
        }
      }
    }

    // No right-click on a site or a piece opens a menu that could hide a piece.
    for (const QString& nombre : sitios + piezas) {
      QWidget* donde = s.W(nombre);
      QContextMenuEvent clic(QContextMenuEvent::Mouse, QPoint(4, 4), donde->mapToGlobal(QPoint(4, 4)));
      QApplication::sendEvent(donde, &clic);
      QVERIFY2(!QApplication::activePopupWidget(), qPrintable(nombre));
    }
    for (const QString& pieza : piezas) QVERIFY(s.W(pieza)->isVisible());

    // The memory panel: 176 x 204 at home from the start, free while floating.
    auto* memoria = s.W<QDockWidget>(QStringLiteral("PContenedor_Memoria"));
    QCOMPARE(memoria->size(), QSize(176, 204));
    memoria->setFloating(true);
    QCOMPARE(memoria->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCOMPARE(memoria->minimumSize(), QSize(0, 0));
    memoria->setFloating(false);
    QCOMPARE(memoria->minimumSize(), QSize(176, 204));
    QCOMPARE(memoria->maximumSize(), QSize(176, 204));
    QTRY_COMPARE(memoria->size(), QSize(176, 204));

    // The internal panel, 783 x 268 wherever it is, and the menu's four cases.
    auto* interno = s.W<QDockWidget>(QStringLiteral("Panel_Interno"));
    QWidget* barra = s.W(QStringLiteral("Contenedor_Panel_Interno"));
    QAction* menu = s.A(QStringLiteral("EsconderMostrarelPanelInternodeTORVIC1"));
    menu->trigger();
    QVERIFY(barra->isHidden());
    s.Pulsar(QStringLiteral("BOnOff"));  // written while hidden
    menu->trigger();
    QVERIFY(!barra->isHidden());
    QVERIFY(!s.W(QStringLiteral("Panel_Separador_Arriba_Abajo"))->isHidden());
    QCOMPARE(s.V(QStringLiteral("RE")), QStringLiteral("F000"));
    interno->setFloating(true);
    QCOMPARE(interno->size(), QSize(783, 268));
    // Qt docks a piece only where it fits: an empty site keeps room for it.
    auto* frontal = s.W<QDockWidget>(QStringLiteral("PPanel_Frontal"));
    frontal->setFloating(true);
    form1->centralWidget()->layout()->activate();
    QTest::qWait(50);  // the layouts settle
    for (QDockWidget* pieza : {interno, frontal}) {
      const QWidget* sitio = pieza->parentWidget();
      QVERIFY(sitio->width() >= pieza->width() && sitio->height() >= pieza->height());
    }
    frontal->setFloating(false);
    interno->close();
    QVERIFY(interno->isHidden());
    menu->trigger();
    QVERIFY(!interno->isHidden() && interno->isFloating());
    menu->trigger();
    QVERIFY(!interno->isFloating());
    QCOMPARE(interno->parent(), barra);
    QCOMPARE(interno->size(), QSize(783, 268));
    QVERIFY(form1->height() >= form1->minimumSizeHint().height());
    QVERIFY(barra->height() <= 276);
  }

  // The port windows come and go from their menu items and are written while
  // hidden; leaving ends the program even with one of them open.
  void Puertos_y_Salida() {
    TSesion s;
    QAction* entrada = s.A(QStringLiteral("MEsconderMostrarlosregistrosdeentrada1"));
    QAction* salida = s.A(QStringLiteral("EsconderMostrarpuertosdesalida1"));
    // The port windows stay above the main window, as tool windows do.
    for (QWidget* ventana : {static_cast<QWidget*>(s.Veltra->Form2()), static_cast<QWidget*>(s.Veltra->Form3())})
      QCOMPARE(ventana->windowHandle()->transientParent(), s.Veltra->Form1()->windowHandle());
    entrada->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(s.Veltra->Form2()));
    // The panel's keys work in the port window, the front panel floating, and fire once.
    s.Pulsar(QStringLiteral("BOnOff"));
    s.W<QDockWidget>(QStringLiteral("PPanel_Frontal"))->setFloating(true);
    s.Veltra->Form2()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), s.Veltra->Form2());
    for (Qt::Key tecla : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D}) {
      QTest::keyClick(s.Veltra->Form2(), tecla, Qt::AltModifier);
      QTest::qWait(150);  // the key's animated press
    }
    QCOMPARE(s.V(QStringLiteral("PIN_01")), QStringLiteral("ABCD"));
    s.Veltra->Form1()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), s.Veltra->Form1());
    QTest::keyClick(s.Veltra->Form1(), Qt::Key_1, Qt::AltModifier);
    QTRY_COMPARE(s.V(QStringLiteral("Teclado")), QStringLiteral("BCD1"));
    s.Pulsar(QStringLiteral("BOnOff"));
    entrada->trigger();
    QVERIFY(s.Veltra->Form2()->isHidden());

    s.Pulsar(QStringLiteral("BOnOff"));
    s.Teclear(QStringLiteral("0020"));
    s.Pulsar(QStringLiteral("BDireccion"));
    QCOMPARE(s.V(QStringLiteral("PO_01")), QStringLiteral("0020"));
    QCOMPARE(s.V(QStringLiteral("PO_02")), QString::fromStdString(s.E().Leer_Palabra(0x20)));
    salida->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(s.Veltra->Form3()));
    QCOMPARE(s.V(QStringLiteral("PO_01")), QStringLiteral("0020"));

    QTimer::singleShot(0, [&s] { s.A(QStringLiteral("MSalir_de_VELTRA"))->trigger(); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!s.Veltra->Form1()->isVisible());
  }
};

QTEST_MAIN(tst_Ventanas)
#include "tst_Ventanas.moc"
