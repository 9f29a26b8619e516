#include "widgets/hexeditor.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <vector>

#include "widgets/hexeditor_codepages.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int DigitCount(int64_t value, int base) {
  int digits = 1;
  while (value >= base) {
    value /= base;
    ++digits;
  }
  return digits;
}

QColor Xored(const QColor& color, const QColor& mask) {
  return QColor(color.red() ^ mask.red(), color.green() ^ mask.green(), color.blue() ^ mask.blue());
}

}  // namespace

// ---------------------------------------------------------------- TColors

TColors::TColors(THexEditor* owner)
    : QObject(owner),
      owner_(owner),
      oddInverse_(Inverse(oddColumn_)),
      evenInverse_(Inverse(evenColumn_)),
      background_(owner->palette().color(QPalette::Base)) {}

QColor TColors::Inverse(const QColor& color) {
  return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

void TColors::Store(QColor& entry, const QColor& value) {
  if (entry == value) return;
  entry = value;
  owner_->viewport()->update();
}

void TColors::SetBackground(const QColor& value) {
  if (background_ == value) return;
  background_ = value;
  QPalette palette = owner_->viewport()->palette();
  palette.setColor(QPalette::Base, value);
  owner_->viewport()->setPalette(palette);
  owner_->viewport()->repaint();
}

void TColors::SetOddColumn(const QColor& value) {
  oddInverse_ = Inverse(value);
  Store(oddColumn_, value);
}

void TColors::SetEvenColumn(const QColor& value) {
  evenInverse_ = Inverse(value);
  Store(evenColumn_, value);
}

// ---------------------------------------------------------------- grid layout

void THexEditor::RecomputeGrid() {
  buffer_->CutChangeMarks(DataSize());
  const int64_t rows = (int64_t{DataSize()} + bytesPerLine_ - 1) / bytesPerLine_;
  rowCount_ = static_cast<int>(std::max<int64_t>(1, rows));
  colCount_ = 3 * bytesPerLine_ + 3;
  current_.Col = std::clamp(current_.Col, kFixedCols, colCount_ - 1);
  current_.Row = std::clamp(current_.Row, 0, rowCount_ - 1);
  RecomputeWidths();
}

void THexEditor::RecomputeWidths() {
  const QFontMetrics metrics(font());
  charWidth_ = metrics.horizontalAdvance(QLatin1Char('w'));
  charHeight_ = metrics.height() + 2;
  const int64_t lastRowStart = int64_t{rowCount_ - 1} * bytesPerLine_;
  switch (offsetDisplay_) {
    case odNone: offsetWidth_ = 0; break;
    case odHex: offsetWidth_ = DigitCount(lastRowStart, 16) + 3; break;
    case odDec: offsetWidth_ = DigitCount(lastRowStart, 10) + 1; break;
    case odOctal: offsetWidth_ = DigitCount(lastRowStart, 8) + 4; break;
  }
  colLefts_.assign(static_cast<size_t>(colCount_) + 1, 0);
  for (int col = 0; col < colCount_; ++col)
    colLefts_[static_cast<size_t>(col) + 1] = colLefts_[static_cast<size_t>(col)] + ColWidth(col);
  UpdateScrollBars();
  viewport()->update();
}

int THexEditor::ColWidth(int col) const {
  if (col == 0) return offsetWidth_ * charWidth_;
  if (col == 1) return showMarkerColumn_ ? charWidth_ : 0;
  if (col <= 2 * bytesPerLine_ + 1 && col % nibblesPerGroup_ == 1) return 2 * charWidth_;
  return charWidth_;
}

int THexEditor::FullRows() const { return std::max(1, viewport()->height() / charHeight_); }

int THexEditor::TopRow() const { return verticalScrollBar()->value(); }

void THexEditor::SetTopRow(int row) { verticalScrollBar()->setValue(row); }

int THexEditor::VisibleRowCount() const { return std::max(1, std::min(FullRows(), rowCount_ - TopRow())); }

int THexEditor::HorizontalOffset() const { return horizontalScrollBar()->value(); }

void THexEditor::UpdateScrollBars() {
  const int rows = FullRows();
  verticalScrollBar()->setRange(0, std::max(0, rowCount_ - rows));
  verticalScrollBar()->setPageStep(rows);
  const int visibleWidth = std::max(0, viewport()->width() - FixedWidth());
  const int dataWidth = colLefts_.back() - FixedWidth();
  horizontalScrollBar()->setRange(0, std::max(0, dataWidth - visibleWidth));
  horizontalScrollBar()->setPageStep(std::max(1, visibleWidth));
  horizontalScrollBar()->setSingleStep(std::max(1, charWidth_));
}

QRect THexEditor::CellRect(int col, int row) const {
  if (col < 0 || col >= colCount_) return QRect();
  int x = colLefts_[static_cast<size_t>(col)];
  if (col >= kFixedCols) x -= HorizontalOffset();
  return QRect(x, (row - TopRow()) * charHeight_, ColWidth(col), charHeight_);
}

TGridCell THexEditor::CellAtPoint(QPoint point, bool* valid) const {
  *valid = false;
  if (point.y() < 0 || point.x() < 0) return {};
  const int row = TopRow() + point.y() / charHeight_;
  if (row >= rowCount_) return {};
  const int x = point.x() < FixedWidth() ? point.x() : point.x() + HorizontalOffset();
  const auto next = std::upper_bound(colLefts_.begin(), colLefts_.end(), x);
  const int col = static_cast<int>(next - colLefts_.begin()) - 1;
  if (col < 0 || col >= colCount_) return {};
  *valid = true;
  return TGridCell{col, row};
}

void THexEditor::ScrollIntoView(TGridCell cell) {
  const int rows = FullRows();
  if (cell.Row < TopRow())
    SetTopRow(cell.Row);
  else if (cell.Row > TopRow() + rows - 1)
    SetTopRow(cell.Row - rows + 1);
  if (cell.Col < kFixedCols) return;
  const int left = colLefts_[static_cast<size_t>(cell.Col)] - FixedWidth();
  const int right = left + ColWidth(cell.Col);
  const int visibleWidth = std::max(0, viewport()->width() - FixedWidth());
  if (left < HorizontalOffset())
    horizontalScrollBar()->setValue(left);
  else if (right > HorizontalOffset() + visibleWidth)
    horizontalScrollBar()->setValue(std::min(left, right - visibleWidth));
}

QSize THexEditor::sizeHint() const {
  const int frame = 2 * frameWidth();
  return QSize(colLefts_.back() + frame + verticalScrollBar()->sizeHint().width(),
               10 * charHeight_ + frame);
}

// ---------------------------------------------------------------- repainting

void THexEditor::InvalidateBytes(int32_t offset, int32_t count) {
  if (count <= 0 || offset < 0) return;
  const int64_t last = int64_t{offset} + count - 1;
  InvalidateRows(offset / bytesPerLine_, static_cast<int>(std::min<int64_t>(last / bytesPerLine_, rowCount_ - 1)));
}

void THexEditor::InvalidateAll() { viewport()->update(); }

void THexEditor::SetFramedRows(std::vector<int> rows, const QColor& color) {
  if (rows == framedRows_ && color == framedRowColor_) return;
  for (int row : framedRows_) InvalidateRows(row, row);
  framedRows_ = std::move(rows);
  framedRowColor_ = color;
  for (int row : framedRows_) InvalidateRows(row, row);
}

void THexEditor::InvalidateCell(int col, int row) {
  if (col >= 0 && col < colCount_ && row >= 0 && row < rowCount_) viewport()->update(CellRect(col, row));
}

void THexEditor::InvalidateRows(int firstRow, int lastRow) {
  const int top = std::max(firstRow, TopRow());
  const int bottom = std::min(lastRow, TopRow() + FullRows());
  if (top > bottom) return;
  viewport()->update(QRect(0, (top - TopRow()) * charHeight_, viewport()->width(), (bottom - top + 1) * charHeight_));
}

void THexEditor::InvalidateByteCells(int32_t offset) {
  const TGridCell digit = GetCellAtPos(offset, false);
  InvalidateCell(digit.Col, digit.Row);
  InvalidateCell(digit.Col + 1, digit.Row);
  const TGridCell character = GetCellAtPos(offset, true);
  InvalidateCell(character.Col, character.Row);
}

void THexEditor::InvalidateSelectionRows(int32_t start, int32_t end) {
  InvalidateRows(std::max(0, start) / bytesPerLine_, std::max(0, end) / bytesPerLine_);
}

// ---------------------------------------------------------------- cell contents

QString THexEditor::OffsetText(int row) const {
  const QString separator(offsetSeparator_);
  if (DataSize() == 0) {
    switch (offsetDisplay_) {
      case odHex: return QStringLiteral("H") + separator;
      case odDec: return QStringLiteral("0") + separator;
      case odOctal: return QStringLiteral("o 0") + separator;
      case odNone: return QStringLiteral("   ");
    }
  }
  const qint64 start = qint64{row} * bytesPerLine_;
  switch (offsetDisplay_) {
    case odHex:
      // The word address of the row's first word: half the byte offset.
      return QStringLiteral("H") +
             QString::number(start / 2, 16).toUpper().rightJustified(std::max(0, offsetWidth_ - 4), u'0') +
             separator;
    case odDec: return QString::number(start).rightJustified(std::max(0, offsetWidth_ - 1), u' ') + separator;
    case odOctal:
      return QStringLiteral("o ") + QString::number(start, 8).rightJustified(std::max(0, offsetWidth_ - 3), u'0') +
             separator;
    case odNone: break;
  }
  return QStringLiteral(" ");
}

QChar THexEditor::DisplayChar(uint8_t byte) const {
  const std::optional<char16_t> shown = CodePageChar(translation_, byte);
  if (!shown || (maskWhiteSpaces_ && *shown < 32)) return maskChar_;
  return QChar(*shown);
}

TCellLook THexEditor::CellLook(int col, int row) const {
  const QColor fontColor = palette().color(QPalette::Text);
  const QColor background = colors_->Background();
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {QString(), fontColor, background};
  if (DataSize() == 0 && row == 0)
    return {col == 0 ? OffsetText(0) : QStringLiteral("   "), colors_->Offset(), background};
  if (col == 0) return {OffsetText(row), colors_->Offset(), background};
  if (col == 1) {
    const int marker = MarkerOfRow(row);
    if (marker >= 0) return {QString::number(marker), colors_->PositionText(), colors_->PositionBackground(), true};
    return {QStringLiteral(" "), fontColor, background};
  }
  bool inCharField = false;
  const int32_t position = PosAtCell(col, row, &inCharField);
  if (col == GapColumn() || position >= DataSize()) return {QStringLiteral(" "), fontColor, background};

  const int32_t rowStart = static_cast<int32_t>(int64_t{row} * bytesPerLine_);
  const uint8_t byte = buffer_->CachedBytes(rowStart, bytesPerLine_)[position - rowStart];
  TCellLook look;
  bool highDigit = false;
  if (inCharField) {
    look.Text = DisplayChar(byte);
  } else {
    highDigit = (col - 2) % 2 == SwapNibbles();
    look.Text = QChar::fromLatin1(kHexDigits[highDigit ? byte >> 4 : byte & 0x0F]);
  }
  const bool changed = buffer_->IsChanged(position);
  const bool oddGroup = ((col - 2) / nibblesPerGroup_) % 2 == 0;
  if (changed) {
    look.TextColor = colors_->ChangedText();
    look.Background = colors_->ChangedBackground();
  } else {
    look.Background = background;
    look.TextColor = inCharField ? fontColor : oddGroup ? colors_->OddColumn() : colors_->EvenColumn();
  }
  if (buffer_->HasSelection() && buffer_->SelStart <= position && position <= buffer_->SelEnd) {
    std::swap(look.TextColor, look.Background);
    if (!changed && !inCharField)
      look.TextColor = oddGroup ? colors_->OddColumnInverse() : colors_->EvenColumnInverse();
  }
  return look;
}

// ---------------------------------------------------------------- painting

QFont THexEditor::MarkerFont() const {
  QFont marker = font();
  marker.setFamilies({QStringLiteral("Arial"), QStringLiteral("Helvetica"), QStringLiteral("sans-serif")});
  marker.setStyleHint(QFont::SansSerif, font().styleStrategy());
  marker.setFixedPitch(false);
  if (font().pointSizeF() > 0)
    marker.setPointSize(std::max(1, qRound(0.75 * font().pointSizeF())));
  else
    marker.setPixelSize(std::max(1, qRound(0.75 * font().pixelSize())));
  return marker;
}

void THexEditor::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  painter.fillRect(dirty, colors_->Background());
  Quietly([&] {
    PaintRows(painter, dirty);
    PaintCaret(painter, dirty);
  });
}

void THexEditor::PaintRows(QPainter& painter, const QRect& dirty) {
  const int top = TopRow();
  const int firstRow = top + std::max(0, dirty.top()) / charHeight_;
  const int lastRow = std::min(rowCount_ - 1, top + dirty.bottom() / charHeight_);
  // The columns the dirty rectangle meets are the same in every row.
  std::vector<int> columns;
  for (int col = 0; col < colCount_; ++col) {
    const QRect cell = CellRect(col, top);
    if (cell.width() > 0 && cell.right() >= dirty.left() && cell.left() <= dirty.right() &&
        (col < kFixedCols || cell.right() >= FixedWidth()))
      columns.push_back(col);
  }
  const QFont textFont = font();
  const int ascent = QFontMetrics(textFont).ascent();
  const QRect dataArea(FixedWidth(), 0, std::max(0, viewport()->width() - FixedWidth()), viewport()->height());
  const bool focused = hasFocus();
  painter.setFont(textFont);
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int col : columns) {
      const QRect cell = CellRect(col, row);
      const TCellLook look = CellLook(col, row);
      if (col >= kFixedCols)
        painter.setClipRect(dataArea);
      else
        painter.setClipRect(cell);
      painter.fillRect(cell, look.Background);
      painter.setPen(look.TextColor);
      if (look.MarkerFont) {
        // Resolved only here: finding the marker face costs the first paint more than its rows.
        const QFont markerFont = MarkerFont();
        painter.setFont(markerFont);
        painter.drawText(cell.left(), cell.top() + QFontMetrics(markerFont).ascent(), look.Text);
        painter.setFont(textFont);
      } else {
        painter.drawText(cell.left(), cell.top() + ascent, look.Text);
      }
      if (focused && row == current_.Row && col >= kFixedCols && col != current_.Col &&
          col == PartnerOf(current_.Col))
        PaintPartnerMark(painter, cell, look);
    }
  }
  painter.setClipping(false);
  for (int row : framedRows_) {
    if (row < firstRow || row > lastRow) continue;
    const QRect cell = CellRect(0, row);
    painter.setPen(QPen(framedRowColor_, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(cell.left(), cell.top(), viewport()->width() - cell.left(), cell.height())
                         .adjusted(1, 1, -1, -1));
  }
}

// The partner cell of the caret (the same byte in the other field).
void THexEditor::PaintPartnerMark(QPainter& painter, const QRect& cell, const TCellLook& look) {
  const QRect frame(cell.left(), cell.top(), charWidth_, cell.height());
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (focusFrame_) {
    QPen dotted(TColors::Inverse(look.Background), 1);
    dotted.setDashPattern({1, 1});
    dotted.setCosmetic(true);
    painter.setPen(dotted);
  } else {
    painter.setPen(QPen(colors_->CursorFrame(), 1));
  }
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  painter.restore();
}

QRect THexEditor::CaretRect() const {
  const QRect cell = CellRect(current_.Col, current_.Row);
  const QRect caret(cell.left(), cell.top(), charWidth_, charHeight_ - 2);
  switch (caretStyle_) {
    case csFull: return caret;
    case csLeftLine: return QRect(caret.left(), caret.top(), 2, caret.height());
    case csBottomLine: return QRect(caret.left(), caret.bottom() - 1, caret.width(), 2);
  }
  return caret;
}

// The caret inverts what lies under it: each colour XOR the inverse of
// CursorFrame, so on the default white the caret shows in CursorFrame.
void THexEditor::PaintCaret(QPainter& painter, const QRect& dirty) {
  if (!hasFocus() || !caretOn_) return;
  const QRect dataArea(FixedWidth(), 0, std::max(0, viewport()->width() - FixedWidth()), viewport()->height());
  const QRect caret = CaretRect() & dataArea & dirty;
  if (caret.isEmpty()) return;
  const QColor mask = TColors::Inverse(colors_->CursorFrame());
  const TCellLook look = CellLook(current_.Col, current_.Row);
  const QRect cell = CellRect(current_.Col, current_.Row);
  painter.save();
  painter.setClipRect(caret);
  painter.fillRect(caret, Xored(look.Background, mask));
  painter.setPen(Xored(look.TextColor, mask));
  painter.setFont(font());
  painter.drawText(cell.left(), cell.top() + QFontMetrics(font()).ascent(), look.Text);
  painter.restore();
}

void THexEditor::RestartCaretBlink() {
  caretOn_ = true;
  viewport()->update(CaretRect());
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0 && hasFocus())
    caretTimer_.start(flash / 2);
  else
    caretTimer_.stop();
}

// ---------------------------------------------------------------- widget events

void THexEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void THexEditor::scrollContentsBy(int, int) { viewport()->update(); }

void THexEditor::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) RecomputeWidths();
}

void THexEditor::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartCaretBlink();
  viewport()->update();
}

void THexEditor::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  caretTimer_.stop();
  mouseSelecting_ = false;
  dragging_ = false;
  viewport()->update();
}
