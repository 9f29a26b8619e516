#include "widgets/hexeditor.h"

#include <QScrollBar>
#include <algorithm>
#include <stdexcept>

#include "widgets/Fuentes.h"

// ---------------------------------------------------------------- construction and buffer

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

// ---------------------------------------------------------------- cell mapping

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

// ---------------------------------------------------------------- current cell and selection

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

// ---------------------------------------------------------------- edit primitives

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

// ---------------------------------------------------------------- markers

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

// ---------------------------------------------------------------- properties

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
