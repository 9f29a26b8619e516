// The three themes: every text of the main window and the source window
// readable (WCAG's contrast ratio from the colours painted or used in the
// palette: 7:1 in Alto contraste, 4.5:1 in the others), the mouse over a key
// too; the theme kept for the next session; and Clásico giving back exactly
// the classic colours.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>
#include <cmath>

#include "Sesion.h"
#include "ui/Ajustes.h"
#include "ui/Editor_Fuente.h"
#include "ui/Fuente.h"
#include "ui/Temas.h"
#include "widgets/Colores.h"
#include "widgets/Dibujos.h"
#include "widgets/HListBox.h"
#include "widgets/Marco_Foco.h"
#include "widgets/hexeditor.h"
#include "widgets/livebutton.h"

namespace {

double Luminancia(const QColor& color) {
  const auto canal = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * canal(color.redF()) + 0.7152 * canal(color.greenF()) + 0.0722 * canal(color.blueF());
}

double Razon(const QColor& a, const QColor& b) {
  const double la = Luminancia(a), lb = Luminancia(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What shows behind a widget that paints no ground of its own.
QColor Fondo(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w->autoFillBackground() || dynamic_cast<const TLamina*>(w) || w->isWindow())
      return w->palette().color(QPalette::Window);
  return {};
}

// Each text of the window with its contrast: "name: ratio".
QStringList Textos_Ilegibles(QWidget* ventana, double minimo, int al_menos = 60) {
  QStringList malos;
  const auto Medir = [&](const QWidget* w, const QString& que, const QColor& texto, const QColor& fondo) {
    const double r = Razon(texto, fondo);
    if (r < minimo)
      malos << QStringLiteral("%1 %2 (%3 sobre %4): %5")
                   .arg(w->objectName(), que, texto.name(), fondo.name())
                   .arg(r, 0, 'f', 2);
  };
  int medidos = 0;
  for (QWidget* w : ventana->findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->isEnabled()) continue;  // disabled controls need no contrast
    ++medidos;
    if (auto* etiqueta = qobject_cast<QLabel*>(w)) {
      if (!etiqueta->text().isEmpty())
        Medir(w, etiqueta->text(), w->palette().color(w->foregroundRole()), Fondo(w));
    } else if (auto* tecla = qobject_cast<TLiveButton*>(w)) {
      Medir(w, QStringLiteral("en reposo"), tecla->Color_Titulo(), tecla->Color_Fondo());
      QEnterEvent entra(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
      QApplication::sendEvent(tecla, &entra);
      Medir(w, QStringLiteral("bajo el ratón"), tecla->Color_Titulo(), tecla->Color_Fondo());
      QEvent sale(QEvent::Leave);
      QApplication::sendEvent(tecla, &sale);
    } else if (auto* herramienta = qobject_cast<QToolButton*>(w)) {
      Medir(w, herramienta->text(), w->palette().color(QPalette::ButtonText),
            herramienta->autoRaise() ? Fondo(w->parentWidget()) : w->palette().color(QPalette::Button));
    } else if (auto* fichas = qobject_cast<QTabBar*>(w)) {
      Medir(w, fichas->tabText(0), w->palette().color(QPalette::WindowText), w->palette().color(QPalette::Window));
    } else if (auto* visor = qobject_cast<TDigitalDisplay*>(w)) {
      Medir(w, visor->Value(), visor->DigitOnColor(), visor->BckgndColor());
    } else if (auto* listado = qobject_cast<THListBox*>(w)) {
      Medir(w, QStringLiteral("línea"), listado->palette().color(QPalette::Text), listado->palette().color(QPalette::Base));
      Medir(w, QStringLiteral("línea elegida"), listado->palette().color(QPalette::HighlightedText),
            listado->palette().color(QPalette::Highlight));
    } else if (auto* memoria = qobject_cast<THexEditor*>(w)) {
      const TColors* c = memoria->Colors();
      for (const QColor& texto : {c->Offset(), c->OddColumn(), c->EvenColumn()})
        Medir(w, QStringLiteral("palabra"), texto, memoria->viewport()->palette().color(QPalette::Base));
      Medir(w, QStringLiteral("cursor"), c->PositionText(), c->PositionBackground());
      Medir(w, QStringLiteral("cambiada"), c->ChangedText(), c->ChangedBackground());
    } else if (auto* boton = qobject_cast<QPushButton*>(w)) {
      Medir(w, boton->text(), w->palette().color(QPalette::ButtonText), w->palette().color(QPalette::Button));
    } else if (auto* campo = qobject_cast<QLineEdit*>(w)) {
      Medir(w, QStringLiteral("texto"), w->palette().color(QPalette::Text), w->palette().color(QPalette::Base));
      Medir(w, campo->placeholderText(), w->palette().color(QPalette::PlaceholderText),
            w->palette().color(QPalette::Base));
    } else if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
      const QPalette& p = static_cast<QAbstractScrollArea*>(w)->viewport()->palette();
      Medir(w, QStringLiteral("texto"), p.color(QPalette::Text), p.color(QPalette::Base));
      Medir(w, QStringLiteral("elegido"), p.color(QPalette::HighlightedText), p.color(QPalette::Highlight));
    } else {
      --medidos;
    }
  }
  if (medidos < al_menos) malos << QStringLiteral("solo %1 textos medidos").arg(medidos);
  return malos;
}

// Counts the palette changes that reach widgets.
class TCambios_Paleta : public QObject {
 public:
  int Cambios = 0;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::PaletteChange) ++Cambios;
    return false;
  }
};

}  // namespace

class tst_Temas : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { Aplicar_Tema(TTema::Clasico); }

  void contraste_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<double>("minimo");
    QTest::newRow("Clásico") << "MTema_Clasico" << 4.5;
    QTest::newRow("Alto contraste") << "MTema_Alto_Contraste" << 7.0;
    QTest::newRow("Oscuro") << "MTema_Oscuro" << 4.5;
  }
  // TORVIC on, so that every key is enabled and every display lit.
  void contraste() {
    QFETCH(QString, item);
    QFETCH(double, minimo);
    TSesion s;
    s.Clic(QStringLiteral("BOnOff"));
    s.A(item)->trigger();
    QVERIFY(s.A(item)->isChecked());
    // The focus frames: the ring around displays and lamps against the
    // panel, the frame inside a key against its face.
    QVERIFY(Razon(TMarco_Foco::Color(), Colores_Tema(Tema_Actual()).Panel) >= 3);
    QVERIFY(Razon(TLiveButton::Colores().Foco, TLiveButton::Colores().Fondo) >= 3);
    QVERIFY(TMarco_Foco::Grosor() >= 2 && TLiveButton::Colores().Grosor_Foco >= 2);
    const QStringList ilegibles = Textos_Ilegibles(s.Veltra->Form1(), minimo);
    QVERIFY2(ilegibles.isEmpty(), qPrintable(ilegibles.join(QStringLiteral("; "))));
    // The input ports' window too, shown.
    s.Veltra->Form2()->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.Veltra->Form2()));
    const QStringList puertos = Textos_Ilegibles(s.Veltra->Form2(), minimo);
    QVERIFY2(puertos.isEmpty(), qPrintable(puertos.join(QStringLiteral("; "))));
    // No widget keeps a ground of another theme.
    const QColor ventana = QApplication::palette().color(QPalette::Window);
    const QColor panel = Colores_Tema(Tema_Actual()).Panel;
    for (QWidget* w : s.Veltra->Form1()->findChildren<QWidget*>())
      if (w->isVisible() && !qobject_cast<TDigitalDisplay*>(w) && w->objectName() != QLatin1String("Marco_Foco")) {
        const QColor fondo = w->palette().color(QPalette::Window);
        QVERIFY2(fondo == ventana || fondo == panel, qPrintable(QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName()));
      }
  }

  void fuente_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<double>("minimo");
    QTest::addColumn<bool>("antes");  // the window built before the theme is chosen
    QTest::newRow("Clásico") << "MTema_Clasico" << 4.5 << false;
    QTest::newRow("Alto contraste, ventana ya abierta") << "MTema_Alto_Contraste" << 7.0 << true;
    QTest::newRow("Alto contraste, ventana abierta después") << "MTema_Alto_Contraste" << 7.0 << false;
    QTest::newRow("Oscuro, ventana ya abierta") << "MTema_Oscuro" << 4.5 << true;
    QTest::newRow("Oscuro, ventana abierta después") << "MTema_Oscuro" << 4.5 << false;
  }
  // The source window with every kind of piece, an error listed and
  // underlined, the find bar, the "changed since loaded" status, the cursor's
  // and PC's lines; and the instruction set's window.
  void fuente() {
    QFETCH(QString, item);
    QFETCH(double, minimo);
    QFETCH(bool, antes);
    TSesion s;
    s.Clic(QStringLiteral("BOnOff"));
    if (!antes) s.A(item)->trigger();
    s.A(QStringLiteral("MNuevo_Fuente"))->trigger();
    if (antes) s.A(item)->trigger();
    TForm_Fuente* fuente = nullptr;
    for (QWidget* ventana : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<TForm_Fuente*>(ventana)) fuente = f;
    QVERIFY(fuente && fuente->isVisible());
    auto* editor = fuente->findChild<TEditor_Fuente*>(QStringLiteral("Editor_Fuente"));
    editor->setPlainText(QStringLiteral("; todas las piezas\n        LLI  R1, 7\n        LLI  RD, LO(doble)\n"
                                        "        LHI  RD, HI(doble)\n        OUT  H'01, R1\n        HALT\n"
                                        "        ORG  H'0010\ndoble:  ADDS R1, R1, R1\n        RET\n"));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_F3);
    QCOMPARE(s.Operador.Mensajes.size(), 0);
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("        OUTT H'01, R1"));
    QTRY_COMPARE(fuente->property("errores").toStringList().size(), 1);
    QVERIFY(!fuente->findChild<QLabel*>(QStringLiteral("Estado_Fuente"))->text().isEmpty());
    QVERIFY(fuente->findChild<QListWidget*>(QStringLiteral("Errores_Fuente"))->isVisible());
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(fuente->findChild<QWidget*>(QStringLiteral("Barra_Buscar"))->isVisible());
    editor->Fijar_Linea_PC(3);
    editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(7)));
    const QStringList ilegibles = Textos_Ilegibles(fuente, minimo, 10);
    QVERIFY2(ilegibles.isEmpty(), qPrintable(ilegibles.join(QStringLiteral("; "))));

    // Each piece's colour as the highlighter set it, and the plain text, on
    // the editor's ground and on the shaded lines.
    const QPalette paleta = editor->viewport()->palette();
    QCOMPARE(paleta.color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    QList<QColor> textos{paleta.color(QPalette::Text)};
    QTRY_VERIFY(!editor->document()->findBlockByNumber(7).layout()->formats().isEmpty());
    for (QTextBlock b = editor->document()->begin(); b.isValid(); b = b.next())
      for (const QTextLayout::FormatRange& r : b.layout()->formats())
        if (!textos.contains(r.format.foreground().color())) textos << r.format.foreground().color();
    QVERIFY2(textos.size() >= 7, qPrintable(QString::number(textos.size())));  // text and six kinds of piece
    QList<QColor> fondos{paleta.color(QPalette::Base)};
    QColor subrayado;
    for (const QTextEdit::ExtraSelection& sel : editor->extraSelections()) {
      if (sel.format.hasProperty(QTextFormat::FullWidthSelection)) fondos << sel.format.background().color();
      if (sel.format.underlineStyle() == QTextCharFormat::WaveUnderline) subrayado = sel.format.underlineColor();
    }
    QCOMPARE(fondos.size(), 3);  // the ground, the cursor's line, PC's line
    QVERIFY(subrayado.isValid());
    QStringList malos;
    for (const QColor& fondo : fondos) {
      for (const QColor& texto : textos)
        if (Razon(texto, fondo) < minimo)
          malos << QStringLiteral("%1 sobre %2: %3").arg(texto.name(), fondo.name()).arg(Razon(texto, fondo), 0, 'f', 2);
      if (Razon(subrayado, fondo) < 3) malos << QStringLiteral("subrayado sobre ") + fondo.name();
    }
    const TColores_Fuente& c = editor->Colores();
    for (const QColor& margen : {c.Margen_Texto, c.Punto_Ruptura, c.Error})
      if (Razon(margen, c.Margen_Fondo) < minimo) malos << QStringLiteral("margen ") + margen.name();
    QVERIFY2(malos.isEmpty(), qPrintable(malos.join(QStringLiteral("; "))));

    // The instruction set's window, built after the theme.
    s.A(QStringLiteral("MJuego_Instrucciones"))->trigger();
    auto* juego = s.Veltra->Form1()->findChild<QWidget*>(QStringLiteral("Form_Juego_Instrucciones"));
    QVERIFY(juego && juego->isVisible());
    const QStringList juego_ilegibles = Textos_Ilegibles(juego, minimo, 3);
    QVERIFY2(juego_ilegibles.isEmpty(), qPrintable(juego_ilegibles.join(QStringLiteral("; "))));
    QCOMPARE(juego->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
  }

  // The classic palette is set before the windows are built: set after them,
  // it reached all of their widgets once more before the first paint.
  void clasico_al_arrancar() {
    QApplication::setPalette(QPalette());  // as a new program has it
    std::unique_ptr<TVELTRA> veltra = TSesion::Arrancar({});
    TCambios_Paleta cambios;
    qApp->installEventFilter(&cambios);
    QVERIFY(QTest::qWaitForWindowExposed(veltra->Form1()));
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&cambios);
    QCOMPARE(cambios.Cambios, 0);
    QCOMPARE(QApplication::palette(), Paleta_Tema(TTema::Clasico));
    QCOMPARE(veltra->Form2()->findChild<QWidget*>(QStringLiteral("PIN_05"))->palette().color(QPalette::Highlight),
             Paleta_Tema(TTema::Clasico).color(QPalette::Highlight));
  }

  // Alto contraste reaches every window at once, the ones built later too,
  // and the next session starts in it; Clásico gives the classic colours back.
  void aplicar_y_recordar() {
    QColor apagado_puerto, base_clasica;
    {
      TSesion s;
      auto* listado = s.W<THListBox>(QStringLiteral("Listado"));
      apagado_puerto = s.W<TDigitalDisplay>(QStringLiteral("PIN_05"))->DigitOffColor();
      base_clasica = QApplication::palette().color(QPalette::Base);
      s.A(QStringLiteral("MTema_Alto_Contraste"))->trigger();
      QCOMPARE(TAjustes().Tema(), QStringLiteral("Alto_Contraste"));
      QCOMPARE(QApplication::palette().color(QPalette::Window), clBlack);
      QCOMPARE(s.W<TDigitalDisplay>(QStringLiteral("PIN_05"))->DigitOnColor(), clYellow);
      QCOMPARE(listado->palette().color(QPalette::Text), clWhite);
      QCOMPARE(s.W<THexEditor>(QStringLiteral("Memoria"))->Colors()->Background(), clBlack);
      QCOMPARE(TLiveButton::Colores().Grosor_Foco, 3);
      // A display built now takes the theme as it is first shown.
      auto* nuevo = new TDigitalDisplay(s.W(QStringLiteral("Panel_Registros")));
      nuevo->show();
      QCOMPARE(nuevo->DigitOnColor(), clYellow);
    }
    {
      TSesion s;
      QCOMPARE(Tema_Actual(), TTema::Alto_Contraste);
      QCOMPARE(s.W<TDigitalDisplay>(QStringLiteral("R1"))->DigitOnColor(), clYellow);
      QCOMPARE(s.W<TLiveButton>(QStringLiteral("T0"))->Color_Titulo(), clYellow);
      QCOMPARE(s.W<THListBox>(QStringLiteral("Listado"))->palette().color(QPalette::Text), clWhite);
      s.A(QStringLiteral("MTema_Clasico"))->trigger();
      QCOMPARE(TAjustes().Tema(), QStringLiteral("Clasico"));
      QCOMPARE(QApplication::palette().color(QPalette::Base), base_clasica);
      auto* r1 = s.W<TDigitalDisplay>(QStringLiteral("R1"));
      QCOMPARE(r1->DigitOnColor(), clLime);
      QCOMPARE(r1->BckgndColor(), clBlack);
      QCOMPARE(s.W<TDigitalDisplay>(QStringLiteral("PIN_05"))->DigitOffColor(), apagado_puerto);
      QCOMPARE(s.W<THListBox>(QStringLiteral("Listado"))->palette().color(QPalette::Text), clNavy);
      QCOMPARE(s.W<THexEditor>(QStringLiteral("Memoria"))->Colors()->OddColumn(), clBlue);
      QCOMPARE(s.W<TLiveButton>(QStringLiteral("T0"))->Color_Titulo(), clTeal);
      QCOMPARE(s.W(QStringLiteral("Panel_Separador_Arriba_Abajo"))->palette().color(QPalette::Window), clTeal);
      int laminas = 0;
      for (QWidget* w : s.Veltra->Form1()->findChildren<QWidget*>())
        if (dynamic_cast<TLamina*>(w)) {
          ++laminas;
          QCOMPARE(w->palette().color(QPalette::Window), clTeal);
        }
      QCOMPARE(laminas, 2);
    }
  }
};

QTEST_MAIN(tst_Temas)
#include "tst_Temas.moc"
