#include "core/hexeditor_buffer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace {

const char* EditKindText(TEditKind kind) {
  switch (kind) {
    case TEditKind::ByteChanged: return "Byte changed";
    case TEditKind::BytesRemoved: return "Byte(s) removed";
    case TEditKind::InsertBuffer: return "Insert buffer";
    case TEditKind::ReplaceSelection: return "Replace selection";
    case TEditKind::AppendBuffer: return "Append buffer";
  }
  return "";
}

uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// write() until done, retrying on interruption.
void WriteAll(int fd, const uint8_t* bytes, size_t count, const std::string& name) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(name);
    }
    bytes += written;
    count -= static_cast<size_t>(written);
  }
}

}  // namespace

THexEditorBuffer::THexEditorBuffer() : cache_(kCacheSize, 0) { ChooseWorkFileName(); }

THexEditorBuffer::~THexEditorBuffer() {
  ReleaseWorkFile();
  RemoveWorkFile();
}

void THexEditorBuffer::ChooseWorkFileName() {
  std::error_code error;
  std::string directory = std::filesystem::temp_directory_path(error).string();
  if (error || directory.empty()) directory = "/tmp";
  if (directory.back() != '/') directory += '/';
  uint32_t tick = TickCount();
  for (;;) {
    char name[16];
    std::snprintf(name, sizeof name, "%08X.QZWK", tick);
    workFileName_ = directory + name;
    struct stat info{};
    if (::lstat(workFileName_.c_str(), &info) != 0) return;
    // Taken: a new tick count, never the same one twice.
    tick = std::max(TickCount(), tick + 1);
  }
}

void THexEditorBuffer::OpenWorkFile() {
  // Reopen the file this buffer created, but only if it is still that very
  // file; otherwise create a fresh one exclusively under a new name.
  if (workFileCreated_) {
    fd_ = ::open(workFileName_.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ >= 0) {
      struct stat info{};
      if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_dev == workFileDevice_ &&
          info.st_ino == workFileInode_ && info.st_nlink == 1) {
        ::fchmod(fd_, S_IRUSR | S_IWUSR);
        if (::ftruncate(fd_, 0) != 0) ThrowErrno(workFileName_);
        return;
      }
      ::close(fd_);
      fd_ = -1;
    }
    workFileCreated_ = false;
    ChooseWorkFileName();
  }
  for (int attempt = 0; attempt < 1000; ++attempt) {
    fd_ = ::open(workFileName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 S_IRUSR | S_IWUSR);
    if (fd_ >= 0) {
      struct stat info{};
      if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::unlink(workFileName_.c_str());
        errno = error;
        ThrowErrno(workFileName_);
      }
      workFileCreated_ = true;
      workFileDevice_ = info.st_dev;
      workFileInode_ = info.st_ino;
      return;
    }
    if (errno != EEXIST) ThrowErrno(workFileName_);
    ChooseWorkFileName();
  }
  ThrowErrno(workFileName_);
}

void THexEditorBuffer::ReleaseWorkFile() {
  if (data_ && !inMemory_) ::munmap(data_, static_cast<size_t>(size_));
  data_ = nullptr;
  inMemory_ = false;
  std::vector<uint8_t>().swap(memory_);
  size_ = 0;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  cacheStart_ = -1;
}

void THexEditorBuffer::RemoveWorkFile() {
  if (!workFileCreated_) return;
  struct stat info{};
  if (::lstat(workFileName_.c_str(), &info) == 0 && info.st_dev == workFileDevice_ &&
      info.st_ino == workFileInode_)
    ::unlink(workFileName_.c_str());
  workFileCreated_ = false;
}

uint8_t* THexEditorBuffer::MapWorkFile(int32_t size) {
  if (size == 0) return nullptr;
  void* mapping =
      ::mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (mapping == MAP_FAILED) ThrowErrno(workFileName_);
  return static_cast<uint8_t*>(mapping);
}

void THexEditorBuffer::MoveToMemory(int32_t keep) {
  // Whatever the file holds, whole or partly written, goes with it.
  std::vector<uint8_t> bytes(data_, data_ + (data_ ? keep : 0));
  ReleaseWorkFile();
  RemoveWorkFile();
  memory_ = std::move(bytes);
  inMemory_ = true;
  size_ = static_cast<int32_t>(memory_.size());
  data_ = memory_.data();
}

bool THexEditorBuffer::LoadFromBytes(const uint8_t* bytes, size_t count) {
  if (count > static_cast<size_t>(INT32_MAX)) throw std::length_error("buffer too large");
  ReleaseWorkFile();
  try {
    bool inWorkFile = false;
    if (!WithoutWorkFile) {
      try {
        OpenWorkFile();
        WriteAll(fd_, bytes, count, workFileName_);
        data_ = MapWorkFile(static_cast<int32_t>(count));
        size_ = static_cast<int32_t>(count);
        inWorkFile = true;
      } catch (const std::system_error&) {
        // Memory must not depend on the temporary directory.
      }
    }
    if (!inWorkFile) {
      MoveToMemory(0);
      memory_.assign(bytes, bytes + count);
      size_ = static_cast<int32_t>(count);
      data_ = memory_.data();
    }
  } catch (...) {
    // The old contents are gone: be an empty buffer.
    ReleaseWorkFile();
    FinishLoad();
    throw;
  }
  FinishLoad();
  return true;
}

bool THexEditorBuffer::LoadFromStream(std::istream& source) {
  // The whole source, wherever its position stands.
  source.clear();
  source.seekg(0, std::ios::beg);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(source),
                                   std::istreambuf_iterator<char>()};
  return LoadFromBytes(bytes.data(), bytes.size());
}

bool THexEditorBuffer::LoadFromFile(const std::string& path) {
  // A file that cannot be read whole leaves everything as it was.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return true;
  std::vector<uint8_t> bytes;
  struct stat info{};
  bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  uint8_t block[65536];
  while (readable) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || bytes.size() + static_cast<size_t>(got) > static_cast<size_t>(INT32_MAX)) {
      readable = false;
      break;
    }
    bytes.insert(bytes.end(), block, block + got);
  }
  ::close(fd);
  if (!readable) return true;
  const bool writable = ::access(path.c_str(), W_OK) == 0;
  FileName = path;
  LoadFromBytes(bytes.data(), bytes.size());
  ReadOnlySource = !writable;
  return true;
}

void THexEditorBuffer::FinishLoad() {
  ++changes_;
  ResetJournal();
  changeMarks_.clear();
  Modified = false;
  ResetSelection();
  if (OnLoaded) OnLoaded();
}

void THexEditorBuffer::CreateEmpty(const std::string& name) {
  // The working file stays on disk; the next load or insert reuses it.
  ReleaseWorkFile();
  FileName = name;
  ReadOnlySource = true;
  FinishLoad();
}

std::string THexEditorBuffer::AsHex() const {
  std::string text(static_cast<size_t>(size_) * 2, '0');
  for (int32_t i = 0; i < size_; ++i) ByteToHex(data_[i], &text[static_cast<size_t>(i) * 2]);
  return text;
}

void THexEditorBuffer::SetMemory(int32_t offset, uint8_t value) {
  if (offset < 0 || offset >= size_) throw std::out_of_range("Invalid SetMemory index");
  data_[offset] = value;
  ++changes_;
  cacheStart_ = -1;
}

const uint8_t* THexEditorBuffer::CachedBytes(int32_t offset, int32_t bytesPerLine) {
  if (offset < 0 || offset >= size_) throw std::out_of_range("Invalid cache offset");
  const bool inside = cacheStart_ >= 0 && offset >= cacheStart_ &&
                      int64_t{offset} + bytesPerLine <= int64_t{cacheStart_} + kCacheSize;
  if (!inside) {
    // Centred on the offset, so scrolling either way stays inside one block.
    cacheStart_ = std::max(0, offset - kCacheSize / 2);
    const int32_t available = std::clamp(size_ - cacheStart_, 0, kCacheSize);
    std::memcpy(cache_.data(), data_ + cacheStart_, static_cast<size_t>(available));
  }
  return cache_.data() + (offset - cacheStart_);
}

void THexEditorBuffer::WriteEditedByte(int32_t offset, uint8_t value, int32_t bytesPerLine) {
  if (offset < 0 || offset >= size_) throw std::out_of_range("Invalid edit offset");
  data_[offset] = value;
  ++changes_;
  if (cacheStart_ >= 0 && offset >= cacheStart_ &&
      int64_t{offset} + bytesPerLine <= int64_t{cacheStart_} + kCacheSize)
    cache_[static_cast<size_t>(offset - cacheStart_)] = value;
}

void THexEditorBuffer::Resize(int32_t newSize) {
  cacheStart_ = -1;
  if (!inMemory_) {
    try {
      if (fd_ < 0) OpenWorkFile();
      ResizeWorkFile(newSize);
      return;
    } catch (const std::system_error&) {
      // The bytes up to the new size are intact in the old mapping.
      MoveToMemory(std::min(size_, newSize));
    }
  }
  memory_.resize(static_cast<size_t>(newSize));
  size_ = newSize;
  data_ = memory_.data();
}

void THexEditorBuffer::ResizeWorkFile(int32_t newSize) {
  // Growing allocates the blocks now: a full disk is an error here rather
  // than a fault when the mapping is written. The old mapping stays until
  // the new one exists.
  int error = 0;
  if (newSize > size_)
    error = ::posix_fallocate(fd_, 0, newSize);
  else if (::ftruncate(fd_, newSize) != 0)
    error = errno;
  if (error != 0) {
    errno = error;
    ThrowErrno(workFileName_);
  }
  uint8_t* mapping = MapWorkFile(newSize);
  if (data_) ::munmap(data_, static_cast<size_t>(size_));
  data_ = mapping;
  size_ = newSize;
}

void THexEditorBuffer::ReplaceRange(int32_t offset, int32_t oldCount, const uint8_t* bytes,
                                    int32_t newCount) {
  const int64_t newSize = int64_t{size_} - oldCount + newCount;
  if (offset < 0 || oldCount < 0 || newCount < 0 || int64_t{offset} + oldCount > size_ ||
      newSize > INT32_MAX)
    throw std::out_of_range("Invalid edit range");
  ++changes_;
  const int32_t tail = size_ - offset - oldCount;
  if (newCount > oldCount) {
    Resize(static_cast<int32_t>(newSize));
    std::memmove(data_ + offset + newCount, data_ + offset + oldCount, static_cast<size_t>(tail));
  } else if (newCount < oldCount) {
    std::memmove(data_ + offset + newCount, data_ + offset + oldCount, static_cast<size_t>(tail));
    Resize(static_cast<int32_t>(newSize));
  }
  if (newCount > 0) std::memcpy(data_ + offset, bytes, static_cast<size_t>(newCount));
  cacheStart_ = -1;
  if (newCount != oldCount) CutChangeMarks(offset);
}

bool THexEditorBuffer::IsChanged(int32_t offset) const {
  return offset >= 0 && static_cast<size_t>(offset) < changeMarks_.size() &&
         changeMarks_[static_cast<size_t>(offset)];
}

void THexEditorBuffer::MarkChanged(int32_t offset) {
  if (offset < 0) return;
  if (static_cast<size_t>(offset) >= changeMarks_.size())
    changeMarks_.resize(static_cast<size_t>(offset) + 1, false);
  changeMarks_[static_cast<size_t>(offset)] = true;
}

void THexEditorBuffer::CutChangeMarks(int32_t length) {
  if (length >= 0 && static_cast<size_t>(length) < changeMarks_.size())
    changeMarks_.resize(static_cast<size_t>(length));
}

bool THexEditorBuffer::CheckEdit(TEditKind kind, int32_t offset, int32_t oldLength,
                                 int32_t newLength, const TEditPosition& position) {
  bool allowed =
      size_ > 0 || kind == TEditKind::InsertBuffer || kind == TEditKind::AppendBuffer;
  if (allowed && noSizeChange_) {
    if (kind == TEditKind::BytesRemoved || kind == TEditKind::InsertBuffer ||
        kind == TEditKind::AppendBuffer)
      allowed = false;
    if (kind == TEditKind::ReplaceSelection && oldLength != newLength) allowed = false;
  }
  if (allowed) {
    TUndoRecord record{kind,   IsChanged(offset), Modified, position, SelStart, SelEnd,
                       SelAnchor, offset,          newLength, oldLength, {}};
    // The bytes the edit destroys: the old byte, or the removed/replaced ones.
    int32_t destroyedLength = 0;
    if (kind == TEditKind::ByteChanged) destroyedLength = 1;
    if (kind == TEditKind::BytesRemoved) destroyedLength = newLength;
    if (kind == TEditKind::ReplaceSelection) destroyedLength = oldLength;
    const int64_t first = std::clamp<int64_t>(offset, 0, size_);
    const int64_t last = std::clamp<int64_t>(int64_t{offset} + destroyedLength, first, size_);
    if (data_) record.Destroyed.assign(data_ + first, data_ + last);
    journal_.push_back(std::move(record));
    if (journal_.size() > kMaxUndoRecords) journal_.pop_front();
    undoDescription_ = EditKindText(kind);
    Modified = true;
  }
  PostState();
  return allowed;
}

void THexEditorBuffer::ResetJournal() {
  journal_.clear();
  undoDescription_ = "No Undo";
  if (OnStateChanged) OnStateChanged();
}

void THexEditorBuffer::PostState() const {
  if (PostStateChange) PostStateChange();
}

void THexEditorBuffer::SetNoSizeChange(bool value) {
  noSizeChange_ = value;
  SetAllowInsertMode(allowInsertMode_);
}

void THexEditorBuffer::SetAllowInsertMode(bool value) {
  allowInsertMode_ = noSizeChange_ ? false : value;
  PostState();
}
