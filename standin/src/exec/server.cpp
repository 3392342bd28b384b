// The public API: Server and Session. A command text is parsed as a whole
// (a syntax error runs nothing), then its statements run one by one, each
// atomic; outside a transaction each commits by itself.
#include <chrono>
#include <ctime>
#include <mutex>
#include <random>

#include "exec/batch_compile.h"
#include "exec/executor.h"
#include "exec/messages.h"
#include "exec/server_impl.h"
#include "exec/transaction_scope.h"
#include "parser/parser.h"
#include "platform/local_time.h"
#include "storage/data_directory.h"
#include "types/ascii.h"

namespace standin {

namespace {

DateTime local_now() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  const std::tm tm = platform::local_time(t);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return DateTime::from_civil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                              static_cast<int>(ms));
}

std::string random_guid() {
  static std::mt19937_64 rng{std::random_device{}()};
  uint64_t a = rng(), b = rng();
  a = (a & 0xFFFFFFFFFFFF0FFFULL) | 0x0000000000004000ULL;  // version 4
  b = (b & 0x3FFFFFFFFFFFFFFFULL) | 0x8000000000000000ULL;  // variant
  char buf[40];
  std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(a >> 32),
                static_cast<unsigned>((a >> 16) & 0xFFFF), static_cast<unsigned>(a & 0xFFFF),
                static_cast<unsigned>(b >> 48), static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFULL));
  return buf;
}

// CREATE and DROP DATABASE change the catalog without an undo entry (they
// are refused inside a transaction, so nothing ever undoes them).
bool changes_databases(const Statement& s) {
  if (s.kind == StatementKind::CreateDatabase || s.kind == StatementKind::DropDatabase) return true;
  for (const StatementPtr& inner : s.body)
    if (inner && changes_databases(*inner)) return true;
  return false;
}

// A statement that left the databases as they were (an IF whose condition
// failed, an UPDATE of no rows) needs no journal record, and a command text
// of such statements then needs no sync: a re-run over an upgraded tenant
// writes nothing.
bool needs_record(const Statement& s, const StatementUndo& undo) {
  return !undo.changed_nothing() || changes_databases(s);
}

}  // namespace

Server::Impl::Impl() {
  Database* master = catalog.create("master");
  master->created = local_now();
}

EvalContext Server::Impl::statement_context(SessionState& state, Capture& capture) {
  EvalContext ctx;
  ctx.settings = &state.settings;
  const Capture* replay = replay_capture;
  ctx.now = [this, &capture, replay]() {
    DateTime d = replay && replay_now_ < replay->now.size() ? replay->now[replay_now_++] : local_now();
    capture.now.push_back(d);
    return d;
  };
  ctx.new_guid = [this, &capture, replay]() {
    std::string g = replay && replay_guid_ < replay->guids.size() ? replay->guids[replay_guid_++] : random_guid();
    capture.guids.push_back(g);
    return g;
  };
  return ctx;
}

// A failed statement undoes only itself, also inside a transaction, which
// stays open.
void Server::Impl::run_statement(SessionState& state, Transaction& transaction, Statement& s, std::string_view text,
                                 std::span<const Param> params, BatchResult& result, bool* stop) {
  StatementUndo undo;
  Capture capture;
  EvalContext ctx = statement_context(state, capture);
  SessionState before = state;
  TransactionScope scope(*this, transaction, undo, result.transaction_changes);
  Executor ex(catalog, state, ctx, undo);
  ex.set_transactions(&scope);
  ex.memory().set_limit(max_query_memory);
  try {
    ex.run(s, result);
    if (!scope.ran_control() && needs_record(s, undo))
      committed(before, transaction, text.substr(s.offset, s.end_offset - s.offset), s, capture, params);
    scope.statement_completed();
  } catch (const SqlError& e) {
    undo.rollback();
    Error err = e.error;
    err.line = static_cast<int>(s.line);
    result.errors.push_back(err);
    for (Error follower : e.followers) {
      follower.line = err.line;
      result.errors.push_back(std::move(follower));
    }
    ErrorScope reach = error_scope(err.number);
    // XACT_ABORT leaves compile errors as they are.
    if (state.settings.xact_abort && reach == ErrorScope::Statement) reach = ErrorScope::BatchAndTransaction;
    if (reach == ErrorScope::BatchAndTransaction && transaction.open()) {
      transaction.undo.rollback();
      transaction.end();
      result.transaction_changes.push_back(TransactionChange::RolledBack);
    }
    *stop = reach != ErrorScope::Statement;
  } catch (const std::bad_alloc&) {
    // What the account of query memory did not foresee ends as it would.
    undo.rollback();
    result.errors.push_back(Error{701, 17, 1, static_cast<int>(s.line),
                                  "There is insufficient system memory in resource pool 'default' to run this query."});
    *stop = true;
  } catch (const std::exception& e) {
    undo.rollback();
    Error err;
    err.number = 50000;
    err.severity = 16;
    err.line = static_cast<int>(s.line);
    err.message = std::string("Internal error: ") + e.what();
    result.errors.push_back(err);
    *stop = true;
  }
}

namespace {

// A command text up to this size is parsed once and its trees are kept from
// the syntax check for running. A longer one (a data script of thousands of
// inserts) is parsed a second time, statement by statement, so that its
// trees never pile up: memory stays near the size of the text.
constexpr size_t kParseOnceBytes = size_t{64} * 1024;

// A syntax error anywhere in a command text runs none of it, and neither
// does a column that a table it names lacks (see batch_compile.h). The
// whole text is parsed first: a syntax error is reported alone.
bool compile(std::string_view text, BatchCompiler& compiler, std::vector<StatementPtr>* kept,
             std::vector<Error>* errors) {
  StatementReader reader(text);
  Error syntax_error;
  std::vector<Error> unbound;  // of the first statement that does not bind
  auto bind = [&](const Statement& s) {
    if (unbound.empty()) compiler.check(s, &unbound);
  };
  bool parsed = true;
  if (text.size() > kParseOnceBytes) {
    StatementPtr outline;
    for (bool more = true; more && parsed;)
      if ((parsed = reader.check_next(&more, &outline, &syntax_error)) && outline) bind(*outline);
  } else {
    for (StatementPtr s; (parsed = reader.next(&s, &syntax_error)) && s;) {
      bind(*s);
      kept->push_back(std::move(s));
    }
  }
  if (!parsed) {
    errors->push_back(syntax_error);
    return false;
  }
  errors->insert(errors->end(), unbound.begin(), unbound.end());
  return unbound.empty();
}

std::string variable_name(const Param& p) { return ascii_uppered(p.name.starts_with("@") ? p.name : "@" + p.name); }

}  // namespace

void Server::Impl::run_statements(SessionState& state, Transaction& transaction, std::string_view text,
                                  std::span<const Param> params, std::vector<StatementPtr>& kept, BatchResult& result) {
  replay_now_ = replay_guid_ = 0;
  bool stop = false;
  if (text.size() <= kParseOnceBytes) {
    for (StatementPtr& s : kept) {
      run_statement(state, transaction, *s, text, params, result, &stop);
      if (stop) return;
    }
    return;
  }
  StatementReader reader(text);
  StatementPtr s;
  Error error;
  while (!stop && reader.next(&s, &error) && s) run_statement(state, transaction, *s, text, params, result, &stop);
}

BatchResult Server::Impl::execute(SessionState& state, Transaction& transaction, std::string_view text,
                                  std::span<const Param> params) {
  std::lock_guard<std::mutex> lock(mutex);
  if (Database* db = catalog.peek(state.database)) db->last_used = ++use_clock;
  BatchResult result;
  std::vector<StatementPtr> statements;
  BatchCompiler compiler(catalog, state.database);
  if (!compile(text, compiler, &statements, &result.errors)) return result;

  std::map<std::string, Value, std::less<>> saved_variables = state.variables;
  for (const Param& p : params) state.variables[variable_name(p)] = p.value;
  run_statements(state, transaction, text, params, statements, result);
  // Parameters exist for this command text only.
  for (const Param& p : params) {
    auto it = saved_variables.find(variable_name(p));
    if (it == saved_variables.end())
      state.variables.erase(variable_name(p));
    else
      state.variables[it->first] = it->second;
  }
  sync();
  return result;
}

void Server::Impl::end_session(const SessionState& state, Transaction& transaction) {
  std::lock_guard<std::mutex> lock(mutex);
  if (transaction.open()) transaction.undo.rollback();
  transaction.end();
  transactions.erase(&transaction);
  sessions.erase(&state);
}

bool Server::Impl::any_open_transaction() const {
  for (const Transaction* t : transactions)
    if (t->open()) return true;
  return false;
}

std::unique_ptr<Server> Server::in_memory() { return std::unique_ptr<Server>(new Server(std::make_unique<Impl>())); }

Server::Server(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Server::~Server() {
  try {
    checkpoint();
  } catch (...) {
  }
}

std::unique_ptr<Session> Server::connect(std::string_view database, Error* error) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  Database* db = nullptr;
  try {
    // Make room before reading a database: the upgrade moves from tenant to
    // tenant, and the one it left need not stay beside the next.
    Database* known = impl_->catalog.peek(database);
    if (known && !known->loaded) impl_->unload_idle_databases(0);
    db = impl_->catalog.find(database);
  } catch (const std::exception& e) {
    if (error) *error = Error{4060, 11, 1, 1, "Cannot open database \"" + std::string(database) + "\": " + e.what()};
    return nullptr;
  }
  if (!db) {
    if (error) {
      error->number = 4060;
      error->severity = 11;
      error->message =
          "Cannot open database \"" + std::string(database) + "\" requested by the login. The login failed.";
    }
    return nullptr;
  }
  auto impl = std::make_unique<Session::Impl>();
  impl->server = impl_.get();
  impl->state.database = db->name;
  impl_->transactions.insert(&impl->transaction);
  impl_->sessions.insert(&impl->state);
  return std::unique_ptr<Session>(new Session(std::move(impl)));
}

std::vector<std::string> Server::database_names() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  std::vector<std::string> names;
  for (const auto& d : impl_->catalog.databases) names.push_back(d->name);
  return names;
}

Session::Session(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Session::~Session() { impl_->server->end_session(impl_->state, impl_->transaction); }

BatchResult Session::execute(std::string_view command_text, std::span<const Param> params) {
  return impl_->server->execute(impl_->state, impl_->transaction, command_text, params);
}

std::string Session::current_database() const { return impl_->state.database; }

}  // namespace standin
