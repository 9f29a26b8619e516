#include "widgets/hexeditor.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "widgets/Fuentes.h"
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

// --------------------------------------------------------- TColors

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

// ----------------------------------------------------- grid layout

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

// ------------------------------------------------------ repainting

void THexEditor::InvalidateBytes(int32_t offset, int32_t count) {
  if (count <= 0 || offset < 0) return;
  const int64_t last = int64_t{offset} + count - 1;
  InvalidateRows(offset / bytesPerLine_, static_cast<int>(std::min<int64_t>(last / bytesPerLine_, rowCount_ - 1)));
}

void THexEditor::InvalidateAll() { viewport()->update(); }

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

// --------------------------------------------------- cell contents

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

// -------------------------------------------------------- painting

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
  const QFont markerFont = MarkerFont();
  const int ascent = QFontMetrics(textFont).ascent();
  const int markerAscent = QFontMetrics(markerFont).ascent();
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
        painter.setFont(markerFont);
        painter.drawText(cell.left(), cell.top() + markerAscent, look.Text);
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

// ---------------------------- size, scroll, font and focus changes

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

// ----------------------------------------- construction and buffer

THexEditor::THexEditor(QWidget* parent) : THexEditor(nullptr, parent) {}

THexEditor::THexEditor(THexEditorBuffer* buffer, QWidget* parent)
    : QAbstractScrollArea(parent), colors_(new TColors(this)) {
  markers_.fill(-1);
  setFont(Fuente_Fija(QStringLiteral("Courier"), 12));
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Base, colors_->Background());
  viewport()->setPalette(palette);
  verticalScrollBar()->setSingleStep(1);
  caretTimer_.callOnTimeout(this, [this] {
    caretOn_ = !caretOn_;
    viewport()->update(CaretRect());
  });
  SetBuffer(buffer);
}

THexEditor::~THexEditor() { Detach(); }

void THexEditor::SetBuffer(THexEditorBuffer* buffer) {
  Detach();
  if (buffer) {
    ownBuffer_.reset();
  } else {
    if (!ownBuffer_) ownBuffer_ = std::make_unique<THexEditorBuffer>();
    buffer = ownBuffer_.get();
  }
  Attach(buffer);
  // A buffer never loaded gets its empty name, as the editor's window does;
  // one that already holds data (the machine's memory) is shown as it is.
  if (buffer_->FileName == "---" && buffer_->DataSize() == 0)
    buffer_->CreateEmpty("Untitled");
  else
    AfterLoad();
}

void THexEditor::Attach(THexEditorBuffer* buffer) {
  buffer_ = buffer;
  buffer_->OnStateChanged = [this] { emit OnStateChanged(); };
  buffer_->PostStateChange = [this] { PostStateChange(); };
  buffer_->OnLoaded = [this] { AfterLoad(); };
}

void THexEditor::Detach() {
  if (!buffer_) return;
  buffer_->OnStateChanged = nullptr;
  buffer_->PostStateChange = nullptr;
  buffer_->OnLoaded = nullptr;
  buffer_ = nullptr;
}

void THexEditor::PostStateChange() {
  QMetaObject::invokeMethod(this, [this] { emit OnStateChanged(); }, Qt::QueuedConnection);
}

// After every load: a fresh grid, the caret on the first digit.
void THexEditor::AfterLoad() {
  RecomputeGrid();
  mouseSelecting_ = false;
  dragging_ = false;
  current_ = TGridCell{};
  SetTopRow(0);
  MoveTo(2, 0);
  viewport()->update();
}

// ---------------------------------------------------- cell mapping

int32_t THexEditor::PosAtCell(int col, int row, bool* inCharField) const {
  const int bytes = bytesPerLine_;
  *inCharField = col > 2 * bytes + 2;
  const int64_t rowStart = int64_t{row} * bytes;
  const int64_t position = *inCharField ? rowStart + (col - (2 * bytes + 3)) : rowStart + (col - 2) / 2;
  return static_cast<int32_t>(std::clamp<int64_t>(position, 0, INT32_MAX));
}

int32_t THexEditor::GetPosAtCell(int col, int row) { return PosAtCell(col, row, &inCharField_); }

TGridCell THexEditor::GetCellAtPos(int32_t offset, bool inCharField) const {
  if (offset < 0) return TGridCell{2, 0};
  const int row = offset / bytesPerLine_;
  const int k = offset % bytesPerLine_;
  return TGridCell{inCharField ? 2 * bytesPerLine_ + 3 + k : 2 * k + 2, row};
}

int THexEditor::PartnerOf(int col) const {
  return col > GapColumn() ? 2 * (col - FirstCharColumn()) + 2 : FirstCharColumn() + (col - 2) / 2;
}

int THexEditor::PartnerColumn(int col) {
  inCharField_ = col > GapColumn();
  return PartnerOf(col);
}

int32_t THexEditor::CursorPos() {
  const int32_t position = GetPosAtCell(current_.Col, current_.Row);
  return std::clamp(position, 0, std::max(0, DataSize() - 1));
}

// -------------------------------------- current cell and selection

void THexEditor::SetCurrentCell(TGridCell cell) {
  InvalidateCell(current_.Col, current_.Row);
  viewport()->update(CaretRect());
  current_ = cell;
  InvalidateCell(current_.Col, current_.Row);
  RestartCaretBlink();
}

void THexEditor::MoveTo(int col, int row) {
  if (col < kFixedCols || col >= colCount_ || row < 0 || row >= rowCount_) return;
  if (!SelectCell(col, row)) return;
  SetCurrentCell(TGridCell{col, row});
  ScrollIntoView(current_);
}

bool THexEditor::SelectCell(int col, int row) {
  if (DataSize() == 0) return col == 2 && row == 0;
  bool accepted = true;
  if (selectGuard_) {
    selectGuard_ = false;
    struct TRestore {
      bool& Guard;
      ~TRestore() { Guard = true; }
    } restore{selectGuard_};
    const bool leftButton = LeftButtonHeld();
    if (!ShiftHeld() && !leftButton) ResetSelection(true);
    bool inCharField = false;
    if (PosAtCell(col, row, &inCharField) >= DataSize()) {
      const TGridCell last = GetCellAtPos(DataSize() - 1, inCharField);
      MoveTo(last.Col, last.Row);
      accepted = false;
    }
    if (col == GapColumn()) {
      // A click on the gap lands on the digit left of it, when that digit
      // holds a byte; otherwise the caret already went to the last byte.
      accepted = false;
      const int left = std::max(2, col - 1);
      if (leftButton && PosAtCell(left, row, &inCharField) < DataSize()) MoveTo(left, row);
    }
  }
  if (accepted) {
    InvalidateCell(PartnerOf(current_.Col), current_.Row);
    InvalidateCell(PartnerOf(col), row);
    if (mouseSelecting_)
      ExtendSelection(current_, TGridCell{col, row});
    else
      ResetSelection(true);
  }
  return accepted;
}

void THexEditor::ResetSelection(bool repaint) {
  mouseSelecting_ = false;
  if (repaint && buffer_->HasSelection()) InvalidateSelectionRows(buffer_->SelStart, buffer_->SelEnd);
  buffer_->ResetSelection();
  PostStateChange();
}

void THexEditor::ExtendSelection(TGridCell from, TGridCell to) {
  bool inCharField = false;
  int32_t z = PosAtCell(to.Col, to.Row, &inCharField);
  const bool insert = InsertModeInEffect();
  THexEditorBuffer& buffer = *buffer_;
  const int32_t oldStart = buffer.SelStart;
  const int32_t oldEnd = buffer.SelEnd;
  if (buffer.HasSelection()) {
    if (z >= buffer.SelAnchor) {
      buffer.SelStart = buffer.SelAnchor;
      buffer.SelEnd = insert ? z - 1 : z;
    } else {
      buffer.SelStart = z;
      buffer.SelEnd = buffer.SelAnchor;
    }
  } else {
    int32_t anchor = PosAtCell(from.Col, from.Row, &inCharField);
    if (insert && anchor > z) --anchor;
    if (insert && z > anchor) --z;
    buffer.SelAnchor = anchor;
    buffer.SelStart = std::min(anchor, z);
    buffer.SelEnd = std::max(anchor, z);
  }
  if (oldStart >= 0)
    InvalidateSelectionRows(std::min(oldStart, buffer.SelStart), std::max(oldEnd, buffer.SelEnd));
  else
    InvalidateSelectionRows(buffer.SelStart, buffer.SelEnd);
  PostStateChange();
}

void THexEditor::SetSelStart(int offset) {
  if (offset < 0 || offset >= DataSize()) throw std::out_of_range("Invalid SelStart");
  ResetSelection(true);
  const TGridCell cell = GetCellAtPos(offset, CaretInCharField());
  MoveTo(cell.Col, cell.Row);
}

void THexEditor::SetSelEnd(int offset) {
  if (offset < 0 || offset >= DataSize()) throw std::out_of_range("Invalid SelEnd");
  ResetSelection(true);
  ExtendSelection(current_, GetCellAtPos(offset, CaretInCharField()));
}

TEditPosition THexEditor::CaretPosition() {
  TEditPosition position;
  position.CaretOffset = GetPosAtCell(current_.Col, current_.Row);
  position.InCharField = inCharField_;
  position.CaretDigit = inCharField_ ? 0 : (current_.Col - 2) % 2;
  return position;
}

// ------------------------------------------------- edit primitives

void THexEditor::ChangeByte(uint8_t oldValue, uint8_t newValue, int32_t offset) {
  if (offset < 0 || offset >= DataSize()) throw std::out_of_range("Invalid ChangeByte offset");
  if (oldValue == newValue) return;
  if (!buffer_->CheckEdit(TEditKind::ByteChanged, offset, 0, 1, CaretPosition())) return;
  buffer_->WriteEditedByte(offset, newValue, bytesPerLine_);
  if (!InsertModeInEffect()) buffer_->MarkChanged(offset);
  InvalidateByteCells(offset);
}

void THexEditor::DeleteRange(int32_t start, int32_t end, int col, int row) {
  if (start < 0 || end < start || end > DataSize()) throw std::out_of_range("Invalid DeleteRange range");
  buffer_->ReplaceRange(start, end - start, nullptr, 0);
  RecomputeGrid();
  bool inCharField = false;
  TGridCell cell{col, row};
  if (PosAtCell(col, row, &inCharField) >= DataSize()) cell = GetCellAtPos(DataSize() - 1, inCharField);
  SetCurrentCell(cell);
  ScrollIntoView(cell);
  ResetSelection(false);
  viewport()->update();
}

void THexEditor::DeleteSelection() {
  int32_t start = 0;
  int32_t end = 0;
  TGridCell cell = current_;
  if (buffer_->HasSelection()) {
    start = buffer_->SelStart;
    end = std::max(start, buffer_->SelEnd + 1);
    cell = GetCellAtPos(start, CaretInCharField());
  } else {
    start = GetPosAtCell(current_.Col, current_.Row);
    end = start + 1;
  }
  buffer_->CutChangeMarks(start);
  end = std::min(end, DataSize());
  start = std::min(start, end);
  if (!buffer_->CheckEdit(TEditKind::BytesRemoved, start, 0, end - start, CaretPosition())) return;
  DeleteRange(start, end, cell.Col, cell.Row);
}

void THexEditor::InsertBuffer(const uint8_t* bytes, int32_t count, int32_t offset) {
  if (offset < 0 || offset > DataSize() || count < 0) throw std::out_of_range("Invalid InsertBuffer offset");
  const TEditPosition caret = CaretPosition();
  if (!buffer_->CheckEdit(TEditKind::InsertBuffer, offset, 0, count, caret)) return;
  buffer_->ReplaceRange(offset, 0, bytes, count);
  RecomputeGrid();
  if (caret.CaretOffset == offset && count > 0) {
    buffer_->SelAnchor = buffer_->SelStart = offset;
    buffer_->SelEnd = offset + count - 1;
  }
  viewport()->update();
}

void THexEditor::AppendBuffer(const uint8_t* bytes, int32_t count) {
  if (count < 0) throw std::out_of_range("Invalid AppendBuffer count");
  const int32_t oldSize = DataSize();
  if (!buffer_->CheckEdit(TEditKind::AppendBuffer, oldSize, 0, count, CaretPosition())) return;
  buffer_->ReplaceRange(oldSize, 0, bytes, count);
  RecomputeGrid();
  if (count > 0) {
    const TGridCell cell = GetCellAtPos(oldSize, CaretInCharField());
    SetCurrentCell(cell);
    ScrollIntoView(cell);
    buffer_->SelAnchor = buffer_->SelStart = oldSize;
    buffer_->SelEnd = oldSize + count - 1;
  }
  viewport()->update();
}

void THexEditor::ReplaceSelection(const uint8_t* bytes, int32_t count) {
  if (!buffer_->HasSelection()) {
    InsertBuffer(bytes, count, GetPosAtCell(current_.Col, current_.Row));
    return;
  }
  if (count < 0) throw std::out_of_range("Invalid ReplaceSelection count");
  const int32_t start = buffer_->SelStart;
  int32_t length = buffer_->SelectionLength();
  if (NoSizeChange()) {
    if (count > length) count = length;
    if (count < length) {
      length = count;
      buffer_->SelEnd = start + count - 1;
    }
  }
  if (!buffer_->CheckEdit(TEditKind::ReplaceSelection, start, length, count, CaretPosition())) return;
  buffer_->ReplaceRange(start, length, bytes, count);
  RecomputeGrid();
  buffer_->SelAnchor = buffer_->SelStart = start;
  buffer_->SelEnd = start + count - 1;
  viewport()->update();
}

void THexEditor::DeleteCaretByte() {
  const int32_t position = GetPosAtCell(current_.Col, current_.Row);
  if (position >= DataSize()) return;
  if (buffer_->CheckEdit(TEditKind::BytesRemoved, position, 0, 1, CaretPosition()))
    DeleteRange(position, position + 1, current_.Col, current_.Row);
}

void THexEditor::DeleteByteBeforeCaret() {
  const TEditPosition caret = CaretPosition();
  if (caret.CaretOffset <= 0 || caret.CaretOffset > DataSize()) return;
  if (!buffer_->CheckEdit(TEditKind::BytesRemoved, caret.CaretOffset - 1, 0, 1, caret)) return;
  DeleteRange(caret.CaretOffset - 1, caret.CaretOffset, current_.Col, current_.Row);
  // The caret stays on the byte it stood on, now one lower, on the same digit.
  TGridCell cell = GetCellAtPos(caret.CaretOffset - 1, caret.InCharField);
  if (!caret.InCharField) cell.Col += caret.CaretDigit;
  SetCurrentCell(cell);
  ScrollIntoView(cell);
}

// --------------------------------------------------------- markers

void THexEditor::SetMarker(int index, int row) {
  if (index < 0 || index >= kMarkerCount) throw std::out_of_range("SetMarker : Invalid marker index");
  if (markers_[static_cast<size_t>(index)] == row) return;
  markers_[static_cast<size_t>(index)] = row;
  viewport()->update();
}

int THexEditor::Marker(int index) const {
  if (index < 0 || index >= kMarkerCount) throw std::out_of_range("SetMarker : Invalid marker index");
  const int row = markers_[static_cast<size_t>(index)];
  return row == -1 ? current_.Row : row;
}

int THexEditor::MarkerOfRow(int row) const {
  for (int index = 0; index < kMarkerCount; ++index)
    if (markers_[static_cast<size_t>(index)] == row) return index;
  return -1;
}

// ------------------------------------------------------ properties

void THexEditor::SetBytesPerLine(int value) {
  if (value < 1 || value > 256) throw std::invalid_argument("Invalid BytesPerLine argument");
  if (value == bytesPerLine_) return;
  setUpdatesEnabled(false);
  const int32_t caret = CursorPos();
  const bool inCharField = inCharField_;
  const int32_t selStart = buffer_->SelStart, selAnchor = buffer_->SelAnchor, selEnd = buffer_->SelEnd;
  bytesPerLine_ = value;
  RecomputeGrid();
  const TGridCell cell = GetCellAtPos(caret, inCharField);
  SetCurrentCell(cell);
  ScrollIntoView(cell);
  buffer_->SelStart = selStart;
  buffer_->SelAnchor = selAnchor;
  buffer_->SelEnd = selEnd;
  setUpdatesEnabled(true);
  viewport()->update();
}

void THexEditor::SetBytesPerColumn(int value) {
  // A group of no bytes would divide by zero.
  if (value < 1 || value > 256) throw std::invalid_argument("Invalid BytesPerColumn argument");
  nibblesPerGroup_ = 2 * value;
  RecomputeWidths();
}

void THexEditor::SetTranslation(TTranslation value) {
  translation_ = value;
  viewport()->update();
}

void THexEditor::SetOffsetDisplay(TOffsetDisplay value) {
  offsetDisplay_ = value;
  RecomputeWidths();
}

void THexEditor::SetOffsetSeparator(QChar value) {
  offsetSeparator_ = value;
  viewport()->update();
}

void THexEditor::SetCaretStyle(TCaretStyle value) {
  caretStyle_ = value;
  RestartCaretBlink();
  viewport()->update();
}

void THexEditor::SetFocusFrame(bool value) {
  focusFrame_ = value;
  viewport()->update();
}

void THexEditor::SetMaskWhiteSpaces(bool value) {
  maskWhiteSpaces_ = value;
  viewport()->update();
}

void THexEditor::SetMaskChar(QChar value) {
  maskChar_ = value;
  viewport()->update();
}

void THexEditor::SetShowMarkerColumn(bool value) {
  showMarkerColumn_ = value;
  RecomputeWidths();
}

void THexEditor::SetAutoCaretMode(bool value) {
  autoCaretMode_ = value;
  if (value) ApplyAutoCaretMode();
}

void THexEditor::ApplyAutoCaretMode() { SetCaretStyle(InsertModeInEffect() ? csLeftLine : csFull); }

void THexEditor::SetSwapNibbles(int value) {
  const bool swap = value != 0;
  if (buffer_->SwapNibbles == swap) return;
  buffer_->SwapNibbles = swap;
  viewport()->update();
}
