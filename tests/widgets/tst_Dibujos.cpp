// The drawings: lamps whose lit and dark images tell apart, glyphs drawn
// afresh at the pixel ratio asked for, a panel picture drawn once and not
// painted again while a display on it changes, and the fallback fonts.
#include <QFontDatabase>
#include <QPainter>
#include <QtTest>

#include "widgets/Colores.h"
#include "widgets/Dibujos.h"
#include "widgets/DigitalDisplay.h"
#include "widgets/Fuentes.h"
#include "widgets/Lampara.h"

namespace {

QImage Pintado(QWidget& widget, qreal razon) {
  QPixmap imagen(widget.size() * razon);
  imagen.setDevicePixelRatio(razon);
  imagen.fill(Qt::transparent);
  widget.render(&imagen, {}, {}, QWidget::DrawChildren);
  return imagen.toImage();
}

// Counts the paint events that reach a widget.
class TPinturas : public QObject {
 public:
  int Cuantas = 0;
  bool eventFilter(QObject*, QEvent* evento) override {
    Cuantas += evento->type() == QEvent::Paint;
    return false;
  }
};

}  // namespace

class TPrueba_Dibujos : public QObject {
  Q_OBJECT

 private slots:
  void Lampara_Apagada_y_Encendida() {
    TLampara lampara(QStringLiteral("L_OFF"), QStringLiteral("L_ON"), clLime, nullptr, 16);
    const QImage apagada = Pintado(lampara, 2);
    lampara.Fijar_Encendida(true);
    const QImage encendida = Pintado(lampara, 2);
    QCOMPARE(encendida.size(), QSize(32, 32));
    // The lens's centre: dim green when dark, bright when lit.
    const QColor oscuro = apagada.pixelColor(16, 18), claro = encendida.pixelColor(16, 18);
    QVERIFY2(oscuro.green() < 100, qPrintable(oscuro.name()));
    QVERIFY2(claro.green() > 200, qPrintable(claro.name()));
    QCOMPARE(apagada.pixelColor(0, 0).alpha(), 0);  // round, on whatever ground
  }

  void Glifos_a_Cualquier_Razon() {
    for (int n = 0; n <= static_cast<int>(TGlifo::TORVIC); ++n) {
      const QIcon icono = Icono(static_cast<TGlifo>(n));
      const QPixmap doble = icono.pixmap(QSize(16, 16), 2.0);
      QCOMPARE(doble.size(), QSize(32, 32));
      QCOMPARE(doble.devicePixelRatio(), 2.0);
      // Drawn at 32 pixels, not a 16-pixel image blown up.
      const QImage ampliada = icono.pixmap(QSize(16, 16), 1.0).toImage().scaled(32, 32);
      QVERIFY(doble.toImage().convertToFormat(ampliada.format()) != ampliada);
      QVERIFY(icono.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage() !=
              icono.pixmap(QSize(16, 16), 1.0).toImage());
    }
  }

  // The picture is painted under its displays once; a display changing its
  // value repaints only itself.
  void Lamina_Bajo_Visores() {
    int dibujos = 0;
    TLamina lamina(clTeal, [&dibujos](QPainter& pintor, const QWidget& panel) {
      ++dibujos;
      pintor.fillRect(QRect(0, 0, 10, 10), clMaroon);
      QCOMPARE(Caja_de(panel, "Visor"), QRectF(20, 30, 64, 22));
    });
    lamina.resize(200, 100);
    auto* visor = new TDigitalDisplay(&lamina);
    visor->setObjectName(QStringLiteral("Visor"));
    visor->setGeometry(20, 30, 64, 22);
    TPinturas de_la_lamina, del_visor;
    lamina.installEventFilter(&de_la_lamina);
    visor->installEventFilter(&del_visor);
    lamina.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lamina));
    QTRY_COMPARE(dibujos, 1);
    const int pintada = de_la_lamina.Cuantas;
    for (int valor = 0; valor < 20; ++valor) {
      visor->setValue(QStringLiteral("%1").arg(valor, 4, 16, QLatin1Char('0')));
      QTRY_VERIFY(del_visor.Cuantas > valor);
    }
    QCOMPARE(de_la_lamina.Cuantas, pintada);
    QCOMPARE(dibujos, 1);
    const QImage imagen = lamina.grab().toImage();
    QCOMPARE(imagen.pixelColor(2, 2), clMaroon);
    QCOMPARE(imagen.pixelColor(150, 80), clTeal);
  }

  void Fuentes_de_Reserva() {
    const QFont sans = Fuente_Sans(QStringLiteral("Familia Que No Existe"), 8);
    QVERIFY(QFontDatabase::hasFamily(sans.family()));
    QCOMPARE(QFontInfo(sans).pointSize(), 8);
    QVERIFY(!QFontInfo(sans).fixedPitch());
    const QString titulo = QStringLiteral("Teclée 0..9, A..F y pulse ¡vale!");
    const QFont estrecha = Fuente_Que_Quepa(sans, titulo, QFontMetrics(sans).horizontalAdvance(titulo) * 9 / 10);
    QVERIFY(QFontMetrics(estrecha).horizontalAdvance(titulo) <=
            QFontMetrics(sans).horizontalAdvance(titulo) * 9 / 10);
  }
};

QTEST_MAIN(TPrueba_Dibujos)
#include "tst_Dibujos.moc"
