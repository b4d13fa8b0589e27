// Text files: CR LF line ends, append and overwrite, a group's lines only once released, reading
// either line end.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/small_disk.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::SmallDisk;
using testing::TempFolder;

TEST(TextWriterTest, AppendAddsLinesWithCrLfAfterExistingText) {
  TempFolder folder;
  const std::string path = folder.File("log.txt");
  {
    TextWriter writer(PathFromUtf8(path), TextWriter::Mode::Append);
    writer.WriteBlankLines(1);
    writer.WriteLine("first");
  }
  {
    TextWriter writer(PathFromUtf8(path), TextWriter::Mode::Append);
    writer.WriteLine("Müller €");
  }
  // In the system's narrow code page: UTF-8 on Linux, the ANSI code page on Windows.
  EXPECT_EQ(ReadFileBytes(path), Utf8ToNarrow("\r\nfirst\r\nMüller €\r\n"));
}

TEST(TextWriterTest, OverwriteReplacesTheFile) {
  TempFolder folder;
  const std::string path = folder.File("dump.txt");
  TextWriter(PathFromUtf8(path), TextWriter::Mode::Overwrite).WriteLine("old old old");
  TextWriter(PathFromUtf8(path), TextWriter::Mode::Overwrite).WriteLine("new");
  EXPECT_EQ(ReadFileBytes(path), "new\r\n");
}

TEST(TextWriterTest, MissingFolderIsPathNotFound) {
  TempFolder folder;
  try {
    TextWriter writer(PathFromUtf8(folder.File("missing/log.txt")), TextWriter::Mode::Append);
    FAIL();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kPathNotFound);
  }
}

TEST(TextWriterTest, ClosedWriterRefusesToWrite) {
  TempFolder folder;
  TextWriter writer(PathFromUtf8(folder.File("a.txt")), TextWriter::Mode::Append);
  writer.Close();
  EXPECT_THROW(writer.WriteLine("late"), RuntimeError);
}

TEST(TextWriterTest, ReleasedGroupsReachTheFileInOrderAndADroppedGroupNever) {
  TempFolder folder;
  const std::string path = folder.File("log.txt");
  TextWriter log(PathFromUtf8(path), TextWriter::Mode::Append);
  log.WriteLine("Migrate Baskets");
  log.Hold();
  log.WriteLine("OrderID: B-1");
  log.WriteLine("OrderID: B-2 Müller €");
  EXPECT_EQ(ReadFileBytes(path), "Migrate Baskets\r\n");
  log.ReleaseHeld();
  const std::string committed =
      Utf8ToNarrow("Migrate Baskets\r\nOrderID: B-1\r\nOrderID: B-2 Müller €\r\n");
  EXPECT_EQ(ReadFileBytes(path), committed);  // on disk while the log is still open
  log.Hold();
  log.WriteLine("OrderID: B-3");
  log.DropHeld();
  log.WriteLine("Error occured: lost");
  EXPECT_EQ(ReadFileBytes(path), committed + "Error occured: lost\r\n");
  log.Hold();
  log.WriteLine("OrderID: B-4");
  log.Close();
  EXPECT_EQ(ReadFileBytes(path), committed + "Error occured: lost\r\n");
}

/// A log that meets a full disk: `room` bytes are left once "first" is written (besides the
/// rest of its page), then `lines` lines of `width` characters are written, as one group or
/// each on its own.
struct FullDiskCase {
  const char* name;
  std::size_t room;
  int lines;
  int width;
  bool group;
  friend void PrintTo(const FullDiskCase& c, std::ostream* out) { *out << c.name; }
};

class FullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDiskTest, SaysTheDiskIsFullAndKeepsOnlyWholeLines) {
  const FullDiskCase& c = GetParam();
  SmallDisk disk;
  if (!disk.Missing().empty()) GTEST_SKIP() << disk.Missing();
  const std::string path = disk.File("log.txt");
  TextWriter log(PathFromUtf8(path), TextWriter::Mode::Append);
  log.WriteLine("first");
  disk.FillLeaving(c.room);
  try {
    if (c.group) log.Hold();
    for (int i = 0; i < c.lines; ++i) log.WriteLine(std::string(c.width, 'a' + i % 26));
    log.ReleaseHeld();
    FAIL() << "the disk did not fill";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kDiskFull);
    EXPECT_EQ(error.Description(),
              "No space left on device: the file '" + path + "' cannot be written");
  }
  const std::string kept = ReadFileBytes(path);
  ASSERT_GE(kept.size(), 7u);
  EXPECT_EQ(kept.substr(0, 7), "first\r\n");
  EXPECT_EQ(kept.substr(kept.size() - 2), "\r\n");
  EXPECT_EQ(kept.size() % (c.width + 2), 7u % (c.width + 2)) << "a line was cut";
  if (c.group) {
    EXPECT_EQ(kept, "first\r\n");  // a group reaches the file whole or not at all
  }
}

INSTANTIATE_TEST_SUITE_P(
    Log, FullDiskTest,
    ::testing::Values(FullDiskCase{"LinesWithNoRoomLeft", 0, 400, 10, false},
                      FullDiskCase{"LinesUntilTheRoomIsGone", 8192, 400, 98, false},
                      FullDiskCase{"GroupLargerThanTheRoomLeft", 8192, 400, 98, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextReaderTest, ReadsCrLfAndLfLinesAndStopsAtTheEnd) {
  TempFolder folder;
  const std::string path = folder.File("settings.ini");
  std::ofstream(PathFromUtf8(path), std::ios::binary) << "srv1\r\n\r\nlast";
  TextReader reader(PathFromUtf8(path));
  EXPECT_EQ(reader.ReadLine(), "srv1");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_FALSE(reader.AtEndOfStream());
  EXPECT_EQ(reader.ReadLine(), "last");
  EXPECT_TRUE(reader.AtEndOfStream());
  EXPECT_THROW(reader.ReadLine(), RuntimeError);
}

}  // namespace
}  // namespace mv
