#include <sys/stat.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "tst_hexeditor_fixture.h"

// The memory editor's file-backed byte buffer.

namespace {

// An edit asked of the permission check on 16 bytes of fixed size, as the
// machine's memory is.
struct TEdit { TEditKind Kind; int32_t OldLength, NewLength; bool Allowed; };

std::unique_ptr<THexEditorBuffer> Loaded(const std::vector<uint8_t>& bytes) {
  auto buffer = std::make_unique<THexEditorBuffer>();
  buffer->LoadFromBytes(bytes.data(), bytes.size());
  return buffer;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return std::filesystem::exists(std::filesystem::symlink_status(path)); }

}  // namespace

Q_DECLARE_METATYPE(TEdit)

class tst_hexeditor_buffer : public QObject {
  Q_OBJECT

  QTemporaryDir temp_;

 private slots:
  void initTestCase() {
    // Working files go to a directory of this test only.
    QVERIFY(temp_.isValid());
    qputenv("TMPDIR", temp_.path().toLocal8Bit());
  }

  // Word A of the memory is characters 4A+1 .. 4A+4 of the text (from 1).
  void fullMemoryAsHex() {
    auto buffer = Loaded(Counting(122880));
    const std::string hex = buffer->AsHex();
    QCOMPARE(hex.size(), size_t{245760});
    for (const auto& [word, text] : {std::pair<size_t, const char*>{0, "0001"}, {1, "0203"}, {0xEFFF, "FEFF"}})
      QCOMPARE(hex.substr(4 * word, 4), std::string(text));
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
    auto buffer = Loaded(std::vector<uint8_t>(100, 0x11));
    QCOMPARE(ErrorOf<std::out_of_range>([&] { buffer->SetMemory(offset, 0xA5); }),
             accepted ? "" : "Invalid SetMemory index");
    // That byte alone changes, with no change mark, no Modified, no undo.
    const std::string hex = buffer->AsHex();
    QCOMPARE(std::count(hex.begin(), hex.end(), 'A'), accepted ? 1 : 0);
    if (accepted) QCOMPARE(buffer->ByteAt(offset), uint8_t{0xA5});
    QVERIFY(!buffer->IsChanged(offset) && !buffer->Modified && !buffer->CanUndo());
  }

  // Every way of changing the bytes counts (a run's copies of memory share
  // the one before while the count stays); reading counts nothing, and a
  // write refused for its offset changes nothing.
  void changesCount_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("counts");
    for (const char* action : {"SetMemory", "WriteEditedByte", "ReplaceRange", "LoadFromBytes", "CreateEmpty"})
      QTest::newRow(action) << QString(action) << true;
    for (const char* action : {"read", "SetMemory outside", "ReplaceRange outside"})
      QTest::newRow(action) << QString(action) << false;
  }
  void changesCount() {
    QFETCH(QString, action);
    QFETCH(bool, counts);
    auto buffer = Loaded(std::vector<uint8_t>(16, 0x11));
    const uint64_t before = buffer->Changes();
    const uint8_t byte = 0x11;  // the same value: writing it still counts
    if (action == "SetMemory") buffer->SetMemory(15, byte);
    if (action == "WriteEditedByte") buffer->WriteEditedByte(0, byte, 16);
    if (action == "ReplaceRange") buffer->ReplaceRange(4, 1, &byte, 1);
    if (action == "LoadFromBytes") buffer->LoadFromBytes(&byte, 1);
    if (action == "CreateEmpty") buffer->CreateEmpty("x");
    if (action == "read") {
      (void)buffer->AsHex();
      (void)buffer->CachedBytes(0, 16);
    }
    if (action == "SetMemory outside") ErrorOf<std::out_of_range>([&] { buffer->SetMemory(16, byte); });
    if (action == "ReplaceRange outside") ErrorOf<std::out_of_range>([&] { buffer->ReplaceRange(15, 2, &byte, 1); });
    QCOMPARE(buffer->Changes() != before, counts);
  }

  // A second load, as of a program into the machine, forgets everything about
  // the first.
  void loadTwice() {
    auto buffer = Loaded(std::vector<uint8_t>(64, 0xEE));
    QVERIFY(buffer->CheckEdit(TEditKind::ByteChanged, 3, 0, 1, {}));
    buffer->MarkChanged(3);
    buffer->SelAnchor = buffer->SelStart = 1;
    buffer->SelEnd = 5;
    QVERIFY(buffer->LoadFromBytes(Counting(2).data(), 2));
    QCOMPARE(buffer->AsHex(), std::string("0001"));
    QCOMPARE(buffer->ChangeMarksLength(), 0);
    QVERIFY(!buffer->Modified && !buffer->CanUndo() && !buffer->HasSelection());
  }

  void journalKeepsTheLastHundred() {
    auto buffer = Loaded(std::vector<uint8_t>(200, 0));
    for (int32_t offset = 0; offset < 100; ++offset)
      QVERIFY(buffer->CheckEdit(TEditKind::ByteChanged, offset, 0, 1, {}));
    QCOMPARE(buffer->OldestJournalOffset(), 0);
    QVERIFY(buffer->CheckEdit(TEditKind::BytesRemoved, 100, 0, 3, {}));
    QCOMPARE(buffer->JournalCount(), 100);
    QCOMPARE(buffer->OldestJournalOffset(), 1);
    QCOMPARE(buffer->UndoDescription(), std::string("Byte(s) removed"));
  }

  void permissionCheck_data() {
    QTest::addColumn<TEdit>("edit");
    const auto row = [](const char* name, TEdit edit) { QTest::newRow(name) << edit; };
    row("byte changed", {TEditKind::ByteChanged, 0, 1, true});
    row("removed", {TEditKind::BytesRemoved, 0, 2, false});
    row("insert", {TEditKind::InsertBuffer, 0, 2, false});
    row("append", {TEditKind::AppendBuffer, 0, 2, false});
    row("replace same length", {TEditKind::ReplaceSelection, 3, 3, true});
    row("replace longer", {TEditKind::ReplaceSelection, 3, 4, false});
  }
  void permissionCheck() {
    QFETCH(TEdit, edit);
    auto buffer = Loaded(std::vector<uint8_t>(16, 0));
    buffer->SetNoSizeChange(true);
    int posted = 0;
    buffer->PostStateChange = [&] { ++posted; };
    QCOMPARE(buffer->CheckEdit(edit.Kind, 0, edit.OldLength, edit.NewLength, {}), edit.Allowed);
    QCOMPARE(posted, 1);  // refused or not, the state change is posted
    QCOMPARE(buffer->Modified, edit.Allowed);
    QCOMPARE(buffer->JournalCount(), edit.Allowed ? 1 : 0);
    buffer->SetAllowInsertMode(true);  // a fixed size rules out insert mode
    QVERIFY(!buffer->AllowInsertMode());
  }

  // Named like 1A2B3C4D.QZWK in the temporary directory, created on the first
  // write for its owner only, kept and reused, removed with the buffer.
  void workFile() {
    std::string name;
    {
      THexEditorBuffer buffer;
      QCOMPARE(buffer.AsHex(), std::string());
      QCOMPARE(buffer.FileName, std::string("---"));
      name = buffer.WorkFileName();
      QVERIFY(!Exists(name));
      const QFileInfo info(QString::fromStdString(name));
      QCOMPARE(info.absolutePath(), QFileInfo(temp_.path()).absoluteFilePath());
      QVERIFY(QRegularExpression("^[0-9A-F]{8}\\.QZWK$").match(info.fileName()).hasMatch());
      const uint8_t byte = 0x7E;
      buffer.ReplaceRange(0, 0, &byte, 1);  // an insert into nothing creates it
      struct stat status{};
      QCOMPARE(::lstat(name.c_str(), &status), 0);
      QVERIFY(S_ISREG(status.st_mode));
      QCOMPARE(status.st_mode & 0777, mode_t{0600});
      buffer.CreateEmpty("Untitled");
      QVERIFY(Exists(name));
      const std::vector<uint8_t> bytes = Counting(5000);
      buffer.LoadFromBytes(bytes.data(), bytes.size());
      QCOMPARE(buffer.WorkFileName(), name);
      QCOMPARE(ReadFile(name), std::string(bytes.begin(), bytes.end()));
    }
    QVERIFY(!Exists(name));
  }

  // Whatever takes the chosen name (before the first load, or between two)
  // is neither written, followed nor removed: another name is used.
  void workFileNeverFollowsWhatIsThere_data() {
    QTest::addColumn<bool>("symlink");
    QTest::addColumn<bool>("loadedBefore");
    QTest::newRow("regular file") << false << false;
    QTest::newRow("symbolic link") << true << false;
    QTest::newRow("symbolic link after a load") << true << true;
  }
  void workFileNeverFollowsWhatIsThere() {
    QFETCH(bool, symlink);
    QFETCH(bool, loadedBefore);
    const std::string victim = (temp_.path() + "/victim").toStdString();
    std::ofstream(victim) << "precious";
    std::string squatted;
    {
      THexEditorBuffer buffer;
      squatted = buffer.WorkFileName();
      if (loadedBefore) {
        buffer.LoadFromBytes(Counting(1).data(), 1);
        buffer.CreateEmpty("Untitled");
        std::filesystem::remove(squatted);
      }
      if (symlink)
        QCOMPARE(::symlink(victim.c_str(), squatted.c_str()), 0);
      else
        std::ofstream(squatted) << "precious";
      buffer.LoadFromBytes(Counting(300).data(), 300);
      QVERIFY(buffer.WorkFileName() != squatted);
      QCOMPARE(buffer.AsHex().substr(0, 4), std::string("0001"));
    }
    QCOMPARE(ReadFile(victim), std::string("precious"));
    QCOMPARE(ReadFile(squatted), std::string("precious"));
    std::filesystem::remove(squatted);
    std::filesystem::remove(victim);
  }

  // Where no working file can hold the loaded bytes, or none is wanted, the
  // program's memory does, whole and with the same behaviour, and no file is
  // left behind.
  void workFileCannotHoldTheBytes_data() {
    QTest::addColumn<QByteArray>("tmpdir");  // empty: the test's own, too small
    QTest::addColumn<bool>("withoutWorkFile");  // then the test's own has room
    QTest::newRow("directory too small") << QByteArray() << false;
    // Nobody, root included, can create a file in /proc.
    QTest::newRow("directory that cannot be written") << QByteArray("/proc") << false;
    QTest::newRow("no working file wanted") << QByteArray() << true;
  }
  void workFileCannotHoldTheBytes() {
    QFETCH(QByteArray, tmpdir);
    QFETCH(bool, withoutWorkFile);
    if (!tmpdir.isEmpty()) qputenv("TMPDIR", tmpdir);
    THexEditorBuffer buffer;
    buffer.WithoutWorkFile = withoutWorkFile;
    qputenv("TMPDIR", temp_.path().toLocal8Bit());
    std::vector<uint8_t> expected = Counting(122880);
    {
      std::optional<TFileSizeLimit> limit;
      if (tmpdir.isEmpty() && !withoutWorkFile) limit.emplace(4096);
      buffer.LoadFromBytes(expected.data(), expected.size());
    }
    buffer.SetMemory(122879, 0xAB);
    expected.back() = 0xAB;
    buffer.ReplaceRange(0, 1, nullptr, 0);
    expected.erase(expected.begin());
    std::vector<uint8_t> bytes(static_cast<size_t>(buffer.DataSize()));
    for (int32_t i = 0; i < buffer.DataSize(); ++i) bytes[static_cast<size_t>(i)] = buffer.ByteAt(i);
    QCOMPARE(bytes, expected);
    QVERIFY(!Exists(buffer.WorkFileName()));
    QVERIFY(QDir(temp_.path()).isEmpty());
  }
};

QTEST_APPLESS_MAIN(tst_hexeditor_buffer)
#include "tst_hexeditor_buffer.moc"
