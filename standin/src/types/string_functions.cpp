// String functions. Positions and lengths count characters; matching in
// REPLACE and CHARINDEX follows the collation (case-insensitive).
#include <string>
#include <vector>

#include "types/collation.h"
#include "types/convert.h"
#include "types/function_families.h"
#include "types/sql_error.h"
#include "types/utf8.h"

namespace standin {

namespace {

// A non-string argument is converted to varchar first, as SQL Server does.
bool text_arg(const Value& v, const EvalContext& ctx, std::string* out, TypeInfo* type, Error* err) {
  if (v.type().is_string()) {
    *out = v.string_value();
    *type = v.type();
    return true;
  }
  Value s;
  if (!cast_value(v, TypeInfo::varchar(8000), ctx, &s, err)) return false;
  *out = s.string_value();
  *type = TypeInfo::varchar(static_cast<int32_t>(utf8_length(*out)) > 0 ? static_cast<int32_t>(utf8_length(*out)) : 1);
  return true;
}

bool int_arg(const Value& v, const EvalContext& ctx, int64_t* out, Error* err) {
  if (v.type().is_integer()) {
    *out = v.int_value();
    return true;
  }
  Value i;
  if (!cast_value(v, TypeInfo::of(Type::BigInt), ctx, &i, err)) return false;
  *out = i.int_value();
  return true;
}

// The result type of a function returning (part of) its string argument.
TypeInfo varying(const TypeInfo& t) {
  TypeInfo r = t;
  r.alias = TypeAlias::None;
  if (t.type == Type::Char) r.type = Type::VarChar;
  if (t.type == Type::NChar) r.type = Type::NVarChar;
  if (t.type == Type::Text) r = TypeInfo::varchar(TypeInfo::kMax);
  if (t.type == Type::NText) r = TypeInfo::nvarchar(TypeInfo::kMax);
  return r;
}

char32_t to_upper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0x161 || c == 0x17E || c == 0x153) return c - 1;
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

char32_t to_lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c == 0x160 || c == 0x17D || c == 0x152) return c + 1;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

template <char32_t (*Map)(char32_t)>
bool map_case(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (null_argument(args, varying(args[0].type()), out)) return true;
  std::string s;
  TypeInfo t;
  if (!text_arg(args[0], ctx, &s, &t, err)) return false;
  std::string r;
  r.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) utf8_append(&r, Map(utf8_next(s, &pos)));
  *out = Value::string(std::move(r), varying(t));
  return true;
}

// Character positions of a UTF-8 string: offsets[i] is the byte offset of
// character i, offsets.back() the size.
std::vector<size_t> char_offsets(const std::string& s) {
  std::vector<size_t> offsets;
  offsets.reserve(s.size() + 1);
  size_t pos = 0;
  while (pos < s.size()) {
    offsets.push_back(pos);
    utf8_next(s, &pos);
  }
  offsets.push_back(s.size());
  return offsets;
}

std::string substring_chars(const std::string& s, int64_t from, int64_t count) {
  // from is 0-based and may be negative; characters before 0 do not exist.
  int64_t end = from + count;
  if (from < 0) from = 0;
  size_t begin_byte = utf8_prefix_bytes(s, static_cast<size_t>(from));
  if (end <= from) return "";
  size_t end_byte =
      begin_byte + utf8_prefix_bytes(std::string_view(s).substr(begin_byte), static_cast<size_t>(end - from));
  return s.substr(begin_byte, end_byte - begin_byte);
}

bool fn_substring(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (null_argument(args, varying(args[0].type()), out)) return true;
  std::string s;
  TypeInfo t;
  int64_t start, length;
  if (!text_arg(args[0], ctx, &s, &t, err) || !int_arg(args[1], ctx, &start, err) ||
      !int_arg(args[2], ctx, &length, err)) {
    return false;
  }
  if (length < 0) return fail(err, 536, "Invalid length parameter passed to the substring function.");
  *out = Value::string(substring_chars(s, start - 1, length), varying(t));
  return true;
}

bool left_or_right(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err, bool left) {
  if (null_argument(args, varying(args[0].type()), out)) return true;
  std::string s;
  TypeInfo t;
  int64_t n;
  if (!text_arg(args[0], ctx, &s, &t, err) || !int_arg(args[1], ctx, &n, err)) return false;
  if (n < 0) {
    return fail(err, 536,
                std::string("Invalid length parameter passed to the ") + (left ? "left" : "right") + " function.");
  }
  int64_t chars = static_cast<int64_t>(utf8_length(s));
  std::string r = left ? substring_chars(s, 0, n) : substring_chars(s, chars - n, n);
  *out = Value::string(std::move(r), varying(t));
  return true;
}

bool fn_left(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  return left_or_right(args, ctx, out, err, true);
}

bool fn_right(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  return left_or_right(args, ctx, out, err, false);
}

bool fn_len(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  bool big = args[0].type().length == TypeInfo::kMax;
  Type rt = big ? Type::BigInt : Type::Int;
  if (null_argument(args, TypeInfo::of(rt), out)) return true;
  std::string s;
  TypeInfo t;
  if (!text_arg(args[0], ctx, &s, &t, err)) return false;
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  *out = Value::integer(static_cast<int64_t>(utf8_length(std::string_view(s).substr(0, n))), rt);
  return true;
}

// Bytes a value of a fixed-size type occupies (the storage sizes of the
// data-type pages); 0 for the variable-size types.
int64_t fixed_storage_bytes(const TypeInfo& t) {
  switch (t.type) {
    case Type::Bit:
    case Type::TinyInt: return 1;
    case Type::SmallInt: return 2;
    case Type::Int:
    case Type::Real:
    case Type::SmallDateTime: return 4;
    case Type::BigInt:
    case Type::Float:
    case Type::DateTime: return 8;
    case Type::Money: return t.alias == TypeAlias::SmallMoney ? 4 : 8;
    case Type::Date: return 3;
    case Type::UniqueIdentifier: return 16;
    case Type::Decimal: return t.precision <= 9 ? 5 : t.precision <= 19 ? 9 : t.precision <= 28 ? 13 : 17;
    default: return 0;
  }
}

// DATALENGTH: the bytes stored, trailing blanks included; two per UTF-16
// code unit for the Unicode types, one per character in the single-byte code
// page of the others.
bool fn_datalength(std::span<const Value> args, const EvalContext&, Value* out, Error*) {
  const TypeInfo& t = args[0].type();
  Type rt = t.length == TypeInfo::kMax || t.is_lob() ? Type::BigInt : Type::Int;
  if (null_argument(args, TypeInfo::of(rt), out)) return true;
  const std::string& s = args[0].string_value();
  int64_t bytes = fixed_storage_bytes(t);
  if (t.is_binary()) {
    bytes = static_cast<int64_t>(s.size());
  } else if (t.is_string()) {
    int64_t units = 0;
    for (size_t pos = 0; pos < s.size();) units += utf8_next(s, &pos) > 0xFFFF ? 2 : 1;
    bytes = t.is_unicode() ? 2 * units : units;
  }
  *out = Value::integer(bytes, rt);
  return true;
}

bool trim(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err, bool leading) {
  if (null_argument(args, varying(args[0].type()), out)) return true;
  std::string s;
  TypeInfo t;
  if (!text_arg(args[0], ctx, &s, &t, err)) return false;
  if (leading) {
    s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
  } else {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    s.resize(n);
  }
  *out = Value::string(std::move(s), varying(t));
  return true;
}

bool fn_ltrim(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  return trim(args, ctx, out, err, true);
}

bool fn_rtrim(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  return trim(args, ctx, out, err, false);
}

std::vector<CharFold> folds(const std::string& s) {
  std::vector<CharFold> f;
  size_t pos = 0;
  while (pos < s.size()) f.push_back(fold_char(utf8_next(s, &pos)));
  return f;
}

// Index (in characters) of the first occurrence of `needle` in `hay` at or
// after character `from`, under the collation; -1 when absent.
int64_t find_folded(const std::vector<CharFold>& hay, const std::vector<CharFold>& needle, size_t from) {
  if (needle.empty() || needle.size() > hay.size()) return -1;
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && hay[i + k] == needle[k]) ++k;
    if (k == needle.size()) return static_cast<int64_t>(i);
  }
  return -1;
}

bool fn_replace(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  TypeInfo rt = varying(args[0].type());
  if (rt.length != TypeInfo::kMax) rt.length = rt.is_unicode() ? 4000 : 8000;
  if (null_argument(args, rt, out)) return true;
  std::string s, find, repl;
  TypeInfo t;
  if (!text_arg(args[0], ctx, &s, &t, err) || !text_arg(args[1], ctx, &find, &t, err) ||
      !text_arg(args[2], ctx, &repl, &t, err)) {
    return false;
  }
  std::vector<CharFold> hay = folds(s), needle = folds(find);
  std::vector<size_t> offsets = char_offsets(s);
  std::string r;
  size_t i = 0;
  for (int64_t at = find_folded(hay, needle, 0); at >= 0; at = find_folded(hay, needle, i)) {
    r.append(s, offsets[i], offsets[static_cast<size_t>(at)] - offsets[i]);
    r += repl;
    i = static_cast<size_t>(at) + needle.size();
  }
  r.append(s, offsets[i], std::string::npos);
  *out = Value::string(std::move(r), rt);
  return true;
}

bool fn_charindex(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (null_argument(args, TypeInfo::of(Type::Int), out)) return true;
  std::string find, s;
  TypeInfo t;
  int64_t start = 1;
  if (!text_arg(args[0], ctx, &find, &t, err) || !text_arg(args[1], ctx, &s, &t, err)) return false;
  if (args.size() > 2 && !int_arg(args[2], ctx, &start, err)) return false;
  if (start < 1) start = 1;
  int64_t at = find_folded(folds(s), folds(find), static_cast<size_t>(start - 1));
  *out = Value::integer(at < 0 ? 0 : at + 1);
  return true;
}

constexpr ScalarFunction kStringFunctions[] = {
    {"UPPER", 1, 1, map_case<to_upper>}, {"LOWER", 1, 1, map_case<to_lower>},
    {"SUBSTRING", 3, 3, fn_substring},   {"LEN", 1, 1, fn_len},
    {"LTRIM", 1, 1, fn_ltrim},           {"RTRIM", 1, 1, fn_rtrim},
    {"REPLACE", 3, 3, fn_replace},       {"LEFT", 2, 2, fn_left},
    {"RIGHT", 2, 2, fn_right},           {"CHARINDEX", 2, 3, fn_charindex},
    {"DATALENGTH", 1, 1, fn_datalength},
};

}  // namespace

std::span<const ScalarFunction> string_functions() { return kStringFunctions; }

}  // namespace standin
