#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "widgets/DigitalDisplay.h"

using TAlignment = TDigitalDisplay::TAlignment;

namespace {

const QRgb kBlack = qRgb(0x00, 0x00, 0x00);
const QRgb kLime = qRgb(0x00, 0xFF, 0x00);
const QRgb kDarkGreen = qRgb(0x00, 0x40, 0x00);

// A point well inside each segment on the 28 x 35 design grid: a..g, decimal
// point, lower colon dot, upper colon dot.
const QPoint kInside[10] = {{16, 2}, {24, 9}, {24, 25}, {16, 32}, {9, 25},
                            {9, 9},  {16, 17}, {3, 33}, {3, 23},  {3, 11}};
// Segments a..g of each hexadecimal digit, lit (1) or not (0).
const QStringList kPatterns = QStringLiteral("1111110 0110000 1101101 1111001 0110011 1011011 1011111 1110000 "
                                             "1111111 1111011 1110111 0011111 1001110 0111101 1001111 1000111")
                                  .split(' ');

QImage Picture(TDigitalDisplay& display) { return display.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Reads the picture back as text, cell by cell: a blank is background only; a
// digit has its segments in the on colour and the rest in the off colour
// (else "?"); a point or colon at a cell's foot comes before it. A "|" at the
// end says something other than background lies outside the cells.
QString Read_Cells(TDigitalDisplay& display) {
  const QImage image = Picture(display);
  const QRgb back = display.BckgndColor().rgb(), on = display.DigitOnColor().rgb(), off = display.DigitOffColor().rgb();
  const int x0 = display.width() / 100, digits = display.Digits();
  const auto pixel = [&](int cell, int s) { return image.pixel(x0 + 28 * cell + kInside[s].x(), 2 + kInside[s].y()); };
  const auto background = [&](int left, int right) {
    for (int x = left; x < right; ++x)
      for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != back) return false;
    return true;
  };
  QString text;
  for (int cell = 0; cell < digits; ++cell) {
    const QRgb point = pixel(cell, 7), colon = pixel(cell, 8) == pixel(cell, 9) ? pixel(cell, 9) : 0;
    if (point != back) text += point == on ? '.' : '?';
    if (colon != back) text += colon == on ? ':' : '?';
    QString pattern;
    for (int s = 0; s < 7; ++s) pattern += pixel(cell, s) == on ? '1' : pixel(cell, s) == off ? '0' : '?';
    const auto digit = kPatterns.indexOf(pattern);
    const bool blank = background(x0 + 28 * cell, x0 + 28 * (cell + 1));
    text += blank ? ' ' : digit < 0 ? '?' : "0123456789ABCDEF"[digit];
  }
  if (!background(0, x0) || !background(x0 + 28 * digits, image.width())) text += '|';
  return text;
}

class TPaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override { paints += event->type() == QEvent::Paint; return false; }
};

}  // namespace

class tst_DigitalDisplay : public QObject {
  Q_OBJECT

 private slots:
  void cells_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<bool>("leadingZeros");
    QTest::addColumn<QString>("cells");
    const auto right = TAlignment::Right, left = TAlignment::Left;
    QTest::newRow("every digit, lower case") << "0123456789abcdef" << left << true
                                             << "0123456789ABCDEF" + QString(24, ' ');
    QTest::newRow("right, zeros") << "12" << right << true << "0012";
    QTest::newRow("12345") << "12345" << right << false << "1234";
    QTest::newRow("only hexadecimal digits count") << "G1 -h" << right << false << "   1";
    QTest::newRow("comma and colon") << "1,2:34" << right << false << "1.2:34";
  }
  // At these widths width - trunc(2% of it) is digits x 28, so at a height of
  // 39 every cell is the design grid at scale 1, from x = width / 100 and y = 2.
  void cells() {
    QFETCH(QString, value);
    QFETCH(TAlignment, alignment);
    QFETCH(bool, leadingZeros);
    QFETCH(QString, cells);
    const auto digits = QString(cells).remove('.').remove(':').size();
    TDigitalDisplay display;
    display.resize(digits == 40 ? 1142 : 114, 39);
    display.setDigits(static_cast<quint8>(digits));
    display.setValue(value);
    display.setAlignment(alignment);
    display.setLeadingZeros(leadingZeros);
    display.setBckgndColor(Qt::darkBlue);
    display.setDigitOnColor(Qt::yellow);
    display.setDigitOffColor(Qt::darkRed);
    QCOMPARE(Read_Cells(display), cells);
    QCOMPARE(display.Value(), value);
  }

  // Each property, named by the row, has its default, can be set by name, and
  // repaints once when it changes and never when it does not.
  void repaintsOnlyOnChange_data() {
    QTest::addColumn<QVariant>("initial");
    QTest::addColumn<QVariant>("changed");
    QTest::newRow("Value") << QVariant(QStringLiteral("0000")) << QVariant(QStringLiteral("1a:"));
    QTest::newRow("BckgndColor") << QVariant(QColor(kBlack)) << QVariant(QColor(Qt::blue));
    QTest::newRow("DigitOnColor") << QVariant(QColor(kLime)) << QVariant(QColor(Qt::white));
    QTest::newRow("DigitOffColor") << QVariant(QColor(kDarkGreen)) << QVariant(QColor(Qt::gray));
  }
  void repaintsOnlyOnChange() {
    QFETCH(QVariant, initial);
    QFETCH(QVariant, changed);
    const char* name = QTest::currentDataTag();
    TDigitalDisplay display;
    QCOMPARE(display.property(name), initial);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    TPaintCounter counter;
    display.installEventFilter(&counter);
    QVERIFY(display.setProperty(name, changed));
    QTRY_COMPARE(counter.paints, 1);
    display.setProperty(name, changed);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 1);
  }

  // VELTRA edits a register on a click; one released outside is no click.
  void clicks() {
    TDigitalDisplay display;
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    QSignalSpy clickSpy(&display, &TDigitalDisplay::OnClick);
    QTest::mouseClick(&display, Qt::LeftButton, Qt::NoModifier, QPoint(20, 17));
    QCOMPARE(clickSpy.size(), 1);
    QTest::mousePress(&display, Qt::LeftButton, Qt::NoModifier, QPoint(20, 17));
    QTest::mouseRelease(&display, Qt::LeftButton, Qt::NoModifier, QPoint(120, 17));
    QCOMPARE(clickSpy.size(), 1);
  }

  // The picture follows the screen's pixel ratio. On a 1x screen this test
  // runs again in a child at a scale factor of 2.
  void sharpOnHighDpiScreens() {
    TDigitalDisplay display;
    display.setValue(QStringLiteral("8888"));
    if (display.devicePixelRatioF() == 1.0 && !qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
      qputenv("QT_SCALE_FACTOR", "2");
      const int status = QProcess::execute(QCoreApplication::applicationFilePath(), {"sharpOnHighDpiScreens"});
      qunsetenv("QT_SCALE_FACTOR");
      QCOMPARE(status, 0);
      return;
    }
    const QImage image = Picture(display);
    QCOMPARE(image.pixel(QPoint(9, 25) * 2), kLime);  // inside segment e
    // Drawn at 1x and scaled up, every aligned 2 x 2 block would be uniform.
    QVERIFY(image != image.scaled(display.size()).scaled(image.size()));
  }
};

QTEST_MAIN(tst_DigitalDisplay)
#include "tst_DigitalDisplay.moc"
