// Durability of a data directory. A statement that completed outside a
// transaction is journaled before execute() returns (one write(2), which
// survives a killed process; one fdatasync per command text). A statement
// inside a transaction is not journaled as it runs: the outermost COMMIT
// appends the transaction's statement records and then a commit record, all
// with one write(2). A checkpoint writes a snapshot of every database changed
// since its last one and empties the journal; it never runs while a
// transaction is open anywhere, so a snapshot holds committed state only.
//
// Opening verifies the snapshots, reads each database's objects when it is
// first used, and runs the journaled statements again, with the session
// settings and the values of GETDATE() and NEWID() they had. The
// records of a transaction run only when its commit record follows them; a
// group without one (cut short by a power loss) is dropped, and a checkpoint
// right after such a recovery keeps later records from following it.
//
// Records: version 1 is a statement that committed by itself; version 2 a
// statement of a transaction (with its @@TRANCOUNT); version 3 the commit
// record, with the number of statement records it commits.
#include <algorithm>
#include <functional>

#include "exec/server_impl.h"
#include "exec/table_definition.h"
#include "storage/codec.h"
#include "storage/data_directory.h"

namespace standin {

namespace {

constexpr uint8_t kStatementRecord = 1;
constexpr uint8_t kTransactionStatementRecord = 2;
constexpr uint8_t kCommitRecord = 3;
// Version 3 adds each table's CHECK constraints after its keys; version 2
// keeps a default as its own object (id, name, definition); version 1 kept
// a value and an optional name. Both are still read.
constexpr uint8_t kSnapshotVersion = 3;
constexpr uint8_t kSnapshotVersionNoChecks = 2;
constexpr uint8_t kSnapshotVersionPlainDefaults = 1;
constexpr uint64_t kCheckpointBytes = 64u << 20;
// Idle databases kept in memory after a command text: a database reached by
// name from another one is not read again for every command text. A session
// opened into an unloaded database unloads every idle one first.
constexpr size_t kWarmIdleDatabases = 1;

using storage::Reader;
using storage::Writer;

void write_datetime(Writer& w, DateTime d) {
  w.svarint(d.days);
  w.svarint(d.ticks);
}

void read_datetime(Reader& r, DateTime* d) {
  int64_t days = 0, ticks = 0;
  r.svarint(&days);
  r.svarint(&ticks);
  d->days = static_cast<int32_t>(days);
  d->ticks = static_cast<int32_t>(ticks);
}

void write_strings(Writer& w, const std::vector<std::string>& v) {
  w.varint(v.size());
  for (const auto& s : v) w.str(s);
}

void read_strings(Reader& r, std::vector<std::string>* v) {
  uint64_t n = 0;
  if (!r.varint(&n) || n > r.remaining()) {
    std::string_view rest;
    r.raw(r.remaining() + 1, &rest);  // marks the reader failed
    return;
  }
  v->resize(n);
  for (auto& s : *v) r.str(&s);
}

void write_type_spec(Writer& w, const TypeSpec& t) {
  w.str(t.name);
  w.svarint(t.arg1.value_or(-1));
  w.svarint(t.arg2.value_or(-1));
  w.u8(t.max);
}

void read_type_spec(Reader& r, TypeSpec* t) {
  int64_t a = -1, b = -1;
  uint8_t max = 0;
  r.str(&t->name);
  r.svarint(&a);
  r.svarint(&b);
  r.u8(&max);
  if (a >= 0) t->arg1 = static_cast<int>(a);
  if (b >= 0) t->arg2 = static_cast<int>(b);
  t->max = max != 0;
}

void write_column(Writer& w, const Column& c) {
  w.str(c.name);
  w.type(c.type);
  w.str(c.type_name);
  w.u8(c.nullable);
  w.u8(c.identity);
  w.svarint(c.seed);
  w.svarint(c.increment);
  w.svarint(c.column_id);
  w.u8(c.default_constraint.has_value());
  if (!c.default_constraint) return;
  const DefaultConstraint& d = *c.default_constraint;
  w.svarint(d.object_id);
  w.str(d.name);
  w.str(d.definition);
  w.value(d.value);
  w.u8(d.system_named);
}

// The key and reference flags are packed into one byte each.
void write_keys(Writer& w, const Table& t) {
  w.varint(t.indexes.size());
  for (const KeyIndex& k : t.indexes) {
    w.svarint(k.object_id);
    w.svarint(k.index_id);
    w.str(k.name);
    write_strings(w, k.columns);
    w.u8(static_cast<uint8_t>(k.primary | (k.unique << 1) | (k.clustered << 2)));
  }
  w.varint(t.foreign_keys.size());
  for (const ForeignKey& f : t.foreign_keys) {
    w.svarint(f.object_id);
    w.str(f.name);
    write_strings(w, f.columns);
    w.str(f.ref_table);
    write_strings(w, f.ref_columns);
    w.u8(static_cast<uint8_t>(f.delete_cascade | (f.update_cascade << 1) | (f.trusted << 2) | (f.disabled << 3)));
  }
}

void write_checks(Writer& w, const Table& t) {
  w.varint(t.checks.size());
  for (const CheckConstraint& k : t.checks) {
    w.svarint(k.object_id);
    w.str(k.name);
    w.str(k.definition);
    write_strings(w, k.columns);
    w.svarint(k.column_id);
    w.u8(static_cast<uint8_t>(k.trusted | (k.disabled << 1) | (k.system_named << 2)));
  }
}

void write_table(Writer& w, const Table& t) {
  w.svarint(t.object_id);
  w.str(t.name);
  write_datetime(w, t.created);
  w.svarint(t.next_column_id);
  w.svarint(t.identity_current);
  w.u8(t.identity_used);
  w.varint(t.columns.size());
  for (const Column& c : t.columns) write_column(w, c);
  write_keys(w, t);
  write_checks(w, t);
  w.varint(t.rows.size());
  for (const Row& row : t.rows)
    for (const Value& v : row) w.value(v);
}

void write_function(Writer& w, const FunctionDef& f) {
  w.svarint(f.object_id);
  w.str(f.name);
  w.varint(f.params.size());
  for (const auto& [name, spec] : f.params) {
    w.str(name);
    write_type_spec(w, spec);
  }
  w.str(f.body);
  w.str(f.source);
  write_strings(w, {});  // once EXECUTE's grantees; the grants section holds grants now
  write_datetime(w, f.created);
}

void write_view(Writer& w, const FunctionDef& v) {
  w.svarint(v.object_id);
  w.str(v.name);
  write_strings(w, v.view_columns);
  w.str(v.body);
  w.str(v.source);
  write_datetime(w, v.created);
}

// The grants section, after the views: one entry per grant, naming its
// object by id. A snapshot that ends before it has no grants.
void write_grant_entries(Writer& w, int32_t object_id, const std::vector<ObjectGrant>& grants) {
  for (const ObjectGrant& g : grants) {
    w.svarint(object_id);
    w.str(g.type);
    w.str(g.grantee);
  }
}

void write_grants(Writer& w, const Database& db) {
  size_t count = 0;
  for (const auto& t : db.tables) count += t->grants.size();
  for (const auto& f : db.functions) count += f->grants.size();
  w.varint(count);
  for (const auto& t : db.tables) write_grant_entries(w, t->object_id, t->grants);
  for (const auto& f : db.functions) write_grant_entries(w, f->object_id, f->grants);
}

std::string encode_database(const Database& db) {
  Writer w;
  w.u8(kSnapshotVersion);
  w.str(db.name);
  w.svarint(db.dbid);
  w.svarint(db.next_object_id);
  write_datetime(w, db.created);
  w.varint(db.tables.size());
  for (const auto& t : db.tables) write_table(w, *t);
  // Functions, then views: a snapshot without the views section (written
  // before views existed) reads as a database without views.
  auto is_view = [](const auto& f) { return f->view; };
  w.varint(std::count_if(db.functions.begin(), db.functions.end(), std::not_fn(is_view)));
  for (const auto& f : db.functions)
    if (!f->view) write_function(w, *f);
  w.varint(std::count_if(db.functions.begin(), db.functions.end(), is_view));
  for (const auto& v : db.functions)
    if (v->view) write_view(w, *v);
  write_grants(w, db);
  return w.take();
}

template <typename T>
void read_int(Reader& r, T* out) {
  int64_t v = 0;
  r.svarint(&v);
  *out = static_cast<T>(v);
}

bool read_flag(Reader& r) {
  uint8_t b = 0;
  r.u8(&b);
  return b != 0;
}

// A count read before its items: each item takes at least one byte, so a
// count above the bytes left is damage, not a reason to allocate.
bool read_count(Reader& r, uint64_t* n) { return r.varint(n) && *n <= r.remaining(); }

void read_column(Reader& r, Column* c, uint8_t version) {
  r.str(&c->name);
  r.type(&c->type);
  r.str(&c->type_name);
  c->nullable = read_flag(r);
  c->identity = read_flag(r);
  read_int(r, &c->seed);
  read_int(r, &c->increment);
  read_int(r, &c->column_id);
  if (!read_flag(r)) {
    std::string unused_name;
    if (version == kSnapshotVersionPlainDefaults) r.str(&unused_name);
    return;
  }
  DefaultConstraint& d = c->default_constraint.emplace();
  if (version == kSnapshotVersionPlainDefaults) {
    r.value(&d.value);
    r.str(&d.name);  // empty when unnamed: named once the table is read
    d.definition = value_definition(d.value);
    return;
  }
  read_int(r, &d.object_id);
  r.str(&d.name);
  r.str(&d.definition);
  r.value(&d.value);
  d.system_named = read_flag(r);
}

// A version 1 default becomes an object: an id, and the generated name
// when it had none.
void name_plain_defaults(Database* db, Table* t) {
  for (Column& c : t->columns) {
    if (!c.default_constraint || c.default_constraint->object_id != 0) continue;
    DefaultConstraint& d = *c.default_constraint;
    d.object_id = db->allocate_object_id();
    d.system_named = d.name.empty();
    if (d.system_named) d.name = generated_constraint_name("DF", *t, &c, d.object_id);
  }
}

bool read_keys(Reader& r, Table* t) {
  uint64_t n = 0;
  uint8_t b = 0;
  if (!read_count(r, &n)) return false;
  t->indexes.resize(n);
  for (KeyIndex& k : t->indexes) {
    read_int(r, &k.object_id);
    read_int(r, &k.index_id);
    r.str(&k.name);
    read_strings(r, &k.columns);
    r.u8(&b);
    k.primary = b & 1;
    k.unique = b & 2;
    k.clustered = b & 4;
  }
  if (!read_count(r, &n)) return false;
  t->foreign_keys.resize(n);
  for (ForeignKey& f : t->foreign_keys) {
    read_int(r, &f.object_id);
    r.str(&f.name);
    read_strings(r, &f.columns);
    r.str(&f.ref_table);
    read_strings(r, &f.ref_columns);
    r.u8(&b);
    f.delete_cascade = b & 1;
    f.update_cascade = b & 2;
    f.trusted = b & 4;
    f.disabled = b & 8;  // never set before version 3
  }
  return true;
}

bool read_checks(Reader& r, Table* t) {
  uint64_t n = 0;
  uint8_t b = 0;
  if (!read_count(r, &n)) return false;
  t->checks.resize(n);
  for (CheckConstraint& k : t->checks) {
    read_int(r, &k.object_id);
    r.str(&k.name);
    r.str(&k.definition);
    read_strings(r, &k.columns);
    read_int(r, &k.column_id);
    r.u8(&b);
    k.trusted = b & 1;
    k.disabled = b & 2;
    k.system_named = b & 4;
  }
  return r.ok();
}

bool read_table(Reader& r, Table* t, uint8_t version) {
  read_int(r, &t->object_id);
  r.str(&t->name);
  read_datetime(r, &t->created);
  read_int(r, &t->next_column_id);
  read_int(r, &t->identity_current);
  t->identity_used = read_flag(r);
  uint64_t ncols = 0;
  if (!read_count(r, &ncols)) return false;
  t->columns.resize(ncols);
  for (Column& c : t->columns) read_column(r, &c, version);
  if (!read_keys(r, t)) return false;
  if (version > kSnapshotVersionNoChecks && !read_checks(r, t)) return false;
  uint64_t nrows = 0;
  if (!read_count(r, &nrows)) return false;
  t->rows.resize(nrows);
  for (Row& row : t->rows) {
    row.resize(ncols);
    for (Value& v : row) r.value(&v);
    if (!r.ok()) return false;
  }
  return true;
}

bool read_function(Reader& r, FunctionDef* f) {
  read_int(r, &f->object_id);
  r.str(&f->name);
  uint64_t np = 0;
  if (!read_count(r, &np)) return false;
  f->params.resize(np);
  for (auto& [name, spec] : f->params) {
    r.str(&name);
    read_type_spec(r, &spec);
  }
  r.str(&f->body);
  r.str(&f->source);
  // EXECUTE's grantees, which older snapshots kept here: an inline function
  // has no EXECUTE permission, so they are read and left.
  std::vector<std::string> execute_grantees;
  read_strings(r, &execute_grantees);
  read_datetime(r, &f->created);
  return true;
}

void read_view(Reader& r, FunctionDef* v) {
  v->view = true;
  read_int(r, &v->object_id);
  r.str(&v->name);
  read_strings(r, &v->view_columns);
  r.str(&v->body);
  r.str(&v->source);
  read_datetime(r, &v->created);
}

// Name, id and creation date: what the server shows of a database that is
// not loaded.
bool decode_database_header(Reader& r, Database* db, uint8_t* version_read = nullptr) {
  uint8_t version = 0;
  if (!r.u8(&version) || version < kSnapshotVersionPlainDefaults || version > kSnapshotVersion) return false;
  if (version_read) *version_read = version;
  r.str(&db->name);
  read_int(r, &db->dbid);
  read_int(r, &db->next_object_id);
  read_datetime(r, &db->created);
  return r.ok();
}

std::vector<ObjectGrant>* grants_of(Database* db, int32_t object_id) {
  for (auto& t : db->tables)
    if (t->object_id == object_id) return &t->grants;
  for (auto& f : db->functions)
    if (f->object_id == object_id) return &f->grants;
  return nullptr;
}

bool read_grants(Reader& r, Database* db) {
  uint64_t ngrants = 0;
  if (!read_count(r, &ngrants)) return false;
  for (uint64_t i = 0; i < ngrants && r.ok(); ++i) {
    int32_t object_id = 0;
    ObjectGrant g;
    read_int(r, &object_id);
    r.str(&g.type);
    r.str(&g.grantee);
    std::vector<ObjectGrant>* grants = grants_of(db, object_id);
    if (!grants) return false;  // a grant on no object is damage
    grants->push_back(std::move(g));
  }
  return r.ok();
}

bool decode_database(std::string_view payload, Database* db) {
  Reader r(payload);
  uint8_t version = 0;
  if (!decode_database_header(r, db, &version)) return false;
  uint64_t ntables = 0;
  if (!read_count(r, &ntables)) return false;
  for (uint64_t i = 0; i < ntables && r.ok(); ++i) {
    auto t = std::make_unique<Table>();
    if (!read_table(r, t.get(), version)) return false;
    if (version == kSnapshotVersionPlainDefaults) name_plain_defaults(db, t.get());
    db->tables.push_back(std::move(t));
  }
  uint64_t nfunctions = 0;
  if (!read_count(r, &nfunctions)) return false;
  for (uint64_t i = 0; i < nfunctions && r.ok(); ++i) {
    auto f = std::make_unique<FunctionDef>();
    if (!read_function(r, f.get())) return false;
    db->functions.push_back(std::move(f));
  }
  uint64_t nviews = 0;
  if (!r.at_end() && !read_count(r, &nviews)) return false;
  for (uint64_t i = 0; i < nviews && r.ok(); ++i) {
    auto v = std::make_unique<FunctionDef>();
    read_view(r, v.get());
    db->functions.push_back(std::move(v));
  }
  if (!r.at_end() && !read_grants(r, db)) return false;
  return r.at_end();
}

void load_database(storage::DataDirectory& directory, Database& db) {
  Database loaded;
  if (!decode_database(directory.read_snapshot(db.name), &loaded))
    throw OpenError("snapshot of database '" + db.name + "' in " + directory.path().string() + " cannot be read");
  db.tables = std::move(loaded.tables);
  db.functions = std::move(loaded.functions);
  db.next_object_id = loaded.next_object_id;
}

}  // namespace

Server::Impl::~Impl() = default;

void Server::Impl::committed(const SessionState& before, Transaction& transaction, std::string_view statement_text,
                             const Statement& s, const Capture& capture, std::span<const Param> params) {
  if (!directory || replaying) return;
  switch (s.kind) {
    case StatementKind::Select:
    case StatementKind::SetOption:
    case StatementKind::SetIdentityInsert:
    case StatementKind::Use:
    case StatementKind::Print:
    case StatementKind::Declare:
    case StatementKind::BeginTransaction:
    case StatementKind::CommitTransaction:
    case StatementKind::RollbackTransaction: return;
    default: break;
  }
  Writer w;
  if (transaction.open()) {
    w.u8(kTransactionStatementRecord);
    w.varint(static_cast<uint64_t>(transaction.count));
  } else {
    w.u8(kStatementRecord);
  }
  w.str(before.database);
  w.u8(static_cast<uint8_t>(before.settings.date_order));
  w.u8(before.settings.ansi_warnings);
  w.u8(before.identity_insert.has_value());
  if (before.identity_insert) {
    w.str(before.identity_insert->first);
    w.str(before.identity_insert->second);
  }
  w.varint(params.size());
  for (const Param& p : params) {
    w.str(p.name);
    w.value(p.value);
  }
  w.varint(capture.now.size());
  for (DateTime d : capture.now) write_datetime(w, d);
  write_strings(w, capture.guids);
  w.str(statement_text);
  if (transaction.open())
    transaction.records.push_back(w.take());
  else
    directory->append_journal(w.bytes());
}

void Server::Impl::commit_transaction(Transaction& transaction) {
  if (!directory || replaying || transaction.records.empty()) return;
  Writer w;
  w.u8(kCommitRecord);
  w.varint(transaction.records.size());
  transaction.records.push_back(w.take());
  directory->append_journal_group(transaction.records);
}

void Server::Impl::sync() {
  if (!directory || replaying) return;
  directory->sync_journal();
  if (directory->journal_bytes() > kCheckpointBytes) checkpoint_locked();
  unload_idle_databases(kWarmIdleDatabases);
}

bool Server::Impl::checkpoint_locked() {
  if (!directory || any_open_transaction()) return false;
  // Nothing journaled since the last checkpoint: its snapshots still hold
  // every database as it is (a change rolled back leaves nothing behind). A
  // reader that opens and closes a directory writes nothing.
  if (directory->journal_bytes() == 0) {
    std::vector<std::string> names = directory->snapshot_names();
    for (const auto& db : catalog.databases)
      db->saved = db->saved || std::find(names.begin(), names.end(), db->name) != names.end();
    return true;
  }
  // A database that is unloaded, or unchanged since its snapshot, keeps the
  // snapshot it has.
  std::vector<Database*> written;
  for (const auto& db : catalog.databases) {
    if (!db->loaded || db->saved) continue;
    directory->write_snapshot(db->name, encode_database(*db));
    written.push_back(db.get());
  }
  for (const std::string& name : directory->snapshot_names()) {
    bool alive = std::any_of(catalog.databases.begin(), catalog.databases.end(),
                             [&](const auto& db) { return db->name == name; });
    if (!alive) directory->remove_snapshot(name);
  }
  directory->reset_journal();
  for (Database* db : written) db->saved = true;
  return true;
}

// Keeps the databases that sessions are in, and the `warm` ones used last
// besides them, in memory; the others are unloaded once their snapshots hold
// them.
void Server::Impl::unload_idle_databases(size_t warm) {
  if (!directory || replaying || any_open_transaction()) return;
  std::vector<Database*> idle;
  for (const auto& db : catalog.databases) {
    bool in_use = std::any_of(sessions.begin(), sessions.end(),
                              [&](const SessionState* s) { return names_equal(s->database, db->name); });
    if (db->loaded && !in_use) idle.push_back(db.get());
  }
  if (idle.size() <= warm) return;
  std::sort(idle.begin(), idle.end(), [](const Database* a, const Database* b) { return a->last_used > b->last_used; });
  idle.erase(idle.begin(), idle.begin() + static_cast<std::ptrdiff_t>(warm));
  bool unsaved = std::any_of(idle.begin(), idle.end(), [](const Database* db) { return !db->saved; });
  if (unsaved && !checkpoint_locked()) return;
  for (Database* db : idle)
    if (db->saved) db->unload();
}

void Server::checkpoint() {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->checkpoint_locked();
}

namespace {

// A journaled statement with the session state it ran under.
struct StatementRecord {
  int trancount = 0;
  SessionState state;
  std::vector<Param> params;
  Capture capture;
  std::string text;
};

StatementRecord decode_statement(Reader& r, bool in_transaction, const std::filesystem::path& dir) {
  StatementRecord rec;
  uint8_t order = 0, warnings = 0, has_ii = 0;
  if (in_transaction) {
    uint64_t count = 0;
    r.varint(&count);
    rec.trancount = static_cast<int>(std::min<uint64_t>(count, 1u << 20));
  }
  r.str(&rec.state.database);
  r.u8(&order);
  r.u8(&warnings);
  rec.state.settings.date_order = static_cast<DateOrder>(order);
  rec.state.settings.ansi_warnings = warnings != 0;
  r.u8(&has_ii);
  if (has_ii) {
    std::pair<std::string, std::string> ii;
    r.str(&ii.first);
    r.str(&ii.second);
    rec.state.identity_insert = ii;
  }
  uint64_t nparams = 0;
  r.varint(&nparams);
  rec.params.resize(r.ok() && nparams <= r.remaining() ? nparams : 0);
  for (Param& p : rec.params) {
    r.str(&p.name);
    r.value(&p.value);
  }
  uint64_t nnow = 0;
  r.varint(&nnow);
  rec.capture.now.resize(r.ok() && nnow <= r.remaining() ? nnow : 0);
  for (DateTime& d : rec.capture.now) read_datetime(r, &d);
  read_strings(r, &rec.capture.guids);
  r.str(&rec.text);
  if (!r.at_end()) throw OpenError("journal in " + dir.string() + " holds a record that cannot be read");
  return rec;
}

void replay(Server::Impl& impl, StatementRecord& rec) {
  Transaction transaction;
  transaction.count = rec.trancount;  // so that @@TRANCOUNT reads as it did
  impl.replay_capture = &rec.capture;
  impl.execute(rec.state, transaction, rec.text, rec.params);
  impl.replay_capture = nullptr;
  transaction.end();
}

// Runs the journal's statements again; a transaction's statements only once
// its commit record is read. Returns false when a transaction's records
// without their commit record end the journal.
bool replay_journal(Server::Impl& impl, const std::vector<std::string>& records, const std::filesystem::path& dir) {
  std::vector<StatementRecord> pending;
  for (const std::string& record : records) {
    Reader r(record);
    uint8_t version = 0;
    r.u8(&version);
    if (version == kCommitRecord) {
      uint64_t count = 0;
      if (!r.varint(&count) || !r.at_end() || count != pending.size())
        throw OpenError("journal in " + dir.string() + " holds a commit record that does not match its transaction");
      for (StatementRecord& rec : pending) replay(impl, rec);
      pending.clear();
    } else if (version == kTransactionStatementRecord) {
      pending.push_back(decode_statement(r, true, dir));
    } else if (version == kStatementRecord) {
      if (!pending.empty())
        throw OpenError("journal in " + dir.string() +
                        " holds a transaction without its commit record before other records");
      StatementRecord rec = decode_statement(r, false, dir);
      replay(impl, rec);
    } else {
      throw OpenError("journal in " + dir.string() + " has an unknown record version");
    }
  }
  return pending.empty();
}

}  // namespace

std::unique_ptr<Server> Server::open(const std::filesystem::path& dir, OpenMode mode) {
  auto impl = std::make_unique<Impl>();
  impl->directory = storage::DataDirectory::open(dir, mode);
  std::vector<std::string> names = impl->directory->snapshot_names();
  if (!names.empty()) impl->catalog.databases.clear();
  // Every snapshot is verified now, so that a damaged one refuses the
  // directory; its objects are read when the database is first used.
  for (const std::string& name : names) {
    std::string payload = impl->directory->read_snapshot(name);
    Reader header(payload);
    auto db = std::make_unique<Database>();
    if (!decode_database_header(header, db.get()))
      throw OpenError("snapshot of database '" + name + "' in " + dir.string() + " cannot be read");
    db->loaded = false;
    db->saved = true;
    impl->catalog.next_dbid = std::max(impl->catalog.next_dbid, db->dbid + 1);
    impl->catalog.databases.push_back(std::move(db));
  }
  impl->catalog.load = [directory = impl->directory.get()](Database& db) { load_database(*directory, db); };
  // Replay the statements committed since the last checkpoint.
  impl->replaying = true;
  bool complete = replay_journal(*impl, impl->directory->read_journal(), dir);
  impl->replaying = false;
  // Records appended behind an uncommitted group would look like part of it.
  if (!complete) impl->checkpoint_locked();
  return std::unique_ptr<Server>(new Server(std::move(impl)));
}

}  // namespace standin
