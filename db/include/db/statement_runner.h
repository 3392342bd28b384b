// The one place that executes every statement the tool sends. It knows each
// statement's channel, exact text and guard, applies the guard to a failure,
// and tells its observers (the transcript tests, the statement log) what was
// sent, to which database, and how it ended. Statements go to the work
// connection, tenant lists (Channel::Discovery) to the discovery connection;
// the session settings of every connection that opens (SET DATEFORMAT dmy:
// the stored scripts write dates as day.month.year) are sent from here too.
//
// Guards: a silent failure is dropped; a reported failure is shown with the
// server's text in the guard's dialog and the run goes on; an unguarded
// failure is rethrown as DbError and ends the run.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/connections.h"
#include "db/feedback.h"
#include "db/statement.h"

namespace db {

class StatementRunner {
 public:
  using Observer = std::function<void(const StatementRecord&)>;

  StatementRunner(Connections& connections, Feedback& feedback);
  ~StatementRunner();
  StatementRunner(const StatementRunner&) = delete;
  StatementRunner& operator=(const StatementRunner&) = delete;

  // Sends `text` as one command on the work connection. Returns true when
  // the server accepted it. An empty text is refused by the client layer.
  bool run(Channel channel, std::string_view text, Guard guard);

  // Sends a statement built line by line: every line followed by CR LF.
  bool run_lines(const std::vector<std::string>& lines, Guard guard);

  // Sends `text` with named parameters.
  bool run_with(Channel channel, std::string_view text, std::span<const Parameter> params, Guard guard);

  // Sends nothing, but tells the observers that a statement on `channel`
  // was left out, and why (`what`), so that the transcript shows the step.
  void skip(Channel channel, std::string_view what, Guard guard);

  // Runs a query and returns its rows; a failure under a non-unguarded guard
  // gives an empty rowset.
  Rowset query(Channel channel, std::string_view text, Guard guard);

  // A unit of work (db/transaction.h): the first change sent inside it opens
  // a transaction, which the unit's end commits or, on a failure that ends
  // the run, rolls back. A unit inside a unit belongs to the outer one.
  void begin_unit();
  void end_unit(bool commit);

  void add_observer(Observer observer) { observers_.push_back(std::move(observer)); }

  Connections& connections() { return connections_; }
  Feedback& feedback() { return feedback_; }

 private:
  template <typename Send>
  bool guarded(StatementRecord record, Send send);
  StatementRecord record_of(Channel channel, std::string_view text, Guard guard,
                            std::span<const Parameter> params = {}) const;
  // The connection that statements on `channel` go to; may open it again.
  Connection& target(Channel channel);
  void send_session_settings(Connection& connection, std::string_view catalogue);
  void notify(const StatementRecord& record);
  void open_unit_transaction();

  Connections& connections_;
  Feedback& feedback_;
  std::vector<Observer> observers_;
  int unit_depth_ = 0;
  bool unit_transaction_open_ = false;
};

}  // namespace db
