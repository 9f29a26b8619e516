#pragma once
// The memory editor's byte buffer: the bytes live in a working file of the
// temporary directory, mapped into memory so that reads and writes are direct.
// Where no working file can hold them (a read-only, full or too small
// temporary directory) they live in the program's own memory instead, with
// the same behaviour. This is machine-layer code and includes nothing from Qt.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <istream>
#include <string>
#include <vector>

enum class TEditKind : uint8_t {
  ByteChanged = 0,
  BytesRemoved = 1,
  InsertBuffer = 2,
  ReplaceSelection = 3,
  AppendBuffer = 4,
};

// Where the caret stood when an edit was made; kept in the undo journal.
struct TEditPosition {
  int32_t CaretOffset = 0;
  int32_t CaretDigit = 0;
  bool InCharField = false;
};

class THexEditorBuffer {
 public:
  static constexpr int32_t kCacheSize = 65536;
  static constexpr int kMaxUndoRecords = 100;

  THexEditorBuffer();
  ~THexEditorBuffer();
  THexEditorBuffer(const THexEditorBuffer&) = delete;
  THexEditorBuffer& operator=(const THexEditorBuffer&) = delete;

  // Loading. Each load replaces the working file's contents and clears the
  // change marks, the journal, the selection and Modified. A working file
  // that cannot be written is given up for the program's own memory; only
  // running out of that throws, and leaves an empty buffer.
  bool LoadFromStream(std::istream& source);
  bool LoadFromBytes(const uint8_t* bytes, size_t count);
  bool LoadFromFile(const std::string& path);
  void CreateEmpty(const std::string& name);

  int32_t DataSize() const { return size_; }
  std::string AsHex() const;
  // Throws std::out_of_range("Invalid SetMemory index") outside 0 .. DataSize-1.
  void SetMemory(int32_t offset, uint8_t value);

  // Counts every change of the bytes (a load, a store, an edit): while it
  // stays the same, so do the bytes.
  uint64_t Changes() const { return changes_; }

  // Direct access for the machine and the view; the offset must be valid.
  uint8_t ByteAt(int32_t offset) const { return data_[offset]; }
  const uint8_t* Bytes() const { return data_; }  // DataSize() of them
  // The two display digits of a byte, honouring SwapNibbles.
  // Inline: the machine reads every fetched word through it.
  void ByteToHex(uint8_t value, char* out) const {
    const char high = "0123456789ABCDEF"[value >> 4];
    const char low = "0123456789ABCDEF"[value & 0x0F];
    out[0] = SwapNibbles ? low : high;
    out[1] = SwapNibbles ? high : low;
  }

  // The 64 KiB read cache the view draws from: the byte at offset
  // (0 .. DataSize-1), with at least bytesPerLine bytes of the block after it.
  const uint8_t* CachedBytes(int32_t offset, int32_t bytesPerLine);

  // Edit-side writes, used by the editor's primitives after the permission
  // check. WriteEditedByte keeps the read cache current instead of dropping it.
  void WriteEditedByte(int32_t offset, uint8_t value, int32_t bytesPerLine);
  // Replaces the oldCount bytes at offset by newCount bytes (growing or
  // shrinking the working file; creating it when there is none). Change marks
  // from offset on are dropped when the size changes, since the bytes move.
  // Throws std::out_of_range for a range outside the data.
  void ReplaceRange(int32_t offset, int32_t oldCount, const uint8_t* bytes, int32_t newCount);

  // Change marks: one bit per byte typed over since the last load.
  bool IsChanged(int32_t offset) const;
  void MarkChanged(int32_t offset);
  void CutChangeMarks(int32_t length);
  int32_t ChangeMarksLength() const { return static_cast<int32_t>(changeMarks_.size()); }

  // The edit permission check, run before every edit primitive.
  bool CheckEdit(TEditKind kind, int32_t offset, int32_t oldLength, int32_t newLength,
                 const TEditPosition& position);
  bool CanUndo() const { return !journal_.empty(); }
  const std::string& UndoDescription() const { return undoDescription_; }
  int JournalCount() const { return static_cast<int>(journal_.size()); }
  // Offset of the oldest recorded edit, -1 when the journal is empty.
  int32_t OldestJournalOffset() const { return journal_.empty() ? -1 : journal_.front().Offset; }

  // Selection: inclusive byte range and its anchor, all -1 when none.
  int32_t SelStart = -1;
  int32_t SelAnchor = -1;
  int32_t SelEnd = -1;
  bool HasSelection() const { return SelAnchor >= 0; }
  int32_t SelectionLength() const { return HasSelection() ? SelEnd - SelStart + 1 : 0; }
  void ResetSelection() { SelStart = SelAnchor = SelEnd = -1; }

  bool NoSizeChange() const { return noSizeChange_; }
  void SetNoSizeChange(bool value);
  bool AllowInsertMode() const { return allowInsertMode_; }
  void SetAllowInsertMode(bool value);
  bool InsertModeInEffect() const { return InsertMode && allowInsertMode_ && !noSizeChange_; }

  // Bytes only in the program's own memory, never in a working file, from the
  // next load on: for machines that no editor shows (each case of the case
  // runner), where a file per machine would cost more than running it.
  bool WithoutWorkFile = false;

  bool InsertMode = false;
  bool SwapNibbles = false;
  bool ReadOnlyView = false;
  bool Modified = false;
  bool ReadOnlySource = true;
  std::string FileName = "---";
  const std::string& WorkFileName() const { return workFileName_; }

  // Immediate state change (journal reset) and posted one (after the current
  // event); the widget connects both. OnLoaded runs after every load and
  // CreateEmpty, also after a failed load, so a view can rebuild its grid.
  std::function<void()> OnStateChanged;
  std::function<void()> PostStateChange;
  std::function<void()> OnLoaded;

 private:
  struct TUndoRecord {
    TEditKind Kind;
    bool PreviousMark;
    bool PreviousModified;
    TEditPosition Position;
    int32_t SelStart, SelEnd, SelAnchor;
    int32_t Offset, NewLength, OldLength;
    std::vector<uint8_t> Destroyed;
  };

  void ChooseWorkFileName();
  void OpenWorkFile();
  // Drops the bytes, mapped or in memory; the working file stays on disk.
  void ReleaseWorkFile();
  void RemoveWorkFile();
  void Resize(int32_t newSize);
  void ResizeWorkFile(int32_t newSize);
  uint8_t* MapWorkFile(int32_t size);
  void MoveToMemory(int32_t keep);
  void FinishLoad();
  void ResetJournal();
  void PostState() const;

  std::string workFileName_;
  bool workFileCreated_ = false;
  // Identity of the file this buffer created, so that only it is ever
  // reopened or removed, never something put in its place.
  dev_t workFileDevice_ = 0;
  ino_t workFileInode_ = 0;
  int fd_ = -1;
  uint8_t* data_ = nullptr;
  int32_t size_ = 0;
  uint64_t changes_ = 0;
  // The bytes when no working file holds them; data_ then points here.
  bool inMemory_ = false;
  std::vector<uint8_t> memory_;
  std::vector<bool> changeMarks_;
  std::deque<TUndoRecord> journal_;
  std::string undoDescription_ = "No Undo";
  std::vector<uint8_t> cache_;
  int32_t cacheStart_ = -1;
  bool noSizeChange_ = false;
  bool allowInsertMode_ = false;
};
