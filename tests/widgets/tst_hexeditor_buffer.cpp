#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "widgets/hexeditor_buffer.h"

namespace {

std::vector<uint8_t> Pattern(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat info{};
  return ::lstat(path.c_str(), &info) == 0;
}

// Writes past `limit` bytes fail (EFBIG) while it lives.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit reduced = saved_;
    reduced.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &reduced);
  }
  ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

}  // namespace

class tst_hexeditor_buffer : public QObject {
  Q_OBJECT

  QTemporaryDir temp_;

 private slots:
  void initTestCase() {
    // Working files go to a directory of this test only.
    QVERIFY(temp_.isValid());
    qputenv("TMPDIR", temp_.path().toLocal8Bit());
  }

  void emptyBeforeLoad() {
    THexEditorBuffer buffer;
    QCOMPARE(buffer.DataSize(), 0);
    QCOMPARE(buffer.AsHex(), std::string());
    QCOMPARE(buffer.FileName, std::string("---"));
    try {
      buffer.SetMemory(0, 0x12);
      QFAIL("SetMemory on an empty buffer must raise");
    } catch (const std::out_of_range& error) {
      QCOMPARE(std::string(error.what()), std::string("Invalid SetMemory index"));
    }
    QVERIFY(!Exists(buffer.WorkFileName()));
  }

  void fullMemoryAsHex() {
    THexEditorBuffer buffer;
    const std::vector<uint8_t> bytes = Pattern(122880);
    QVERIFY(buffer.LoadFromBytes(bytes.data(), bytes.size()));
    const std::string hex = buffer.AsHex();
    QCOMPARE(hex.size(), size_t{245760});
    for (int32_t word : {0x0000, 0x0001, 0x1234, 0xEFFF}) {
      char expected[5];
      std::snprintf(expected, sizeof expected, "%02X%02X", bytes[2 * static_cast<size_t>(word)],
                    bytes[2 * static_cast<size_t>(word) + 1]);
      // Characters 4A+1 .. 4A+4, counting from 1.
      QCOMPARE(hex.substr(4 * static_cast<size_t>(word), 4), std::string(expected));
    }
  }

  void setMemoryBounds_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("first") << 0 << true;
    QTest::newRow("last") << 99 << true;
    QTest::newRow("DataSize") << 100 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("far") << INT32_MAX << false;
  }
  void setMemoryBounds() {
    QFETCH(int, offset);
    QFETCH(bool, accepted);
    THexEditorBuffer buffer;
    const std::vector<uint8_t> bytes(100, 0x11);
    buffer.LoadFromBytes(bytes.data(), bytes.size());
    bool raised = false;
    try {
      buffer.SetMemory(offset, 0xA5);
    } catch (const std::out_of_range& error) {
      raised = true;
      QCOMPARE(std::string(error.what()), std::string("Invalid SetMemory index"));
    }
    QCOMPARE(raised, !accepted);
    if (accepted) QCOMPARE(buffer.ByteAt(offset), uint8_t{0xA5});
    // Nothing else is touched: the rest of the bytes, marks and Modified.
    const std::string hex = buffer.AsHex();
    QCOMPARE(std::count(hex.begin(), hex.end(), 'A'), accepted ? 1 : 0);
    QVERIFY(!buffer.IsChanged(offset));
    QVERIFY(!buffer.Modified);
    QVERIFY(!buffer.CanUndo());
  }

  void setMemoryReachesTheCache() {
    THexEditorBuffer buffer;
    const std::vector<uint8_t> bytes = Pattern(200000);
    buffer.LoadFromBytes(bytes.data(), bytes.size());
    QCOMPARE(buffer.CachedBytes(150000, 16)[0], bytes[150000]);
    buffer.SetMemory(150001, 0x5A);
    QCOMPARE(buffer.CachedBytes(150000, 16)[1], uint8_t{0x5A});
    buffer.WriteEditedByte(150002, 0x6B, 16);
    QCOMPARE(buffer.CachedBytes(150000, 16)[2], uint8_t{0x6B});
    // Far away and back: the block is refilled from the file.
    QCOMPARE(buffer.CachedBytes(0, 16)[5], bytes[5]);
    QCOMPARE(buffer.CachedBytes(199999, 16)[0], bytes[199999]);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.CachedBytes(200000, 16));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.CachedBytes(-1, 16));
  }

  void swapNibbles() {
    THexEditorBuffer buffer;
    const uint8_t bytes[] = {0x3C, 0x0F};
    buffer.LoadFromBytes(bytes, 2);
    QCOMPARE(buffer.AsHex(), std::string("3C0F"));
    buffer.SwapNibbles = true;
    QCOMPARE(buffer.AsHex(), std::string("C3F0"));
    char digits[2];
    buffer.ByteToHex(0xA1, digits);
    QCOMPARE(std::string(digits, 2), std::string("1A"));
  }

  void loadFromStreamAtItsEnd() {
    std::istringstream source(std::string("\x01\x02\x03\xFF", 4));
    source.seekg(0, std::ios::end);
    source.get();  // past the end: the stream is in a failed state too
    THexEditorBuffer buffer;
    QVERIFY(buffer.LoadFromStream(source));
    QCOMPARE(buffer.AsHex(), std::string("010203FF"));
    QCOMPARE(buffer.FileName, std::string("---"));
  }

  void loadTwice() {
    THexEditorBuffer buffer;
    int loads = 0;
    buffer.OnLoaded = [&] { ++loads; };
    const std::vector<uint8_t> first(64, 0xEE);
    buffer.LoadFromBytes(first.data(), first.size());
    QVERIFY(buffer.CheckEdit(TEditKind::ByteChanged, 3, 0, 1, {}));
    buffer.MarkChanged(3);
    buffer.SelAnchor = buffer.SelStart = 1;
    buffer.SelEnd = 5;
    std::istringstream second(std::string("\xAB\xCD", 2));
    buffer.LoadFromStream(second);
    QCOMPARE(buffer.AsHex(), std::string("ABCD"));
    QCOMPARE(buffer.ChangeMarksLength(), 0);
    QVERIFY(!buffer.IsChanged(3));
    QVERIFY(!buffer.Modified);
    QVERIFY(!buffer.CanUndo());
    QCOMPARE(buffer.UndoDescription(), std::string("No Undo"));
    QVERIFY(!buffer.HasSelection());
    QCOMPARE(loads, 2);
  }

  void journalKeepsTheLastHundred() {
    THexEditorBuffer buffer;
    const std::vector<uint8_t> bytes(200, 0);
    buffer.LoadFromBytes(bytes.data(), bytes.size());
    QCOMPARE(buffer.UndoDescription(), std::string("No Undo"));
    for (int32_t offset = 0; offset < 100; ++offset)
      QVERIFY(buffer.CheckEdit(TEditKind::ByteChanged, offset, 0, 1, {}));
    QCOMPARE(buffer.JournalCount(), 100);
    QCOMPARE(buffer.OldestJournalOffset(), 0);
    QVERIFY(buffer.CheckEdit(TEditKind::BytesRemoved, 100, 0, 3, {}));
    QCOMPARE(buffer.JournalCount(), 100);
    QCOMPARE(buffer.OldestJournalOffset(), 1);
    QVERIFY(buffer.CanUndo());
    QCOMPARE(buffer.UndoDescription(), std::string("Byte(s) removed"));
    QVERIFY(buffer.Modified);
  }

  void permissionCheck_data() {
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("noSizeChange");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("newLength");
    QTest::addColumn<bool>("allowed");
    const int changed = int(TEditKind::ByteChanged), removed = int(TEditKind::BytesRemoved),
              insert = int(TEditKind::InsertBuffer), replace = int(TEditKind::ReplaceSelection),
              append = int(TEditKind::AppendBuffer);
    QTest::newRow("byte changed") << false << false << changed << 0 << 1 << true;
    QTest::newRow("byte changed, fixed size") << false << true << changed << 0 << 1 << true;
    QTest::newRow("removed") << false << false << removed << 0 << 2 << true;
    QTest::newRow("removed, fixed size") << false << true << removed << 0 << 2 << false;
    QTest::newRow("insert, fixed size") << false << true << insert << 0 << 2 << false;
    QTest::newRow("append, fixed size") << false << true << append << 0 << 2 << false;
    QTest::newRow("replace same length, fixed size") << false << true << replace << 3 << 3 << true;
    QTest::newRow("replace longer, fixed size") << false << true << replace << 3 << 4 << false;
    QTest::newRow("replace longer") << false << false << replace << 3 << 4 << true;
    QTest::newRow("empty: byte changed") << true << false << changed << 0 << 1 << false;
    QTest::newRow("empty: removed") << true << false << removed << 0 << 1 << false;
    QTest::newRow("empty: insert") << true << false << insert << 0 << 1 << true;
    QTest::newRow("empty: append") << true << false << append << 0 << 1 << true;
    QTest::newRow("empty: append, fixed size") << true << true << append << 0 << 1 << false;
  }
  void permissionCheck() {
    QFETCH(bool, empty);
    QFETCH(bool, noSizeChange);
    QFETCH(int, kind);
    QFETCH(int, oldLength);
    QFETCH(int, newLength);
    QFETCH(bool, allowed);
    THexEditorBuffer buffer;
    if (!empty) {
      const std::vector<uint8_t> bytes(16, 0);
      buffer.LoadFromBytes(bytes.data(), bytes.size());
    }
    buffer.SetNoSizeChange(noSizeChange);
    int posted = 0;
    buffer.PostStateChange = [&] { ++posted; };
    QCOMPARE(buffer.CheckEdit(static_cast<TEditKind>(kind), 0, oldLength, newLength, {}), allowed);
    QCOMPARE(posted, 1);  // refused or not, the state change is posted
    QCOMPARE(buffer.Modified, allowed);
    QCOMPARE(buffer.CanUndo(), allowed);
    QCOMPARE(buffer.JournalCount(), allowed ? 1 : 0);
  }

  void insertModeSetters() {
    THexEditorBuffer buffer;
    buffer.SetAllowInsertMode(true);
    buffer.InsertMode = true;
    QVERIFY(buffer.InsertModeInEffect());
    buffer.SetNoSizeChange(true);
    QVERIFY(!buffer.AllowInsertMode());
    QVERIFY(!buffer.InsertModeInEffect());
    buffer.SetAllowInsertMode(true);  // refused while the size is fixed
    QVERIFY(!buffer.AllowInsertMode());
    buffer.SetNoSizeChange(false);
    buffer.SetAllowInsertMode(true);
    QVERIFY(buffer.InsertModeInEffect());
  }

  void replaceRange_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("oldCount");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("hex");  // empty: refused
    QTest::newRow("insert at start") << 0 << 0 << QByteArray("\xAA", 1) << "AA0011223344";
    QTest::newRow("insert at end") << 5 << 0 << QByteArray("\xAA\xBB", 2) << "0011223344AABB";
    QTest::newRow("remove middle") << 1 << 3 << QByteArray() << "0044";
    QTest::newRow("remove all") << 0 << 5 << QByteArray() << "";
    QTest::newRow("replace shorter") << 1 << 2 << QByteArray("\xEE", 1) << "00EE3344";
    QTest::newRow("replace same") << 4 << 1 << QByteArray("\xEE", 1) << "00112233EE";
    QTest::newRow("past the end") << 4 << 2 << QByteArray() << QString();
    QTest::newRow("negative") << -1 << 0 << QByteArray("\xAA", 1) << QString();
    QTest::newRow("beyond") << 6 << 0 << QByteArray("\xAA", 1) << QString();
  }
  void replaceRange() {
    QFETCH(int, offset);
    QFETCH(int, oldCount);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, hex);
    THexEditorBuffer buffer;
    const uint8_t start[] = {0x00, 0x11, 0x22, 0x33, 0x44};
    buffer.LoadFromBytes(start, 5);
    buffer.MarkChanged(0);
    buffer.MarkChanged(4);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (hex.isNull()) {
      QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                               buffer.ReplaceRange(offset, oldCount, data, static_cast<int32_t>(bytes.size())));
      QCOMPARE(buffer.AsHex(), std::string("0011223344"));
      return;
    }
    buffer.ReplaceRange(offset, oldCount, data, static_cast<int32_t>(bytes.size()));
    QCOMPARE(QString::fromStdString(buffer.AsHex()), hex);
    QCOMPARE(buffer.DataSize() * 2, hex.size());
    // A byte that moved loses its mark; one in front of the edit keeps it.
    const bool sizeChanged = bytes.size() != oldCount;
    QCOMPARE(buffer.IsChanged(4), !sizeChanged || offset > 4);
    QCOMPARE(buffer.IsChanged(0), !sizeChanged || offset > 0);
    if (buffer.DataSize() > 0) QCOMPARE(buffer.CachedBytes(0, 2)[0], buffer.ByteAt(0));
  }

  void insertIntoEmptyCreatesTheFile() {
    THexEditorBuffer buffer;
    const uint8_t byte = 0x7E;
    buffer.ReplaceRange(0, 0, &byte, 1);
    QCOMPARE(buffer.AsHex(), std::string("7E"));
    QCOMPARE(ReadFile(buffer.WorkFileName()), std::string("\x7E"));
  }

  void workFile() {
    std::string name;
    {
      THexEditorBuffer buffer;
      name = buffer.WorkFileName();
      const QString path = QString::fromStdString(name);
      QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(temp_.path()).absoluteFilePath());
      QVERIFY(QRegularExpression("^[0-9A-F]{8}\\.QZWK$").match(QFileInfo(path).fileName()).hasMatch());
      const std::vector<uint8_t> bytes = Pattern(5000);
      buffer.LoadFromBytes(bytes.data(), bytes.size());
      struct stat info{};
      QCOMPARE(::lstat(name.c_str(), &info), 0);
      QVERIFY(S_ISREG(info.st_mode));
      QCOMPARE(info.st_mode & 0777, mode_t{0600});
      QCOMPARE(ReadFile(name), std::string(bytes.begin(), bytes.end()));
      // The file outlives CreateEmpty and is reused by the next load.
      buffer.CreateEmpty("Untitled");
      QCOMPARE(buffer.DataSize(), 0);
      QCOMPARE(buffer.FileName, std::string("Untitled"));
      QVERIFY(Exists(name));
      const uint8_t two[] = {1, 2};
      buffer.LoadFromBytes(two, 2);
      QCOMPARE(buffer.WorkFileName(), name);
      QCOMPARE(ReadFile(name), std::string("\x01\x02", 2));
    }
    QVERIFY(!Exists(name));
  }

  void workFileNeverFollowsWhatIsThere_data() {
    QTest::addColumn<bool>("symlink");
    QTest::newRow("regular file") << false;
    QTest::newRow("symbolic link") << true;
  }
  void workFileNeverFollowsWhatIsThere() {
    QFETCH(bool, symlink);
    const std::string victim = (temp_.path() + "/victim").toStdString();
    std::ofstream(victim) << "precious";
    std::string squatted;
    {
      THexEditorBuffer buffer;
      squatted = buffer.WorkFileName();
      // Someone takes the chosen name before the first load.
      if (symlink)
        QCOMPARE(::symlink(victim.c_str(), squatted.c_str()), 0);
      else
        std::ofstream(squatted) << "precious";
      const std::vector<uint8_t> bytes(300, 0xCC);
      buffer.LoadFromBytes(bytes.data(), bytes.size());
      QVERIFY(buffer.WorkFileName() != squatted);
      QCOMPARE(buffer.AsHex().substr(0, 4), std::string("CCCC"));
    }
    QCOMPARE(ReadFile(victim), std::string("precious"));
    QCOMPARE(ReadFile(squatted), std::string("precious"));
    QVERIFY(Exists(squatted));
    std::filesystem::remove(squatted);
    std::filesystem::remove(victim);
  }

  void workFileReplacedBetweenLoads() {
    const std::string victim = (temp_.path() + "/victim2").toStdString();
    std::ofstream(victim) << "precious";
    THexEditorBuffer buffer;
    const uint8_t one = 1;
    buffer.LoadFromBytes(&one, 1);
    const std::string first = buffer.WorkFileName();
    buffer.CreateEmpty("Untitled");
    std::filesystem::remove(first);
    QCOMPARE(::symlink(victim.c_str(), first.c_str()), 0);
    const std::vector<uint8_t> bytes(10, 0xDD);
    buffer.LoadFromBytes(bytes.data(), bytes.size());
    QVERIFY(buffer.WorkFileName() != first);
    QCOMPARE(ReadFile(victim), std::string("precious"));
    QCOMPARE(buffer.AsHex(), std::string(20, 'D'));
    std::filesystem::remove(first);
    std::filesystem::remove(victim);
  }

  void failedLoadLeavesAnEmptyBuffer() {
    THexEditorBuffer buffer;
    int loads = 0;
    buffer.OnLoaded = [&] { ++loads; };
    const std::vector<uint8_t> small(16, 0x22);
    buffer.LoadFromBytes(small.data(), small.size());
    buffer.SelAnchor = buffer.SelStart = 0;
    buffer.SelEnd = 3;
    const std::vector<uint8_t> big(100000, 0x33);
    {
      TFileSizeLimit limit(4096);
      QVERIFY_THROWS_EXCEPTION(std::system_error, buffer.LoadFromBytes(big.data(), big.size()));
    }
    QCOMPARE(buffer.DataSize(), 0);
    QCOMPARE(buffer.AsHex(), std::string());
    QVERIFY(!buffer.HasSelection());
    QCOMPARE(loads, 2);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.SetMemory(0, 1));
    // And it recovers with the next load.
    buffer.LoadFromBytes(small.data(), small.size());
    QCOMPARE(buffer.DataSize(), 16);
  }

  void failedGrowthKeepsTheBytes() {
    THexEditorBuffer buffer;
    const std::vector<uint8_t> bytes = Pattern(1000);
    buffer.LoadFromBytes(bytes.data(), bytes.size());
    const std::string before = buffer.AsHex();
    const std::vector<uint8_t> more(50000, 0x44);
    {
      TFileSizeLimit limit(4096);
      QVERIFY_THROWS_EXCEPTION(std::system_error, buffer.ReplaceRange(10, 0, more.data(), 50000));
    }
    QCOMPARE(buffer.AsHex(), before);
  }

  void loadFromFile() {
    THexEditorBuffer buffer;
    const uint8_t start[] = {0x12, 0x34};
    buffer.LoadFromBytes(start, 2);
    // Missing files and directories change nothing.
    QVERIFY(buffer.LoadFromFile((temp_.path() + "/missing.bin").toStdString()));
    QVERIFY(buffer.LoadFromFile(temp_.path().toStdString()));
    QCOMPARE(buffer.AsHex(), std::string("1234"));
    QCOMPARE(buffer.FileName, std::string("---"));
    const std::string path = (temp_.path() + "/image.bin").toStdString();
    std::ofstream(path, std::ios::binary) << std::string("\x00\x7F\x80", 3);
    QVERIFY(buffer.LoadFromFile(path));
    QCOMPARE(buffer.AsHex(), std::string("007F80"));
    QCOMPARE(buffer.FileName, path);
    QVERIFY(!buffer.ReadOnlySource);
  }
};

QTEST_APPLESS_MAIN(tst_hexeditor_buffer)
#include "tst_hexeditor_buffer.moc"
