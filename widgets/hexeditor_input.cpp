#include "widgets/hexeditor.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "widgets/hexeditor_codepages.h"

namespace {

constexpr Qt::KeyboardModifiers kShiftState = Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;

int HexDigitValue(QChar character) {
  const char16_t c = character.unicode();
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The digit of a marker key. Shift+digit is reported as its symbol, so the
// symbols of the common layout and the main-row scan codes count as digits.
int MarkerDigit(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  static constexpr int kShiftedDigits[10] = {
      Qt::Key_ParenRight, Qt::Key_Exclam,     Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
      Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,   Qt::Key_ParenLeft};
  for (int digit = 0; digit < 10; ++digit)
    if (key == kShiftedDigits[digit]) return digit;
  const QString platform = QGuiApplication::platformName();
  const quint32 scanCode = event.nativeScanCode();
  if ((platform == QLatin1String("xcb") || platform == QLatin1String("wayland")) && scanCode >= 10 &&
      scanCode <= 19)
    return static_cast<int>((scanCode - 9) % 10);
  return -1;
}

// Shift, Alt and Ctrl held, counting a modifier key's own press.
Qt::KeyboardModifiers ShiftStateOf(const QKeyEvent& event) {
  Qt::KeyboardModifiers state = event.modifiers() & kShiftState;
  if (event.key() == Qt::Key_Shift) state |= Qt::ShiftModifier;
  if (event.key() == Qt::Key_Control) state |= Qt::ControlModifier;
  if (event.key() == Qt::Key_Alt) state |= Qt::AltModifier;
  return state;
}

}  // namespace

// ---------------------------------------------------------------- input scope

class THexEditor::TInputScope {
 public:
  TInputScope(THexEditor* editor, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
      : editor_(editor), previous_(editor->inputScope_), Modifiers(modifiers), Buttons(buttons) {
    editor_->inputScope_ = this;
  }
  ~TInputScope() { editor_->inputScope_ = previous_; }
  TInputScope(const TInputScope&) = delete;
  TInputScope& operator=(const TInputScope&) = delete;

 private:
  THexEditor* editor_;
  const TInputScope* previous_;

 public:
  const Qt::KeyboardModifiers Modifiers;
  const Qt::MouseButtons Buttons;
};

bool THexEditor::ShiftHeld() const {
  const Qt::KeyboardModifiers modifiers =
      inputScope_ ? inputScope_->Modifiers : QGuiApplication::keyboardModifiers();
  return modifiers.testFlag(Qt::ShiftModifier);
}

bool THexEditor::LeftButtonHeld() const {
  const Qt::MouseButtons buttons = inputScope_ ? inputScope_->Buttons : QGuiApplication::mouseButtons();
  return buttons.testFlag(Qt::LeftButton);
}

// ---------------------------------------------------------------- keyboard

bool THexEditor::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress && wantTabs_) {
    // Tab and Shift+Tab switch fields here instead of moving the focus.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  if (event->type() == QEvent::ShortcutOverride) {
    // Keys the editor uses itself are not taken by window shortcuts.
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers state = key->modifiers() & kShiftState;
    const bool ctrl = state.testFlag(Qt::ControlModifier);
    const bool alt = state.testFlag(Qt::AltModifier);
    const bool editorKey = key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete ||
                           (ctrl && !alt && (key->key() == Qt::Key_T || MarkerDigit(*key) >= 0)) ||
                           (!ctrl && !alt && !key->text().isEmpty() && key->text().at(0).isPrint());
    if (editorKey) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void THexEditor::keyPressEvent(QKeyEvent* event) {
  TInputScope scope(this, ShiftStateOf(*event), QGuiApplication::mouseButtons());
  Quietly([&] { KeyDown(*event); });
  event->accept();
}

void THexEditor::KeyDown(const QKeyEvent& event) {
  const Qt::KeyboardModifiers shift = ShiftStateOf(event);
  int pressed = event.key();
  if (pressed == Qt::Key_Backtab) pressed = Qt::Key_Tab;
  if (shift.testFlag(Qt::ControlModifier)) {
    const int digit = MarkerDigit(event);
    if (digit >= 0) pressed = Qt::Key_0 + digit;
  }
  if (pressed == Qt::Key_Insert) {
    ToggleInsertMode();
    return;
  }
  const bool insert = InsertModeInEffect();
  const bool readOnly = ReadOnlyView();
  int key = pressed;
  if (pressed == Qt::Key_Backspace) {
    if (insert && !readOnly) {
      key = 0;
      // With a selection Backspace removes just the selection.
      if (buffer_->HasSelection())
        DeleteSelection();
      else
        DeleteByteBeforeCaret();
    } else {
      key = Qt::Key_Left;
    }
  }
  if (pressed == Qt::Key_Delete && !readOnly) {
    key = 0;
    if (shift == Qt::ControlModifier)
      DeleteSelection();
    else if (insert)
      buffer_->HasSelection() ? DeleteSelection() : DeleteCaretByte();
  }
  if (Navigate(pressed, shift)) return;
  emit OnKeyDown(key, shift);
  StandardKey(key);
  // The character of the key, as the system would deliver it after the key
  // down: never a control character, nor for Ctrl or Alt combinations
  // (both together stand for AltGr).
  const QString text = event.text();
  const bool ctrlOrAlt = shift.testFlag(Qt::ControlModifier) != shift.testFlag(Qt::AltModifier);
  if (text.isEmpty() || ctrlOrAlt || !text.at(0).isPrint()) return;
  TypeCharacter(text.at(0));
}

void THexEditor::ToggleInsertMode() {
  buffer_->InsertMode = !buffer_->InsertMode;
  if (autoCaretMode_) ApplyAutoCaretMode();
  buffer_->CutChangeMarks(0);
  viewport()->update();
  PostStateChange();
}

bool THexEditor::Navigate(int key, Qt::KeyboardModifiers shift) {
  const bool ctrl = shift.testFlag(Qt::ControlModifier);
  if (shift == Qt::NoModifier && key != Qt::Key_Shift && !InsertModeInEffect()) ResetSelection(true);
  const int32_t position = GetPosAtCell(current_.Col, current_.Row);
  const bool inCharField = inCharField_;
  const int col = current_.Col;
  const int row = current_.Row;
  const int lastRow = rowCount_ - 1;
  const int visible = VisibleRowCount();
  const int fieldStart = inCharField ? FirstCharColumn() : 2;
  auto moveToByte = [this, inCharField](int32_t offset) {
    const TGridCell cell = GetCellAtPos(offset, inCharField);
    MoveTo(cell.Col, cell.Row);
  };
  switch (key) {
    case Qt::Key_PageUp:
      if (ctrl) {
        MoveTo(col, TopRow());
      } else {
        const int target = std::max(0, row - visible + 1);
        SetTopRow(std::max(0, TopRow() - visible + 1));
        MoveTo(col, target);
      }
      return true;
    case Qt::Key_PageDown:
      if (ctrl) {
        MoveTo(col, std::min(lastRow, TopRow() + visible - 1));
      } else {
        const int target = std::min(lastRow, row + visible - 1);
        SetTopRow(std::min(TopRow() + visible - 1, std::max(0, rowCount_ - visible)));
        MoveTo(col, target);
      }
      return true;
    case Qt::Key_Home:
      MoveTo(fieldStart, ctrl ? 0 : row);
      return true;
    case Qt::Key_End:
      if (ctrl) {
        moveToByte(DataSize() - 1);
      } else {
        const int64_t rowEnd = (int64_t{row} + 1) * bytesPerLine_ - 1;
        moveToByte(static_cast<int32_t>(std::min<int64_t>(rowEnd, DataSize() - 1)));
      }
      return true;
    case Qt::Key_Left:
      if (ctrl) return false;
      if (inCharField)
        moveToByte(std::max(0, position - 1));
      else if ((col - 2) % 2 == 1)
        MoveTo(col - 1, row);
      else if (position > 0)
        MoveTo(HighDigitColumn(position - 1) + 1, GetCellAtPos(position - 1, false).Row);
      return true;
    case Qt::Key_Right:
      if (ctrl) {
        MoveTo(colCount_ - 1, row);
      } else if (inCharField) {
        moveToByte(std::min(position + 1, DataSize() - 1));
      } else if ((col - 2) % 2 == 0) {
        MoveTo(col + 1, row);
      } else if (position + 1 < DataSize()) {
        moveToByte(position + 1);
      }
      return true;
    case Qt::Key_Down:
      if (ctrl) return false;
      if (row < lastRow) MoveTo(col, row + 1);
      return true;
    case Qt::Key_Up:
      if (ctrl) return false;
      if (row > 0) MoveTo(col, row - 1);
      return true;
    case Qt::Key_T:
      if (!ctrl) return false;
      if (DataSize() > 0) MoveTo(PartnerColumn(col), row);
      return true;
    case Qt::Key_Tab:
      if (ctrl || shift.testFlag(Qt::AltModifier)) return false;
      if (DataSize() > 0) MoveTo(PartnerColumn(col), row);
      return true;
    case Qt::Key_Shift:
      if (shift != Qt::ShiftModifier) return false;
      if (!mouseSelecting_) ResetSelection(true);
      mouseSelecting_ = true;
      return true;
    default: break;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int digit = key - Qt::Key_0;
    if (shift == (Qt::ShiftModifier | Qt::ControlModifier)) {
      SetMarker(digit, row);
      return true;
    }
    if (shift == Qt::ControlModifier) {
      ResetSelection(true);
      const int target = Marker(digit);
      if (target >= 0 && target < rowCount_)
        MoveTo(2, target);
      else
        markers_[static_cast<size_t>(digit)] = -1;  // the row is gone
      return true;
    }
  }
  return false;
}

// What the grid itself does with a key: arrows move one cell.
void THexEditor::StandardKey(int key) {
  const int col = current_.Col;
  const int row = current_.Row;
  switch (key) {
    case Qt::Key_Left:
      if (col > kFixedCols) MoveTo(col - 1, row);
      break;
    case Qt::Key_Right:
      if (col < colCount_ - 1) MoveTo(col + 1, row);
      break;
    case Qt::Key_Up:
      if (row > 0) MoveTo(col, row - 1);
      break;
    case Qt::Key_Down:
      if (row < rowCount_ - 1) MoveTo(col, row + 1);
      break;
    default: break;
  }
}

void THexEditor::TypeCharacter(QChar character) {
  emit OnKeyPress(character);
  if (ReadOnlyView()) return;
  const int32_t position = GetPosAtCell(current_.Col, current_.Row);
  if (position >= DataSize() && !InsertModeInEffect()) return;
  if (inCharField_)
    TypeInCharField(character, position);
  else
    TypeHexDigit(character, position);
}

void THexEditor::TypeHexDigit(QChar character, int32_t position) {
  const int digit = HexDigitValue(character);
  if (digit < 0) return;
  const bool insert = InsertModeInEffect();
  if (!insert) ResetSelection(true);
  const uint8_t old = position < DataSize() ? buffer_->ByteAt(position) : 0;
  const int firstColumn = HighDigitColumn(position);
  const bool onFirstColumn = current_.Col == firstColumn;
  const bool selected = buffer_->HasSelection();
  const bool typedHigh = current_.Col - SwapNibbles() == firstColumn || selected;
  const auto value = static_cast<uint8_t>(typedHigh ? (digit << 4) | (old & 0x0F) : (old & 0xF0) | digit);
  if (insert && (onFirstColumn || selected)) {
    const auto half = static_cast<uint8_t>(value & (typedHigh ? 0xF0 : 0x0F));
    if (DataSize() == 0)
      AppendBuffer(&half, 1);
    else if (!selected)
      InsertBuffer(&half, 1, position);
    else
      ReplaceSelection(&half, 1);
  } else {
    ChangeByte(old, value, position);
    if (insert && !onFirstColumn && position == DataSize() - 1) {
      const uint8_t zero = 0;
      AppendBuffer(&zero, 1);
      return;
    }
  }
  Navigate(Qt::Key_Right, Qt::NoModifier);
}

// The byte a typed character stands for in the character column; 0 refuses it.
int THexEditor::InputByte(QChar character) const {
  return character.unicode() >= 32 ? CodePageByte(translation_, character.unicode()) : 0;
}

void THexEditor::TypeInCharField(QChar character, int32_t position) {
  const int byte = altReleased_ ? CodePageByte(ttDos8, character.unicode()) : InputByte(character);
  if (byte <= 0 || (byte < 32 && !altReleased_)) return;
  altReleased_ = false;
  const bool insert = InsertModeInEffect();
  if (!insert) ResetSelection(true);
  const auto value = static_cast<uint8_t>(byte);
  if (insert) {
    if (buffer_->HasSelection())
      ReplaceSelection(&value, 1);
    else
      InsertBuffer(&value, 1, position);
  } else {
    ChangeByte(buffer_->ByteAt(position), value, position);
  }
  Navigate(Qt::Key_Right, Qt::NoModifier);
}

void THexEditor::keyReleaseEvent(QKeyEvent* event) {
  // The system repeats only key downs; Qt's repeated releases are not real.
  if (event->isAutoRepeat()) return;
  altReleased_ = event->key() == Qt::Key_Alt;
  Quietly([&] { emit OnKeyUp(event->key(), event->modifiers() & kShiftState); });
  event->accept();
}

// ---------------------------------------------------------------- mouse

void THexEditor::MousePress(const QMouseEvent& event, bool doubleClick) {
  emit OnMouseDown(event.button(), event.modifiers() & kShiftState, event.position().toPoint());
  if (event.button() != Qt::LeftButton) return;
  if (!doubleClick) {
    bool valid = false;
    const TGridCell cell = CellAtPoint(event.position().toPoint(), &valid);
    if (valid && cell.Col >= kFixedCols) MoveTo(cell.Col, cell.Row);
  }
  ResetSelection(true);
  mouseSelecting_ = !doubleClick;
  dragging_ = !doubleClick;
}

void THexEditor::mousePressEvent(QMouseEvent* event) {
  TInputScope scope(this, event->modifiers(), event->buttons() | event->button());
  Quietly([&] { MousePress(*event, false); });
}

void THexEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  TInputScope scope(this, event->modifiers(), event->buttons() | event->button());
  Quietly([&] { MousePress(*event, true); });
}

void THexEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !event->buttons().testFlag(Qt::LeftButton)) return;
  TInputScope scope(this, event->modifiers(), event->buttons());
  Quietly([&] {
    // The cell under the mouse, held inside the grid; above or below it the
    // drag scrolls on by one row.
    const QPoint point = event->position().toPoint();
    const int shownRows = std::min(FullRows(), rowCount_ - TopRow());
    const int right = std::max(FixedWidth(), std::min(viewport()->width(), colLefts_.back() - HorizontalOffset()) - 1);
    bool valid = false;
    TGridCell cell = CellAtPoint(
        QPoint(std::clamp(point.x(), FixedWidth(), right), std::clamp(point.y(), 0, shownRows * charHeight_ - 1)),
        &valid);
    if (!valid) return;
    if (point.y() < 0) cell.Row = std::max(0, TopRow() - 1);
    if (point.y() >= shownRows * charHeight_) cell.Row = std::min(rowCount_ - 1, TopRow() + shownRows);
    if (cell != current_) MoveTo(cell.Col, cell.Row);
  });
}

void THexEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}
