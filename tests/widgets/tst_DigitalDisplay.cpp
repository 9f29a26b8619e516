#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "widgets/DigitalDisplay.h"

using TAlignment = TDigitalDisplay::TAlignment;

namespace {

const QRgb kBlack = qRgb(0x00, 0x00, 0x00);
const QRgb kLime = qRgb(0x00, 0xFF, 0x00);
const QRgb kDarkGreen = qRgb(0x00, 0x40, 0x00);

// Sizes at which the cells are whole multiples of the 28 x 35 design grid, so
// every grid point lands on a known pixel: width - trunc(2% width) is
// digits x 28 x scale, height - trunc(12% height) is 35 x scale.
struct TGeometry {
  int digits;
  QSize size;
  int x0;  // half the horizontal margin
  int y0;  // half the vertical margin
  int scale;
  int cellWidth() const { return 28 * scale; }
};
const TGeometry kFourDigits{4, {228, 79}, 2, 4, 2};      // 228 - 4 = 224, 79 - 9 = 70
const TGeometry kSixteenDigits{16, {457, 39}, 4, 2, 1};  // 457 - 9 = 448, 39 - 4 = 35
const TGeometry kFortyDigits{40, {1142, 39}, 11, 2, 1};  // 1142 - 22 = 1120

const TGeometry& GeometryFor(int digits) {
  if (digits == 16) return kSixteenDigits;
  if (digits == 40) return kFortyDigits;
  return kFourDigits;
}

// A point well inside each segment, on the design grid: a..g, decimal point,
// lower colon dot, upper colon dot.
const QPoint kInside[10] = {{16, 2},  {24, 9}, {24, 25}, {16, 32}, {9, 25},
                            {9, 9},   {16, 17}, {3, 33},  {3, 23},  {3, 11}};
constexpr int kPoint = 7;
constexpr int kLowerColon = 8;
constexpr int kUpperColon = 9;

// The lit segments of each digit, as the letters a..g.
QString LitSegments(QChar digit) {
  static const char* const lit[16] = {"abcdef", "bc",     "abdeg",   "abcdg", "bcfg",   "acdfg",
                                      "acdefg", "abc",    "abcdefg", "abcdfg", "abcefg", "cdefg",
                                      "adef",   "bcdeg",  "adefg",   "aefg"};
  return QString::fromLatin1(lit[QString(digit).toInt(nullptr, 16)]);
}

QImage Picture(TDigitalDisplay& display) {
  return display.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Segment_Pixel(const QImage& image, const TGeometry& g, int cell, int segment) {
  const QPoint grid = kInside[segment];
  return image.pixel(g.x0 + cell * g.cellWidth() + grid.x() * g.scale, g.y0 + grid.y() * g.scale);
}

bool Cell_Is_Background(const QImage& image, const TGeometry& g, int cell, QRgb background) {
  const int left = g.x0 + cell * g.cellWidth();
  for (int x = left; x < left + g.cellWidth(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixel(x, y) != background) return false;
    }
  }
  return true;
}

// Checks every cell against `cells`: a blank is a cell of background only, a
// hexadecimal digit has its segments lit and every other segment unlit.
void Verify_Cells(const QImage& image, const TGeometry& g, const QString& cells, QRgb background,
                  QRgb on, QRgb off) {
  QCOMPARE(cells.size(), g.digits);
  for (int cell = 0; cell < g.digits; ++cell) {
    const QChar expected = cells[cell];
    if (expected == QLatin1Char(' ')) {
      QVERIFY2(Cell_Is_Background(image, g, cell, background), qPrintable(QString::number(cell)));
      continue;
    }
    const QString lit = LitSegments(expected);
    for (int segment = 0; segment < 7; ++segment) {
      const bool isLit = lit.contains(QLatin1Char(static_cast<char>('a' + segment)));
      QVERIFY2(Segment_Pixel(image, g, cell, segment) == (isLit ? on : off),
               qPrintable(QStringLiteral("cell %1 segment %2").arg(cell).arg(segment + 1)));
    }
  }
}

void Configure(TDigitalDisplay& display, const TGeometry& g) {
  display.resize(g.size);
  display.setDigits(static_cast<quint8>(g.digits));
}

class TPaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

class tst_DigitalDisplay : public QObject {
  Q_OBJECT

 private slots:
  void construction() {
    TDigitalDisplay display;
    QCOMPARE(display.size(), QSize(108, 35));
    QVERIFY(display.testAttribute(Qt::WA_OpaquePaintEvent));
  }

  void propertiesByName_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("initial");
    QTest::addColumn<QVariant>("changed");
    QTest::newRow("Value") << QByteArray("Value") << QVariant(QStringLiteral("0000"))
                           << QVariant(QStringLiteral("1a.2:f x"));
    QTest::newRow("Digits") << QByteArray("Digits") << QVariant::fromValue<quint8>(4)
                            << QVariant::fromValue<quint8>(16);
    QTest::newRow("LeadingZeros") << QByteArray("LeadingZeros") << QVariant(false) << QVariant(true);
    QTest::newRow("Alignment") << QByteArray("Alignment") << QVariant::fromValue(TAlignment::Right)
                               << QVariant::fromValue(TAlignment::Center);
    QTest::newRow("BckgndColor") << QByteArray("BckgndColor") << QVariant(QColor(kBlack))
                                 << QVariant(QColor(0x00, 0x00, 0x80));
    QTest::newRow("DigitOnColor") << QByteArray("DigitOnColor") << QVariant(QColor(kLime))
                                  << QVariant(QColor(0xFF, 0xFF, 0x00));
    QTest::newRow("DigitOffColor") << QByteArray("DigitOffColor") << QVariant(QColor(kDarkGreen))
                                   << QVariant(QColor(0x80, 0x00, 0x00));
  }
  void propertiesByName() {
    QFETCH(QByteArray, name);
    QFETCH(QVariant, initial);
    QFETCH(QVariant, changed);
    TDigitalDisplay display;
    QCOMPARE(display.property(name.constData()), initial);
    QVERIFY(display.setProperty(name.constData(), changed));
    QCOMPARE(display.property(name.constData()), changed);
  }

  void cells_data() {
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("value");
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<bool>("leadingZeros");
    QTest::addColumn<QString>("cells");
    const auto right = TAlignment::Right;
    const auto centre = TAlignment::Center;
    const auto left = TAlignment::Left;
    QTest::newRow("1A2F") << 4 << "1A2F" << right << false << "1A2F";
    QTest::newRow("lower case") << 4 << "1a2f" << right << false << "1A2F";
    QTest::newRow("b and d") << 4 << "bd" << right << true << "00BD";
    QTest::newRow("right, blanks") << 4 << "12" << right << false << "  12";
    QTest::newRow("right, zeros") << 4 << "12" << right << true << "0012";
    QTest::newRow("centre, blanks") << 4 << "12" << centre << false << " 12 ";
    QTest::newRow("centre, zeros") << 4 << "12" << centre << true << "012 ";
    QTest::newRow("centre, odd gap") << 4 << "1" << centre << false << " 1  ";
    QTest::newRow("left") << 4 << "12" << left << true << "12  ";
    QTest::newRow("too many digits") << 4 << "12345" << right << false << "1234";
    QTest::newRow("too many, left") << 4 << "12345" << left << false << "1234";
    QTest::newRow("XX") << 4 << "XX" << right << false << "    ";
    QTest::newRow("XX, zeros") << 4 << "XX" << right << true << "0000";
    QTest::newRow("empty") << 4 << "" << right << false << "    ";
    QTest::newRow("empty, left, zeros") << 4 << "" << left << true << "    ";
    QTest::newRow("switched off") << 4 << "****" << right << false << "    ";
    QTest::newRow("blank inside") << 4 << "8 8" << left << false << "8 8 ";
    QTest::newRow("blank pushes past the end") << 4 << "8 8" << right << false << "  8 ";
    QTest::newRow("other characters skipped") << 4 << "G1-2h" << right << false << "  12";
    QTest::newRow("every digit") << 16 << "0123456789abcdef" << right << false << "0123456789ABCDEF";
    const QString thirtyZeros(30, QLatin1Char('0'));
    const QString thirtyBlanks(30, QLatin1Char(' '));
    QTest::newRow("thirty pads at most") << 40 << "" << right << true << thirtyZeros + QString(10, ' ');
    QTest::newRow("thirty blanks at most") << 40 << "8" << right << false << thirtyBlanks + "8" + QString(9, ' ');
  }
  void cells() {
    QFETCH(int, digits);
    QFETCH(QString, value);
    QFETCH(TAlignment, alignment);
    QFETCH(bool, leadingZeros);
    QFETCH(QString, cells);
    const TGeometry& g = GeometryFor(digits);
    TDigitalDisplay display;
    Configure(display, g);
    display.setValue(value);
    display.setAlignment(alignment);
    display.setLeadingZeros(leadingZeros);
    Verify_Cells(Picture(display), g, cells, kBlack, kLime, kDarkGreen);
    QCOMPARE(display.Value(), value);
  }

  // Points and colons stand at the left foot of the cell after the digit.
  void marks_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("colons");
    QTest::newRow("1.5") << "1.5" << TAlignment::Right << "  15" << "0001" << "0000";
    QTest::newRow("comma") << "1,2" << TAlignment::Left << "12  " << "0100" << "0000";
    QTest::newRow("leading point") << ".1" << TAlignment::Left << "1   " << "1000" << "0000";
    QTest::newRow("colon") << "12:34" << TAlignment::Right << "1234" << "0000" << "0010";
    QTest::newRow("point after the last digit") << "1234." << TAlignment::Right << "1234" << "0000"
                                                << "0000";
    QTest::newRow("point over a blank") << " .1" << TAlignment::Left << " 1  " << "0100" << "0000";
  }
  void marks() {
    QFETCH(QString, value);
    QFETCH(TAlignment, alignment);
    QFETCH(QString, cells);
    QFETCH(QString, points);
    QFETCH(QString, colons);
    TDigitalDisplay display;
    Configure(display, kFourDigits);
    display.setValue(value);
    display.setAlignment(alignment);
    const QImage image = Picture(display);
    Verify_Cells(image, kFourDigits, cells, kBlack, kLime, kDarkGreen);
    for (int cell = 0; cell < 4; ++cell) {
      const QRgb point = points[cell] == QLatin1Char('1') ? kLime : kBlack;
      const QRgb colon = colons[cell] == QLatin1Char('1') ? kLime : kBlack;
      QCOMPARE(Segment_Pixel(image, kFourDigits, cell, kPoint), point);
      QCOMPARE(Segment_Pixel(image, kFourDigits, cell, kLowerColon), colon);
      QCOMPARE(Segment_Pixel(image, kFourDigits, cell, kUpperColon), colon);
    }
  }

  void colours() {
    const QRgb navy = qRgb(0x00, 0x00, 0x80);
    const QRgb yellow = qRgb(0xFF, 0xFF, 0x00);
    const QRgb maroon = qRgb(0x80, 0x00, 0x00);
    TDigitalDisplay display;
    Configure(display, kFourDigits);
    display.setValue(QStringLiteral("7:4"));
    display.setBckgndColor(QColor(navy));
    display.setDigitOnColor(QColor(yellow));
    display.setDigitOffColor(QColor(maroon));
    const QImage image = Picture(display);
    Verify_Cells(image, kFourDigits, QStringLiteral("  74"), navy, yellow, maroon);
    QCOMPARE(Segment_Pixel(image, kFourDigits, 3, kUpperColon), yellow);
  }

  void noDigitsDrawsOnlyTheBackground() {
    TDigitalDisplay display;
    display.setValue(QStringLiteral("8888"));
    display.setDigits(0);
    const QImage image = Picture(display);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) QCOMPARE(image.pixel(x, y), kBlack);
    }
  }

  // At 108 x 35 the cells are 26 pixels wide from x = 1: the four cells of
  // "8888" are the same picture, and segment f's left edge 7 x 26/28 = 6.5
  // truncates to 6, so the first lit column is 7.
  void defaultSizeCells() {
    TDigitalDisplay display;
    display.setValue(QStringLiteral("8888"));
    const QImage image = Picture(display);
    const QImage first = image.copy(1, 0, 26, 35);
    for (int cell = 1; cell < 4; ++cell) QCOMPARE(image.copy(1 + 26 * cell, 0, 26, 35), first);
    int firstLit = -1;
    for (int x = 0; x < image.width() && firstLit < 0; ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) != kBlack) firstLit = x;
      }
    }
    QCOMPARE(firstLit, 7);
  }

  void resizeRedraws() {
    TDigitalDisplay display;
    display.setDigits(16);
    display.setValue(QStringLiteral("0123456789ABCDEF"));
    display.resize(100, 20);
    Picture(display);
    display.resize(kSixteenDigits.size);
    Verify_Cells(Picture(display), kSixteenDigits, QStringLiteral("0123456789ABCDEF"), kBlack, kLime,
                 kDarkGreen);
  }

  // At 108 pixels the fifth cell would start at 1 + 4 x 26 = 105, so a point
  // or colon after the fourth digit would show in the last columns.
  void nothingAfterTheLastDigit_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("point") << "8888.";
    QTest::newRow("colon") << "8888:";
    QTest::newRow("point after a fifth digit") << "888888.";
  }
  void nothingAfterTheLastDigit() {
    QFETCH(QString, value);
    TDigitalDisplay display;
    display.setValue(value);
    const QImage image = Picture(display);
    for (int x = 105; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) QCOMPARE(image.pixel(x, y), kBlack);
    }
  }

  // Every setter repaints when the value changes and does nothing when it
  // does not.
  void repaintsOnlyOnChange_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("changed");
    QTest::newRow("Value") << QByteArray("Value") << QVariant(QStringLiteral("1234"));
    QTest::newRow("Digits") << QByteArray("Digits") << QVariant::fromValue<quint8>(5);
    QTest::newRow("LeadingZeros") << QByteArray("LeadingZeros") << QVariant(true);
    QTest::newRow("Alignment") << QByteArray("Alignment") << QVariant::fromValue(TAlignment::Left);
    QTest::newRow("BckgndColor") << QByteArray("BckgndColor") << QVariant(QColor(Qt::blue));
    QTest::newRow("DigitOnColor") << QByteArray("DigitOnColor") << QVariant(QColor(Qt::white));
    QTest::newRow("DigitOffColor") << QByteArray("DigitOffColor") << QVariant(QColor(Qt::gray));
  }
  void repaintsOnlyOnChange() {
    QFETCH(QByteArray, name);
    QFETCH(QVariant, changed);
    TDigitalDisplay display;
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    TPaintCounter counter;
    display.installEventFilter(&counter);

    display.setProperty(name.constData(), display.property(name.constData()));
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);
    display.setProperty(name.constData(), changed);
    QTRY_COMPARE(counter.paints, 1);
    display.setProperty(name.constData(), changed);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 1);
  }

  // At 108 pixels the click margin is trunc(21.6) = 21: cells of
  // trunc(87 / 4) = 21 pixels from x = 10, bounds inclusive.
  void digitClick_data() {
    QTest::addColumn<int>("digits");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("x");
    QTest::addColumn<QList<int>>("fired");
    QTest::addColumn<int>("clicks");
    const auto leftButton = Qt::LeftButton;
    QTest::newRow("left margin") << 4 << leftButton << 9 << QList<int>{} << 1;
    QTest::newRow("first pixel") << 4 << leftButton << 10 << QList<int>{1} << 1;
    QTest::newRow("inside 1") << 4 << leftButton << 20 << QList<int>{1} << 1;
    QTest::newRow("border 1|2") << 4 << leftButton << 31 << QList<int>{1, 2} << 1;
    QTest::newRow("inside 2") << 4 << leftButton << 32 << QList<int>{2} << 1;
    QTest::newRow("border 2|3") << 4 << leftButton << 52 << QList<int>{2, 3} << 1;
    QTest::newRow("border 3|4") << 4 << leftButton << 73 << QList<int>{3, 4} << 1;
    QTest::newRow("last pixel") << 4 << leftButton << 94 << QList<int>{4} << 1;
    QTest::newRow("right margin") << 4 << leftButton << 95 << QList<int>{} << 1;
    QTest::newRow("right button") << 4 << Qt::RightButton << 20 << QList<int>{1} << 0;
    QTest::newRow("no digits") << 0 << leftButton << 20 << QList<int>{} << 1;
    // trunc(87 / 2) = 43: cells 10..53 and 53..96.
    QTest::newRow("two digits, border") << 2 << leftButton << 53 << QList<int>{1, 2} << 1;
  }
  void digitClick() {
    QFETCH(int, digits);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, x);
    QFETCH(QList<int>, fired);
    QFETCH(int, clicks);
    TDigitalDisplay display;
    display.setDigits(static_cast<quint8>(digits));
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    QSignalSpy digitSpy(&display, &TDigitalDisplay::OnDigitClick);
    QSignalSpy clickSpy(&display, &TDigitalDisplay::OnClick);
    QTest::mouseClick(&display, button, Qt::NoModifier, QPoint(x, 17));
    QList<int> seen;
    for (const QList<QVariant>& arguments : digitSpy) {
      QCOMPARE(arguments.at(0).value<TDigitalDisplay*>(), &display);
      seen << arguments.at(1).toInt();
    }
    QCOMPARE(seen, fired);
    QCOMPARE(clickSpy.size(), clicks);
    if (clicks > 0) QCOMPARE(clickSpy.at(0).at(0).value<TDigitalDisplay*>(), &display);
  }

  void releaseOutsideIsNoClick() {
    TDigitalDisplay display;
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    QSignalSpy clickSpy(&display, &TDigitalDisplay::OnClick);
    QTest::mousePress(&display, Qt::LeftButton, Qt::NoModifier, QPoint(20, 17));
    QTest::mouseRelease(&display, Qt::LeftButton, Qt::NoModifier, QPoint(120, 17));
    QCOMPARE(clickSpy.size(), 0);
  }

  // A receiver may destroy the display from its handler; the press then ends
  // without touching it, even on a border that two cells share.
  void receiverDestroysTheDisplay() {
    QWidget window;
    window.resize(200, 100);
    auto* display = new TDigitalDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QList<int> seen;
    connect(display, &TDigitalDisplay::OnDigitClick, display, [&seen](TDigitalDisplay* sender, int digit) {
      seen << digit;
      delete sender;
    });
    const QPointer<TDigitalDisplay> watch(display);
    QTest::mousePress(display, Qt::LeftButton, Qt::NoModifier, QPoint(31, 17));
    QVERIFY(watch.isNull());
    QCOMPARE(seen, QList<int>{1});
  }

  // The pixmap follows the screen's pixel ratio. Run again under a scale
  // factor of 2 when the screen here is not high-DPI.
  void sharpOnHighDpiScreens() {
    TDigitalDisplay display;
    Configure(display, kFourDigits);
    display.setValue(QStringLiteral("8888"));
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    if (display.devicePixelRatioF() != 2.0) {
      if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) QSKIP("the screen is neither 1x nor 2x");
      QProcess child;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
      child.setProcessEnvironment(environment);
      child.setProcessChannelMode(QProcess::MergedChannels);
      child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("sharpOnHighDpiScreens")});
      QVERIFY(child.waitForFinished(60000));
      const QByteArray output = child.readAll();
      QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
      return;
    }
    const QPixmap grabbed = display.grab();
    QCOMPARE(grabbed.devicePixelRatio(), 2.0);
    const QImage image = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), kFourDigits.size * 2);
    const QPoint inside = kInside[0] * kFourDigits.scale + QPoint(kFourDigits.x0, kFourDigits.y0);
    QCOMPARE(image.pixel(inside * 2), kLime);
    // A picture drawn at 1x and scaled up is uniform in every aligned 2 x 2
    // block; the slanted segment ends show finer steps.
    int finerBlocks = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
      for (int x = 0; x + 1 < image.width(); x += 2) {
        const QRgb corner = image.pixel(x, y);
        if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
            image.pixel(x + 1, y + 1) != corner) {
          ++finerBlocks;
        }
      }
    }
    QVERIFY(finerBlocks > 0);
  }
};

QTEST_MAIN(tst_DigitalDisplay)
#include "tst_DigitalDisplay.moc"
