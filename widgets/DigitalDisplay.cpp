#include "widgets/DigitalDisplay.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QtMath>
#include <algorithm>
#include <array>

#include "widgets/Colores.h"

namespace {

const QColor Verde_Oscuro(0x00, 0x40, 0x00);

// A digit cell is designed on a 28 x 35 grid; every segment is a six-point
// polygon on it (some points repeat).
constexpr int kGridWidth = 28;
constexpr int kGridHeight = 35;

struct TGridPoint {
  int x;
  int y;
};
using TSegment = std::array<TGridPoint, 6>;

constexpr std::array<TSegment, 10> kSegments = {{
    {{{9, 0}, {9, 0}, {24, 0}, {24, 0}, {20, 4}, {13, 4}}},          // a, top
    {{{26, 2}, {26, 2}, {26, 14}, {24, 16}, {22, 14}, {22, 6}}},     // b, upper right
    {{{26, 20}, {26, 20}, {26, 32}, {22, 28}, {22, 20}, {24, 18}}},  // c, lower right
    {{{24, 34}, {24, 34}, {9, 34}, {9, 34}, {13, 30}, {20, 30}}},    // d, bottom
    {{{7, 32}, {7, 32}, {7, 20}, {9, 18}, {11, 20}, {11, 28}}},      // e, lower left
    {{{7, 14}, {7, 14}, {7, 2}, {11, 6}, {11, 14}, {9, 16}}},        // f, upper left
    {{{11, 17}, {13, 15}, {20, 15}, {22, 17}, {20, 19}, {13, 19}}},  // g, middle
    {{{2, 32}, {2, 32}, {5, 32}, {5, 32}, {5, 34}, {2, 34}}},        // decimal point
    {{{2, 22}, {2, 22}, {5, 22}, {5, 22}, {5, 25}, {2, 25}}},        // lower colon dot
    {{{2, 10}, {2, 10}, {5, 10}, {5, 10}, {5, 13}, {2, 13}}},        // upper colon dot
}};
constexpr int kDigitSegments = 7;
constexpr int kDecimalPoint = 7;
constexpr int kLowerColonDot = 8;
constexpr int kUpperColonDot = 9;

// Character k of a digit's pattern says whether segment k is lit.
constexpr std::array<const char*, 16> kPatterns = {
    "1111110", "0110000", "1101101", "1111001", "0110011", "1011011", "1011111", "1110000",
    "1111111", "1111011", "1110111", "0011111", "1001110", "0111101", "1001111", "1000111",
};

// No more pad characters than this are ever put before the text.
constexpr int kMaxPad = 30;

// The digit's value for 0-9 and upper-case A-F, else -1.
int Hex_Digit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

int Floor_Pixel(qreal coordinate) { return static_cast<int>(qFloor(coordinate)); }

// Where a cell's segments go: the grid's scale and the cell's top-left corner.
struct TCell_Geometry {
  float scaleX;
  float scaleY;
  int x;
  int y;
};

void Draw_Segment(QPainter& painter, const TCell_Geometry& cell, int segment, const QColor& color) {
  std::array<QPoint, 6> points;
  const TSegment& shape = kSegments[static_cast<size_t>(segment)];
  for (size_t k = 0; k < points.size(); ++k) {
    // The products are exact in double, so truncation sees the true value.
    points[k] = QPoint(static_cast<int>(shape[k].x * static_cast<double>(cell.scaleX)) + cell.x,
                       static_cast<int>(shape[k].y * static_cast<double>(cell.scaleY)) + cell.y);
  }
  painter.setPen(color);
  painter.setBrush(color);
  painter.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void Draw_Digit(QPainter& painter, const TCell_Geometry& cell, int digit, const QColor& on, const QColor& off) {
  const char* pattern = kPatterns[static_cast<size_t>(digit)];
  for (int segment = 0; segment < kDigitSegments; ++segment)
    Draw_Segment(painter, cell, segment, pattern[segment] == '1' ? on : off);
}

// A digit drawn once on a transparent cell, shared by every display of the
// same size and colours: a free run changes displays on every tick, and
// copying a cell costs far less than drawing its seven polygons. Only whole
// pixel ratios, where the copy lands on exactly the pixels the polygons would.
// The cache key of a display's cells, the digit left out.
QString Cell_Key(int cellW, int H, const QColor& on, const QColor& off, qreal pixelRatio) {
  return QStringLiteral("TDigitalDisplay %1 %2 %3 %4 %5 ")
      .arg(cellW)
      .arg(H)
      .arg(on.rgba())
      .arg(off.rgba())
      .arg(pixelRatio);
}

QPixmap Digit_Cell(const QString& cellKey, int digit, int cellW, int H, const TCell_Geometry& cell, const QColor& on,
                   const QColor& off, qreal pixelRatio) {
  const QString key = cellKey + QChar(u'0' + digit);
  QPixmap pixmap;
  if (QPixmapCache::find(key, &pixmap)) return pixmap;
  // One pixel of room past the cell for the polygons' outline.
  pixmap = QPixmap(qCeil((cellW + 1) * pixelRatio), qCeil((H + 1) * pixelRatio));
  pixmap.setDevicePixelRatio(pixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  Draw_Digit(painter, {cell.scaleX, cell.scaleY, 0, cell.y}, digit, on, off);
  painter.end();
  QPixmapCache::insert(key, pixmap);
  return pixmap;
}

}  // namespace

TDigitalDisplay::TDigitalDisplay(QWidget* parent)
    : QWidget(parent), bckgndColor_(clBlack), digitOnColor_(clLime), digitOffColor_(Verde_Oscuro) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(108, 35);
}

template <typename T>
void TDigitalDisplay::Change(T& field, const T& value) {
  if (field == value) return;
  field = value;
  pixmapStale_ = true;
  update();
}

void TDigitalDisplay::setLeadingZeros(bool leadingZeros) { Change(leadingZeros_, leadingZeros); }
void TDigitalDisplay::setAlignment(TAlignment alignment) { Change(alignment_, alignment); }
void TDigitalDisplay::setDigits(quint8 digits) { Change(digits_, digits); }
void TDigitalDisplay::setValue(const QString& value) {
  if (value_ == value) return;
  Change(value_, value);
  // A screen reader announces what an instruction wrote.
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent cambio(this, value);
    QAccessible::updateAccessibility(&cambio);
  }
}
void TDigitalDisplay::setBckgndColor(const QColor& color) { Change(bckgndColor_, color); }
void TDigitalDisplay::setDigitOnColor(const QColor& color) { Change(digitOnColor_, color); }
void TDigitalDisplay::setDigitOffColor(const QColor& color) { Change(digitOffColor_, color); }

namespace {

class TChange_Frame final : public QWidget {
 public:
  explicit TChange_Frame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Color_Marca); }
};

}  // namespace

TDigitalDisplay::~TDigitalDisplay() { delete frame_; }

void TDigitalDisplay::setCambiado(bool cambiado) {
  if (cambiado_ == cambiado) return;
  cambiado_ = cambiado;
  if (cambiado && !frame_ && parentWidget()) frame_ = new TChange_Frame(parentWidget());
  Place_Frame();
}

// The frame follows the display wherever it goes and whether it shows.
bool TDigitalDisplay::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::Hide: Place_Frame(); break;
    default: break;
  }
  return QWidget::event(event);
}

void TDigitalDisplay::Place_Frame() {
  if (!frame_) return;
  if (!parentWidget()) {
    delete frame_;  // a window of its own would float apart
    return;
  }
  if (frame_->parentWidget() != parentWidget()) frame_->setParent(parentWidget());
  frame_->setGeometry(geometry().adjusted(-2, -2, 2, 2));
  frame_->stackUnder(this);
  frame_->setVisible(cambiado_ && !isHidden());
}

QString TDigitalDisplay::Working_Text() const {
  const auto digitsInValue = std::count_if(value_.cbegin(), value_.cend(),
                                           [](QChar c) { return Hex_Digit(c.toUpper()) >= 0; });
  const int missing = digits_ - static_cast<int>(digitsInValue);
  int pads = 0;
  if (alignment_ == TAlignment::Right) pads = missing;
  if (alignment_ == TAlignment::Center) pads = missing / 2;
  pads = std::clamp(pads, 0, kMaxPad);
  return QString(pads, leadingZeros_ ? QLatin1Char('0') : QLatin1Char(' ')) + value_;
}

void TDigitalDisplay::Rebuild_Pixmap(qreal pixelRatio) {
  const int W = width();
  const int H = height();
  const QSize pixels(qCeil(W * pixelRatio), qCeil(H * pixelRatio));
  if (pixmap_.size() != pixels) pixmap_ = QPixmap(pixels);
  pixmap_.setDevicePixelRatio(pixelRatio);
  builtSize_ = size();
  pixmapStale_ = false;
  if (pixmap_.isNull()) return;
  pixmap_.fill(bckgndColor_);
  if (digits_ == 0) return;

  // Integer arithmetic gives the exact truncations of W x 0.02 and H x 0.12.
  const int marginX = W * 2 / 100;
  const int marginY = H * 12 / 100;
  const int cellW = (W - marginX) / digits_;
  int x = marginX / 2;
  const int y = marginY / 2;
  const float scaleX = static_cast<float>(cellW) / kGridWidth;
  const float scaleY = static_cast<float>(H - marginY) / kGridHeight;

  QPainter painter(&pixmap_);
  TCell_Geometry cell{scaleX, scaleY, x, y};
  const bool cached = qFuzzyCompare(pixelRatio, static_cast<qreal>(qRound(pixelRatio)));
  const QString cellKey = cached ? Cell_Key(cellW, H, digitOnColor_, digitOffColor_, pixelRatio) : QString();
  int drawn = 0;
  for (const QChar original : Working_Text()) {
    const QChar c = original.toUpper();
    const int digit = Hex_Digit(c);
    if (digit >= 0) {
      if (cached) painter.drawPixmap(cell.x, 0, Digit_Cell(cellKey, digit, cellW, H, cell, digitOnColor_, digitOffColor_, pixelRatio));
      else Draw_Digit(painter, cell, digit, digitOnColor_, digitOffColor_);
      cell.x += cellW;
      if (++drawn == digits_) break;
    } else if (c == QLatin1Char(' ')) {
      cell.x += cellW;
    } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
      Draw_Segment(painter, cell, kDecimalPoint, digitOnColor_);
    } else if (c == QLatin1Char(':')) {
      Draw_Segment(painter, cell, kUpperColonDot, digitOnColor_);
      Draw_Segment(painter, cell, kLowerColonDot, digitOnColor_);
    }
  }
}

void TDigitalDisplay::paintEvent(QPaintEvent*) {
  const qreal pixelRatio = devicePixelRatioF();
  if (pixmapStale_ || builtSize_ != size() || pixmap_.devicePixelRatio() != pixelRatio) {
    Rebuild_Pixmap(pixelRatio);
  }
  QPainter(this).drawPixmap(0, 0, pixmap_);
}

void TDigitalDisplay::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  // Accepted, so that the release comes back here and can make a click.
  event->accept();
  if (event->button() == Qt::LeftButton) leftPressed_ = true;

  // The cells for clicks are laid out with a 0.2 margin, wider than the
  // drawing's; the bounds are inclusive, so a shared border pixel hits two cells.
  const int digits = digits_;
  if (digits == 0) return;
  const int X = Floor_Pixel(event->position().x());
  const int margin = width() / 5;
  const int cellW = (width() - margin) / digits;
  int start = margin / 2;
  const QPointer<TDigitalDisplay> self(this);
  for (int digit = 1; digit <= digits; ++digit) {
    if (start <= X && X <= start + cellW) {
      emit OnDigitClick(this, digit);
      if (!self) return;  // a receiver may destroy the display
    }
    start += cellW;
  }
}

void TDigitalDisplay::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !leftPressed_) return;
  leftPressed_ = false;
  const QPoint pixel(Floor_Pixel(event->position().x()), Floor_Pixel(event->position().y()));
  if (rect().contains(pixel)) emit OnClick(this);
}

void TDigitalDisplay::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((focusPolicy() & Qt::TabFocus) && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    event->accept();
    emit OnClick(this);
    return;
  }
  QWidget::keyPressEvent(event);
}
