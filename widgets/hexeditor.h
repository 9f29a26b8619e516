#pragma once
// THexEditor: the memory editor. A grid view over a THexEditorBuffer (which it
// never copies) plus its keyboard and mouse editing. Painting reads bytes
// through the buffer's 64 KiB cache and touches only the rows that are dirty.
//
// One job a file:
//   hexeditor.cpp            the buffer, cell <-> byte mapping, the current
//                            cell and selection, edit primitives, markers and
//                            properties
//   hexeditor_view.cpp       colours, grid layout, cell contents, painting
//   hexeditor_input.cpp      keyboard and mouse
//   hexeditor_codepages.cpp  the character column's code pages
#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "core/hexeditor_buffer.h"

class THexEditor;

// The editor's colour set. Every setter stores only a changed value and
// repaints the editor.
class TColors : public QObject {
  Q_OBJECT
  Q_PROPERTY(QColor Background READ Background WRITE SetBackground)
  Q_PROPERTY(QColor PositionBackground READ PositionBackground WRITE SetPositionBackground)
  Q_PROPERTY(QColor PositionText READ PositionText WRITE SetPositionText)
  Q_PROPERTY(QColor ChangedBackground READ ChangedBackground WRITE SetChangedBackground)
  Q_PROPERTY(QColor ChangedText READ ChangedText WRITE SetChangedText)
  Q_PROPERTY(QColor CursorFrame READ CursorFrame WRITE SetCursorFrame)
  Q_PROPERTY(QColor Offset READ Offset WRITE SetOffset)
  Q_PROPERTY(QColor OddColumn READ OddColumn WRITE SetOddColumn)
  Q_PROPERTY(QColor EvenColumn READ EvenColumn WRITE SetEvenColumn)

 public:
  explicit TColors(THexEditor* owner);

  QColor Background() const { return background_; }
  QColor PositionBackground() const { return positionBackground_; }
  QColor PositionText() const { return positionText_; }
  QColor ChangedBackground() const { return changedBackground_; }
  QColor ChangedText() const { return changedText_; }
  QColor CursorFrame() const { return cursorFrame_; }
  QColor Offset() const { return offset_; }
  QColor OddColumn() const { return oddColumn_; }
  QColor EvenColumn() const { return evenColumn_; }
  // Text colours of selected digit cells.
  QColor OddColumnInverse() const { return oddInverse_; }
  QColor EvenColumnInverse() const { return evenInverse_; }

  void SetBackground(const QColor& value);
  void SetPositionBackground(const QColor& value) { Store(positionBackground_, value); }
  void SetPositionText(const QColor& value) { Store(positionText_, value); }
  void SetChangedBackground(const QColor& value) { Store(changedBackground_, value); }
  void SetChangedText(const QColor& value) { Store(changedText_, value); }
  void SetCursorFrame(const QColor& value) { Store(cursorFrame_, value); }
  void SetOffset(const QColor& value) { Store(offset_, value); }
  void SetOddColumn(const QColor& value);
  void SetEvenColumn(const QColor& value);

  // RGB(255 - R, 255 - G, 255 - B).
  static QColor Inverse(const QColor& color);

 private:
  void Store(QColor& entry, const QColor& value);

  THexEditor* owner_;
  QColor offset_{0x00, 0x00, 0x00};
  QColor oddColumn_{0x00, 0x00, 0xFF};
  QColor oddInverse_;
  QColor evenColumn_{0x00, 0x00, 0x80};
  QColor evenInverse_;
  QColor positionBackground_{0x80, 0x00, 0x00};
  QColor cursorFrame_{0x00, 0x00, 0x80};
  QColor background_;
  QColor changedText_{0x80, 0x00, 0x00};
  QColor positionText_{0xFF, 0xFF, 0xFF};
  QColor changedBackground_{0xFF, 0xFF, 0xA8};
};

// A grid cell: column and row.
struct TGridCell {
  int Col = 2;
  int Row = 0;
  bool operator==(const TGridCell&) const = default;
};

// What one cell shows.
struct TCellLook {
  QString Text;
  QColor TextColor;
  QColor Background;
  bool MarkerFont = false;  // the row-marker digit uses a smaller face
};

class THexEditor : public QAbstractScrollArea {
  Q_OBJECT
  Q_PROPERTY(int BytesPerLine READ BytesPerLine WRITE SetBytesPerLine)
  Q_PROPERTY(int BytesPerColumn READ BytesPerColumn WRITE SetBytesPerColumn)
  Q_PROPERTY(TTranslation Translation READ Translation WRITE SetTranslation)
  Q_PROPERTY(TOffsetDisplay OffsetDisplay READ OffsetDisplay WRITE SetOffsetDisplay)
  Q_PROPERTY(QChar OffsetSeparator READ OffsetSeparator WRITE SetOffsetSeparator)
  Q_PROPERTY(TCaretStyle CaretStyle READ CaretStyle WRITE SetCaretStyle)
  Q_PROPERTY(bool FocusFrame READ FocusFrame WRITE SetFocusFrame)
  Q_PROPERTY(bool MaskWhiteSpaces READ MaskWhiteSpaces WRITE SetMaskWhiteSpaces)
  Q_PROPERTY(QChar MaskChar READ MaskChar WRITE SetMaskChar)
  Q_PROPERTY(bool ShowMarkerColumn READ ShowMarkerColumn WRITE SetShowMarkerColumn)
  Q_PROPERTY(bool AutoCaretMode READ AutoCaretMode WRITE SetAutoCaretMode)
  Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
  Q_PROPERTY(bool CreateBackup READ CreateBackup WRITE SetCreateBackup)
  Q_PROPERTY(QString BackupExtension READ BackupExtension WRITE SetBackupExtension)
  Q_PROPERTY(int SwapNibbles READ SwapNibbles WRITE SetSwapNibbles)
  Q_PROPERTY(bool NoSizeChange READ NoSizeChange WRITE SetNoSizeChange)
  Q_PROPERTY(bool AllowInsertMode READ AllowInsertMode WRITE SetAllowInsertMode)
  Q_PROPERTY(bool ReadOnlyView READ ReadOnlyView WRITE SetReadOnlyView)
  Q_PROPERTY(TColors* Colors READ Colors CONSTANT)
  Q_PROPERTY(int SelStart READ SelStart WRITE SetSelStart)
  Q_PROPERTY(int SelEnd READ SelEnd WRITE SetSelEnd)

 public:
  enum TTranslation { ttAnsi, ttDos8, ttASCII, ttMac, ttEBCDIC };
  Q_ENUM(TTranslation)
  enum TOffsetDisplay { odHex, odDec, odOctal, odNone };
  Q_ENUM(TOffsetDisplay)
  enum TCaretStyle { csFull, csLeftLine, csBottomLine };
  Q_ENUM(TCaretStyle)

  static constexpr int kFixedCols = 2;
  static constexpr int kMarkerCount = 10;

  // Without a buffer the editor owns a private one.
  explicit THexEditor(QWidget* parent = nullptr);
  explicit THexEditor(THexEditorBuffer* buffer, QWidget* parent = nullptr);
  ~THexEditor() override;

  // Shows another buffer (nullptr: a private one). An external buffer must
  // outlive the editor or be replaced first.
  void SetBuffer(THexEditorBuffer* buffer);
  THexEditorBuffer& Buffer() const { return *buffer_; }

  // Repaint after the bytes changed behind the editor (SetMemory).
  void InvalidateBytes(int32_t offset, int32_t count);
  void InvalidateAll();
  // Rows framed in a colour of their own, over any other look; only the
  // rows that gain or lose the frame are repainted.
  void SetFramedRows(std::vector<int> rows, const QColor& color);
  const std::vector<int>& FramedRows() const { return framedRows_; }

  // --- Buffer state seen through the editor.
  int32_t DataSize() const { return buffer_->DataSize(); }
  int32_t CursorPos();
  bool InsertMode() const { return buffer_->InsertMode; }
  bool InsertModeInEffect() const { return buffer_->InsertModeInEffect(); }
  bool InCharField() const { return inCharField_; }
  bool Modified() const { return buffer_->Modified; }
  bool CanUndo() const { return buffer_->CanUndo(); }
  QString UndoDescription() const { return QString::fromStdString(buffer_->UndoDescription()); }
  int SelStart() const { return buffer_->SelStart; }
  int SelEnd() const { return buffer_->SelEnd; }
  void SetSelStart(int offset);
  void SetSelEnd(int offset);

  // --- Cell mapping.
  int32_t GetPosAtCell(int col, int row);  // also sets InCharField
  TGridCell GetCellAtPos(int32_t offset, bool inCharField) const;
  int PartnerColumn(int col);  // also sets InCharField for col

  // --- Edit primitives, each behind the edit permission check. Offsets
  // outside the data raise std::out_of_range.
  void ChangeByte(uint8_t oldValue, uint8_t newValue, int32_t offset);
  void DeleteRange(int32_t start, int32_t end, int col, int row);
  void DeleteSelection();
  void InsertBuffer(const uint8_t* bytes, int32_t count, int32_t offset);
  void AppendBuffer(const uint8_t* bytes, int32_t count);
  void ReplaceSelection(const uint8_t* bytes, int32_t count);
  void DeleteCaretByte();
  void DeleteByteBeforeCaret();

  // --- Row markers.
  void SetMarker(int index, int row);
  int Marker(int index) const;  // the current row when unset
  int MarkerOfRow(int row) const;

  // --- The grid.
  int Col() const { return current_.Col; }
  int Row() const { return current_.Row; }
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  int TopRow() const;
  void SetTopRow(int row);
  int VisibleRowCount() const;
  // Makes a cell current when the cell-selection rule accepts it, and scrolls
  // it into view.
  void MoveTo(int col, int row);
  int CharWidth() const { return charWidth_; }
  int CharHeight() const { return charHeight_; }
  int ColWidth(int col) const;
  QRect CellRect(int col, int row) const;  // in viewport coordinates
  TCellLook CellLook(int col, int row) const;
  QString OffsetText(int row) const;
  QChar DisplayChar(uint8_t byte) const;

  // --- Published properties.
  int BytesPerLine() const { return bytesPerLine_; }
  void SetBytesPerLine(int value);
  int BytesPerColumn() const { return nibblesPerGroup_ / 2; }
  void SetBytesPerColumn(int value);
  TTranslation Translation() const { return translation_; }
  void SetTranslation(TTranslation value);
  TOffsetDisplay OffsetDisplay() const { return offsetDisplay_; }
  void SetOffsetDisplay(TOffsetDisplay value);
  QChar OffsetSeparator() const { return offsetSeparator_; }
  void SetOffsetSeparator(QChar value);
  TCaretStyle CaretStyle() const { return caretStyle_; }
  void SetCaretStyle(TCaretStyle value);
  bool FocusFrame() const { return focusFrame_; }
  void SetFocusFrame(bool value);
  bool MaskWhiteSpaces() const { return maskWhiteSpaces_; }
  void SetMaskWhiteSpaces(bool value);
  QChar MaskChar() const { return maskChar_; }
  void SetMaskChar(QChar value);
  bool ShowMarkerColumn() const { return showMarkerColumn_; }
  void SetShowMarkerColumn(bool value);
  bool AutoCaretMode() const { return autoCaretMode_; }
  void SetAutoCaretMode(bool value);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool CreateBackup() const { return createBackup_; }
  void SetCreateBackup(bool value) { createBackup_ = value; }
  QString BackupExtension() const { return backupExtension_; }
  void SetBackupExtension(const QString& value) { backupExtension_ = value; }
  int SwapNibbles() const { return buffer_->SwapNibbles ? 1 : 0; }
  void SetSwapNibbles(int value);
  bool NoSizeChange() const { return buffer_->NoSizeChange(); }
  void SetNoSizeChange(bool value) { buffer_->SetNoSizeChange(value); }
  bool AllowInsertMode() const { return buffer_->AllowInsertMode(); }
  void SetAllowInsertMode(bool value) { buffer_->SetAllowInsertMode(value); }
  bool ReadOnlyView() const { return buffer_->ReadOnlyView; }
  void SetReadOnlyView(bool value) { buffer_->ReadOnlyView = value; }
  TColors* Colors() const { return colors_; }

  QSize sizeHint() const override;

 signals:
  // Only keys that reach the standard grid handling: never Insert nor a key
  // of the navigation table. key is 0 when the editor used the key itself.
  void OnKeyDown(int key, Qt::KeyboardModifiers shift);
  // Before a typed character is used; the handler may change it.
  void OnKeyPress(QChar& key);
  void OnKeyUp(int key, Qt::KeyboardModifiers shift);
  void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
  // Selection, undo or mode changed; posted, so it arrives after the event.
  void OnStateChanged();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class TColors;

  // An exception never leaves a Qt event handler: a refused edit or a bad
  // index ends the event quietly.
  template <typename Action>
  static void Quietly(Action&& action) {
    try {
      action();
    } catch (const std::exception&) {
    }
  }

  // --- hexeditor.cpp
  void Attach(THexEditorBuffer* buffer);
  void Detach();
  void AfterLoad();
  void PostStateChange();

  int GapColumn() const { return 2 * bytesPerLine_ + 2; }
  int FirstCharColumn() const { return 2 * bytesPerLine_ + 3; }
  bool CaretInCharField() const { return current_.Col > GapColumn(); }
  int32_t PosAtCell(int col, int row, bool* inCharField) const;
  int PartnerOf(int col) const;
  int HighDigitColumn(int32_t offset) const { return GetCellAtPos(offset, false).Col; }

  void SetCurrentCell(TGridCell cell);
  // The cell-selection rule.
  bool SelectCell(int col, int row);
  void ResetSelection(bool repaint);
  void ExtendSelection(TGridCell from, TGridCell to);
  TEditPosition CaretPosition();
  void ApplyAutoCaretMode();

  // --- hexeditor_view.cpp
  void RecomputeGrid();
  void RecomputeWidths();
  void UpdateScrollBars();
  int FixedWidth() const { return colLefts_[kFixedCols]; }
  int FullRows() const;
  int HorizontalOffset() const;
  TGridCell CellAtPoint(QPoint point, bool* valid) const;
  void ScrollIntoView(TGridCell cell);

  void InvalidateCell(int col, int row);
  void InvalidateRows(int firstRow, int lastRow);
  void InvalidateByteCells(int32_t offset);
  void InvalidateSelectionRows(int32_t start, int32_t end);

  void PaintRows(QPainter& painter, const QRect& dirty);
  void PaintCaret(QPainter& painter, const QRect& dirty);
  void PaintPartnerMark(QPainter& painter, const QRect& cell, const TCellLook& look);
  QRect CaretRect() const;
  QFont MarkerFont() const;
  void RestartCaretBlink();

  // --- hexeditor_input.cpp
  // The keys and buttons held while an input event is handled; outside
  // events, the application's state.
  class TInputScope;
  bool ShiftHeld() const;
  bool LeftButtonHeld() const;

  void KeyDown(const QKeyEvent& event);
  bool Navigate(int key, Qt::KeyboardModifiers shift);
  void StandardKey(int key);
  void TypeCharacter(QChar character);
  void TypeHexDigit(QChar character, int32_t offset);
  void TypeInCharField(QChar character, int32_t offset);
  void ToggleInsertMode();
  void MousePress(const QMouseEvent& event, bool doubleClick);
  int InputByte(QChar character) const;

  std::unique_ptr<THexEditorBuffer> ownBuffer_;
  THexEditorBuffer* buffer_ = nullptr;
  TColors* colors_;

  int bytesPerLine_ = 16;
  int nibblesPerGroup_ = 4;
  int rowCount_ = 1;
  int colCount_ = 51;
  TGridCell current_;
  std::vector<int> framedRows_;
  QColor framedRowColor_;
  std::vector<int> colLefts_;  // x of each column in the content, plus the end
  int charWidth_ = -1;
  int charHeight_ = 0;
  int offsetWidth_ = -1;
  std::array<int, kMarkerCount> markers_;

  TTranslation translation_ = ttAnsi;
  TOffsetDisplay offsetDisplay_ = odHex;
  QChar offsetSeparator_ = QLatin1Char(':');
  TCaretStyle caretStyle_ = csFull;
  bool focusFrame_ = true;
  bool maskWhiteSpaces_ = true;
  QChar maskChar_ = QLatin1Char('.');
  bool showMarkerColumn_ = true;
  bool autoCaretMode_ = true;
  bool wantTabs_ = true;
  bool createBackup_ = true;
  QString backupExtension_ = QStringLiteral(".bak");

  bool inCharField_ = false;
  bool mouseSelecting_ = false;
  bool dragging_ = false;
  bool altReleased_ = false;
  bool selectGuard_ = true;  // guards the cell-selection rule against re-entry
  bool caretOn_ = true;
  QTimer caretTimer_;
  const TInputScope* inputScope_ = nullptr;
};
