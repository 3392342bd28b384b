// The data directory within one process: checkpoints, the journal, torn
// and damaged files, format versions. What takes a second process is in
// storage_data_directory_process_test.cpp.
#include <cstdlib>

#include "storage_data_directory_fixture.h"

namespace standin::storage {
namespace {

TEST_F(DataDirectoryTest, CheckpointAndJournalSurviveReopening) {
  {
    auto data = open();
    EXPECT_TRUE(data->read_snapshots().empty());
    EXPECT_TRUE(data->read_journal().empty());
    data->write_snapshot("master", "catalog of master");
    data->write_snapshot("Dravok01", std::string("rows\0with\0nul", 13));
    data->reset_journal();
    data->append_journal("INSERT 1");
    data->append_journal("");
    data->append_journal(std::string(100000, 'x'));
    data->sync_journal();
    EXPECT_GT(data->journal_bytes(), 100000u);
  }
  auto data = open();
  EXPECT_EQ(data->read_snapshots(),
            (Snapshots{{"master", "catalog of master"}, {"Dravok01", std::string("rows\0with\0nul", 13)}}));
  EXPECT_EQ(data->read_journal(), (std::vector<std::string>{"INSERT 1", "", std::string(100000, 'x')}));
}

TEST_F(DataDirectoryTest, CheckpointReplacesRemovesAndKeepsCreationOrder) {
  auto data = open();
  data->write_snapshot("master", "m1");
  data->write_snapshot("b", "b1");
  data->write_snapshot("c", "c1");
  data->reset_journal();
  data->append_journal("old statement");

  // Staged changes are not in force before the checkpoint commits.
  data->write_snapshot("b", "b2");
  data->remove_snapshot("c");
  data->write_snapshot("a", "a1");
  EXPECT_EQ(data->read_snapshots(), (Snapshots{{"master", "m1"}, {"b", "b1"}, {"c", "c1"}}));
  EXPECT_EQ(data->read_journal(), std::vector<std::string>{"old statement"});

  data->reset_journal();
  EXPECT_EQ(data->journal_bytes(), 0u);
  EXPECT_TRUE(data->read_journal().empty());
  data.reset();
  data = open();
  EXPECT_EQ(data->read_snapshots(), (Snapshots{{"master", "m1"}, {"b", "b2"}, {"a", "a1"}}));
  EXPECT_EQ(data->snapshot_names(), (std::vector<std::string>{"master", "b", "a"}));
  // Superseded files are gone: one per database, one journal.
  int snapshot_files = 0, journals = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    snapshot_files += entry.path().extension() == ".snap";
    journals += entry.path().extension() == ".log";
  }
  EXPECT_EQ(snapshot_files, 3);
  EXPECT_EQ(journals, 1);
}

// A process killed in the middle of a checkpoint: snapshots written, the
// journal not yet reset. The old checkpoint and the whole journal must stay
// in force, or the journal's statements would run twice.
TEST_F(DataDirectoryTest, InterruptedCheckpointLeavesThePreviousStateInForce) {
  {
    auto data = open();
    data->write_snapshot("master", "before");
    data->reset_journal();
    data->append_journal("statement after checkpoint");
    data->write_snapshot("master", "after");
    data->write_snapshot("new", "never committed");
  }  // no reset_journal()
  write_bytes(dir_ / "MANIFEST.tmp", "half a manifest");
  write_bytes(dir_ / "master.9.snap.tmp", "half a snapshot");

  auto data = open();
  EXPECT_EQ(data->read_snapshots(), (Snapshots{{"master", "before"}}));
  EXPECT_EQ(data->read_journal(), std::vector<std::string>{"statement after checkpoint"});
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

TEST_F(DataDirectoryTest, AnyDatabaseNameRoundTrips) {
  const Snapshots snapshots = {{"../escape", "1"},
                               {"a/b", "2"},
                               {"", "3"},
                               {"Vereinsdaten Ä€", "4"},
                               {std::string(400, 'n'), "5"},
                               {std::string(399, 'n') + "m", "6"}};
  {
    auto data = open();
    for (const auto& [name, payload] : snapshots) data->write_snapshot(name, payload);
    data->reset_journal();
  }
  EXPECT_EQ(open()->read_snapshots(), snapshots);
  EXPECT_FALSE(fs::exists(root_.path() / "escape.1.snap"));
}

TEST_F(DataDirectoryTest, TornJournalTailIsDroppedAndTruncated) {
  {
    auto data = open();
    data->append_journal("first");
    data->append_journal("second");
    data->append_journal("third, cut short by a power loss");
  }
  fs::path journal = only_file(".log");
  // The file is zero-filled ahead of its records.
  std::string bytes = read_bytes(journal);
  auto intact_size = bytes.find_last_not_of('\0') + 1;
  fs::resize_file(journal, intact_size - 5);
  {
    auto data = open();
    EXPECT_EQ(data->read_journal(), (std::vector<std::string>{"first", "second"}));
    EXPECT_LT(fs::file_size(journal), intact_size - 5);
    // Appending after the cut must not leave damage in front of the record.
    data->append_journal("fourth");
  }
  EXPECT_EQ(open()->read_journal(), (std::vector<std::string>{"first", "second", "fourth"}));
}

// Records overwrite the zeros the journal file is filled with ahead of
// them; a reopened journal goes on right behind its last record, and a
// record longer than the room left grows the file.
TEST_F(DataDirectoryTest, RecordsGoIntoTheZerosAheadOfThem) {
  {
    auto data = open();
    data->append_journal("first");
    data->sync_journal();
  }
  fs::path journal = only_file(".log");
  const uintmax_t room = fs::file_size(journal);
  EXPECT_GT(room, 4096u);
  EXPECT_EQ(read_bytes(journal).find_last_not_of('\0') + 1, 24u + 12 + 5);  // file header, record header, payload
  {
    auto data = open();
    EXPECT_EQ(fs::file_size(journal), room) << "the zeros are kept";
    data->append_journal("second");
    data->append_journal(std::string(room, 'x'));
  }
  EXPECT_GT(fs::file_size(journal), 2 * room - 1);
  EXPECT_EQ(open()->read_journal(), (std::vector<std::string>{"first", "second", std::string(room, 'x')}));
}

TEST_F(DataDirectoryTest, GarbageAfterTheLastRecordIsDropped) {
  {
    auto data = open();
    data->append_journal("kept");
  }
  fs::path journal = only_file(".log");
  // A record header cut after a few bytes, and a file extended with zeros.
  for (const std::string& tail : {std::string("\x07\x00", 2), std::string(4096, '\0')}) {
    write_bytes(journal, read_bytes(journal) + tail);
    EXPECT_EQ(open()->read_journal(), std::vector<std::string>{"kept"});
  }
}

TEST_F(DataDirectoryTest, DamagedLastRecordIsDroppedButDamageInFrontOfDataIsRefused) {
  {
    auto data = open();
    data->append_journal("statement one");
    data->append_journal("statement two");
  }
  fs::path journal = only_file(".log");
  std::string bytes = read_bytes(journal);
  size_t in_last = bytes.find("statement two");
  size_t in_first = bytes.find("statement one");

  std::string damaged_last = bytes;
  damaged_last[in_last + 3] ^= 0x01;
  write_bytes(journal, damaged_last);
  EXPECT_EQ(open()->read_journal(), std::vector<std::string>{"statement one"});

  std::string damaged_first = bytes;
  damaged_first[in_first + 3] ^= 0x01;
  write_bytes(journal, damaged_first);
  try {
    open();
    FAIL() << "a damaged record in front of an intact one was accepted";
  } catch (const OpenError& e) {
    EXPECT_NE(std::string(e.what()).find(journal.string()), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("damaged record"), std::string::npos) << e.what();
  }
  // A damaged length must not send the reader past the intact record.
  std::string damaged_length = bytes;
  damaged_length[in_first - 12] ^= 0x40;
  write_bytes(journal, damaged_length);
  EXPECT_THROW(open(), OpenError);
}

TEST_F(DataDirectoryTest, FlippedSnapshotByteIsReportedWithFileAndReason) {
  {
    auto data = open();
    data->write_snapshot("master", "some catalog bytes");
    data->reset_journal();
  }
  fs::path snapshot = only_file(".snap");
  std::string bytes = read_bytes(snapshot);
  bytes[bytes.find("catalog")] ^= 0x20;
  write_bytes(snapshot, bytes);
  auto data = open();
  try {
    data->read_snapshots();
    FAIL() << "a damaged snapshot was accepted";
  } catch (const OpenError& e) {
    std::string message = e.what();
    EXPECT_NE(message.find(snapshot.string()), std::string::npos) << message;
    EXPECT_NE(message.find("checksum mismatch"), std::string::npos) << message;
  }
}

TEST_F(DataDirectoryTest, UnknownFormatVersionIsRefused) {
  {
    auto data = open();
    data->write_snapshot("master", "x");
    data->reset_journal();
  }
  // The version is the little-endian u32 after the 8-byte magic.
  auto bump_version = [](const fs::path& path) {
    std::string bytes = read_bytes(path);
    bytes[8] = 2;
    write_bytes(path, bytes);
  };
  fs::path snapshot = only_file(".snap");
  std::string original = read_bytes(snapshot);
  bump_version(snapshot);
  try {
    open()->read_snapshots();
    FAIL() << "a snapshot of version 2 was read";
  } catch (const OpenError& e) {
    EXPECT_NE(std::string(e.what()).find("unknown format version 2"), std::string::npos) << e.what();
  }
  write_bytes(snapshot, original);

  bump_version(only_file(".log"));
  EXPECT_THROW(open(), OpenError);
}

TEST_F(DataDirectoryTest, SnapshotsWithoutManifestAreRefused) {
  {
    auto data = open();
    data->write_snapshot("master", "x");
    data->reset_journal();
  }
  fs::remove(dir_ / "MANIFEST");
  EXPECT_THROW(open(), OpenError);
}

// A process killed with SIGKILL keeps every record whose append returned,

}  // namespace
}  // namespace standin::storage
