// The one renderer of statement records in the log's style: stamps on every
// entry, row counts and message numbers, folded script batches written when
// the next entry comes.
#include <gtest/gtest.h>

#include <sstream>

#include "upgrade/transcript_writer.h"

namespace {

db::StatementRecord record(db::Channel channel, db::Guard guard, std::string text, std::string database) {
  return db::StatementRecord{channel, guard, std::move(text), std::nullopt, {}, false, std::move(database)};
}

upgrade::TranscriptStyle log_like() {
  upgrade::TranscriptStyle style;
  style.today_as_word = false;
  style.show_counts = true;
  style.stamp = [](std::string_view database) { return "T " + std::string(database) + " "; };
  return style;
}

TEST(TranscriptWriter, LogStyleStampsEveryEntryWithItsDatabase) {
  std::ostringstream out;
  upgrade::TranscriptWriter writer(out, log_like());
  db::StatementRecord update = record(db::Channel::Lines, db::Guard::warning(), "UPDATE x\r\nSET y=1\r\n", "D1");
  update.rows = 3;
  writer.statement(update);
  db::StatementRecord failed = record(db::Channel::Probe, db::Guard::unguarded(), "SELECT * FROM t", "D1");
  failed.error = "Invalid object name 't'.";
  failed.error_number = 208;
  writer.statement(failed);
  writer.note("[caption] D2");
  db::StatementRecord insert = record(db::Channel::Single, db::Guard::silent(), "INSERT @d", "D2");
  insert.params.push_back({"d", db::Parameter::Kind::Date, 0, "", 2026, 3, 9});
  insert.rows = 1;
  writer.statement(insert);
  EXPECT_EQ(out.str(),
            "T D1 [lines reported:warning ok, 3 rows]\n"
            "UPDATE x\\r\\n\nSET y=1\\r\\n\n|\n"
            "T D1 [probe unguarded failed: Msg 208: Invalid object name 't'.]\n"
            "SELECT * FROM t|\n"
            "T D1 [caption] D2\n"
            "T D2 [single silent ok, 1 row]\n"
            "INSERT @d|\n"
            "  @d=2026-03-09\n");
}

// The batches of a script are one entry, written once the script is over.
TEST(TranscriptWriter, ScriptBatchesAreFoldedUntilTheNextEntry) {
  std::ostringstream out;
  upgrade::TranscriptWriter writer(out);
  for (const char* text : {"a\n", "b\n", "c\n"}) {
    db::StatementRecord batch = record(db::Channel::Single, db::Guard::plain(), text, "D");
    if (text[0] != 'a') batch.error = std::string("bad ") + text[0];
    writer.statement(batch);
  }
  EXPECT_EQ(out.str(), "");
  writer.note("[close request]");
  writer.statement(record(db::Channel::Single, db::Guard::plain(), "d\n", "D"));
  writer.finish();
  EXPECT_EQ(out.str(),
            "[script batches] 2 failed, first: bad b\n"
            "[close request]\n"
            "[script batches] 0 failed\n");
}

}  // namespace
