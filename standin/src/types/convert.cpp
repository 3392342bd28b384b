// Conversions between the SQL types. One entry point per target family;
// cast_value (explicit) and assign_value (storing into a column) differ
// only in how they treat text that does not fit and in which source types
// they accept.
#include "types/convert.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "types/calendar.h"
#include "types/codepage.h"
#include "types/decimal_math.h"
#include "types/number_text.h"
#include "types/sql_error.h"
#include "types/utf8.h"

namespace standin {

namespace {

enum class Family { Number, String, Lob, Image, Binary, DateTime, Date, Guid };

Family family_of(const TypeInfo& t) {
  if (t.is_numeric()) return Family::Number;
  switch (t.type) {
    case Type::Char:
    case Type::VarChar:
    case Type::NChar:
    case Type::NVarChar: return Family::String;
    case Type::Text:
    case Type::NText: return Family::Lob;
    case Type::Image: return Family::Image;
    case Type::Binary:
    case Type::VarBinary: return Family::Binary;
    case Type::DateTime:
    case Type::SmallDateTime: return Family::DateTime;
    case Type::Date: return Family::Date;
    default: return Family::Guid;
  }
}

// How a conversion was asked for.
enum class Mode { Explicit, Assign };

struct Conversion {
  const EvalContext& ctx;
  Error* err;
  int style;
  Mode mode;
};

std::string type_name_of(const TypeInfo& t) {
  if (t.alias == TypeAlias::SmallMoney) return "smallmoney";
  return std::string(type_message_name(t.type));
}

// ---- to text -------------------------------------------------------------

std::string money_text(const Decimal& d, int style) {
  Decimal r;
  d.rescale(style == 2 ? 4 : 2, &r);
  std::string s = r.to_string();
  if (style != 1) return s;
  // Style 1: thousands separators.
  size_t start = s[0] == '-' ? 1 : 0, point = s.find('.');
  for (int i = static_cast<int>(point) - 3; i > static_cast<int>(start); i -= 3) s.insert(i, ",");
  return s;
}

std::string float_text(double d, int style) {
  if (style <= 0) return format_float_default(d);
  char buf[64];
  if (style == 1)
    std::snprintf(buf, sizeof buf, "%.7e", d);
  else if (style == 2)
    std::snprintf(buf, sizeof buf, "%.15e", d);
  else
    std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

std::string hex_text(const std::string& bytes, bool prefix) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s = prefix ? "0x" : "";
  for (unsigned char c : bytes) {
    s += kHex[c >> 4];
    s += kHex[c & 15];
  }
  return s;
}

// The text of a non-null value before it is fitted to a length.
bool text_of(const Value& v, const TypeInfo& target, const Conversion& c, std::string* out) {
  const TypeInfo& t = v.type();
  switch (family_of(t)) {
    case Family::Number:
      if (t.is_integer())
        *out = std::to_string(v.int_value());
      else if (t.type == Type::Money)
        *out = money_text(v.decimal_value(), c.style);
      else if (t.type == Type::Decimal)
        *out = v.decimal_value().to_string();
      else
        *out = float_text(v.float_value(), c.style);
      return true;
    case Family::DateTime:
    case Family::Date: {
      int style = c.style;
      if (style < 0 && t.type != Type::Date) style = 0;
      if (!format_datetime(v.datetime_value(), t.type, style, out)) {
        return fail(c.err, 281,
                    std::to_string(c.style) + " is not a valid style number when converting from " + type_name_of(t) +
                        " to a character string.");
      }
      return true;
    }
    case Family::Binary:
    case Family::Image:
      if (c.style == 1 || c.style == 2)
        *out = hex_text(v.string_value(), c.style == 1);
      else if (target.is_unicode())
        *out = from_utf16le_bytes(v.string_value());
      else
        *out = from_codepage_bytes(v.string_value());
      return true;
    default:
      // Only Unicode text can hold characters the code page lacks.
      *out = target.is_unicode() || !t.is_unicode() ? v.string_value() : to_codepage_text(v.string_value());
      return true;
  }
}

bool all_blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

bool to_string_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  std::string text;
  if (!text_of(v, target, c, &text)) return false;
  if (target.length != TypeInfo::kMax) {
    size_t n = static_cast<size_t>(target.length);
    size_t chars = utf8_length(text);
    if (chars > n) {
      size_t cut = utf8_prefix_bytes(text, n);
      const TypeInfo& t = v.type();
      if (c.mode == Mode::Explicit && t.is_numeric()) {
        if (t.type == Type::Decimal || t.type == Type::Money) {
          return fail(c.err, 8115,
                      "Arithmetic overflow error converting " +
                          std::string(t.type == Type::Money ? "expression" : "numeric") + " to data type " +
                          type_name_of(target) + ".");
        }
        text = "*";
      } else if (c.mode == Mode::Assign && !all_blank(std::string_view(text).substr(cut)) &&
                 c.ctx.session().ansi_warnings) {
        return fail(c.err, 8152, "String or binary data would be truncated.");
      } else {
        text.resize(cut);
      }
    }
    if (target.type == Type::Char || target.type == Type::NChar) {
      size_t chars_now = utf8_length(text);
      if (chars_now < n) text.append(n - chars_now, ' ');
    }
  }
  *out = Value::string(std::move(text), target);
  return true;
}

// ---- to numbers ----------------------------------------------------------

bool integer_in_range(int64_t v, Type t) {
  switch (t) {
    case Type::TinyInt: return v >= 0 && v <= 255;
    case Type::SmallInt: return v >= -32768 && v <= 32767;
    case Type::Int: return v >= INT32_MIN && v <= INT32_MAX;
    default: return true;
  }
}

bool string_to_integer(const Value& v, const TypeInfo& target, const Conversion& c, int64_t* n) {
  std::string_view s = v.string_value();
  if (target.type == Type::Bit) {
    std::string_view trimmed = s.substr(0, s.find_last_not_of(' ') + 1);
    if (trimmed == "true" || trimmed == "TRUE" || trimmed == "True") {
      *n = 1;
      return true;
    }
    if (trimmed == "false" || trimmed == "FALSE" || trimmed == "False") {
      *n = 0;
      return true;
    }
  }
  if (all_blank(s)) {
    *n = 0;
    return true;
  }
  bool overflow = false;
  if (parse_integer_text(s, n, &overflow) && integer_in_range(*n, target.type)) return true;
  if (overflow || parse_integer_text(s, n, &overflow)) {
    return fail(c.err, 248,
                "The conversion of the " + type_name_of(v.type()) + " value '" + std::string(s) + "' overflowed an " +
                    type_name_of(target) + " column.");
  }
  return fail(c.err, 245,
              "Conversion failed when converting the " + type_name_of(v.type()) + " value '" + std::string(s) +
                  "' to data type " + type_name_of(target) + ".");
}

bool to_integer_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  int64_t n = 0;
  const char* source_word = "expression";
  switch (family_of(t)) {
    case Family::Number:
      if (t.is_integer()) {
        n = v.int_value();
      } else if (t.type == Type::Decimal || t.type == Type::Money) {
        // Money rounds to an integer, numeric truncates.
        if (!decimal_to_int64(v.decimal_value(), t.type == Type::Money, &n)) {
          return fail_overflow(c.err, type_name_of(target));
        }
        if (t.type == Type::Decimal) source_word = "numeric";
      } else {
        double d = std::trunc(v.float_value());
        if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) {
          return fail_overflow(c.err, type_name_of(target));
        }
        n = static_cast<int64_t>(d);
      }
      break;
    case Family::String:
    case Family::Lob:
      if (!string_to_integer(v, target, c, &n)) return false;
      break;
    case Family::DateTime: {
      DateTime d = v.datetime_value();
      n = d.days + (d.ticks >= DateTime::kTicksPerDay / 2 ? 1 : 0);
      break;
    }
    case Family::Binary:
    case Family::Image: {
      const std::string& b = v.string_value();
      size_t width = static_cast<size_t>(target.length > 0 ? target.length : 8);
      size_t from = b.size() > width ? b.size() - width : 0;
      uint64_t u = 0;
      for (size_t i = from; i < b.size(); ++i) u = (u << 8) | static_cast<unsigned char>(b[i]);
      n = width == 8   ? static_cast<int64_t>(u)
          : width == 4 ? static_cast<int32_t>(u)
          : width == 2 ? static_cast<int16_t>(u)
                       : static_cast<int64_t>(u);
      break;
    }
    default:
      return fail(
          c.err, 529,
          "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) + " is not allowed.");
  }
  if (target.type == Type::Bit) {
    n = n != 0;
  } else if (!integer_in_range(n, target.type)) {
    return fail(c.err, 8115,
                "Arithmetic overflow error converting " + std::string(source_word) + " to data type " +
                    type_name_of(target) + ".");
  }
  Value r = Value::integer(n, target.type);
  r.set_type(target);
  *out = r;
  return true;
}

bool fits_money(const Decimal& d, const TypeInfo& target) {
  // money: +-922,337,203,685,477.5807; smallmoney: +-214,748.3647.
  __int128 limit = target.alias == TypeAlias::SmallMoney ? __int128{2147483647} : __int128{INT64_MAX};
  return d.unscaled() <= limit && d.unscaled() >= -limit - 1;
}

bool string_to_decimal(const Value& v, const TypeInfo& target, const Conversion& c, Decimal* d) {
  const std::string& s = v.string_value();
  if (target.type == Type::Money) {
    std::string plain;
    if (all_blank(s)) {
      *d = Decimal(0, 0);
      return true;
    }
    if (parse_money_text(s, &plain) && Decimal::parse(plain, d)) return true;
    return fail(c.err, 235,
                "Cannot convert a char value to money. The char value has "
                "incorrect syntax.");
  }
  if (Decimal::parse(s, d)) return true;
  return fail(c.err, 8114, "Error converting data type " + type_name_of(v.type()) + " to numeric.");
}

bool to_decimal_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  Decimal d;
  std::string source = "expression";
  switch (family_of(t)) {
    case Family::Number:
      if (t.is_integer()) {
        d = Decimal::from_int(v.int_value());
        source = "int";
      } else if (t.type == Type::Decimal || t.type == Type::Money) {
        d = v.decimal_value();
        source = t.type == Type::Decimal ? "numeric" : "money";
      } else if (!decimal_from_double(v.float_value(), target.scale, &d)) {
        return fail_overflow(c.err, type_name_of(target));
      } else {
        source = "float";
      }
      break;
    case Family::String:
    case Family::Lob:
      if (!string_to_decimal(v, target, c, &d)) return false;
      source = type_name_of(t);
      break;
    case Family::DateTime: {
      DateTime dt = v.datetime_value();
      Decimal frac;
      decimal_divide(Decimal(dt.ticks, 0), Decimal(DateTime::kTicksPerDay, 0), 9, &frac);
      decimal_add(Decimal(dt.days, 0), frac, 9, &d);
      break;
    }
    default:
      return fail(
          c.err, 529,
          "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) + " is not allowed.");
  }
  Decimal r;
  bool ok = d.rescale(target.scale, &r);
  if (target.type == Type::Money)
    ok = ok && fits_money(r, target);
  else
    ok = ok && decimal_fits(r, target.precision);
  if (!ok) {
    if (target.type == Type::Money) return fail_overflow(c.err, type_name_of(target));
    return fail(c.err, 8115, "Arithmetic overflow error converting " + source + " to data type numeric.");
  }
  *out = Value::decimal(r, target);
  return true;
}

bool to_float_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  double d = 0;
  switch (family_of(t)) {
    case Family::Number:
      if (t.is_integer())
        d = static_cast<double>(v.int_value());
      else if (t.type == Type::Decimal || t.type == Type::Money)
        d = v.decimal_value().to_double();
      else
        d = v.float_value();
      break;
    case Family::String:
    case Family::Lob:
      if (all_blank(v.string_value())) break;
      if (!parse_float_text(v.string_value(), &d)) {
        return fail(c.err, 8114, "Error converting data type " + type_name_of(t) + " to " + type_name_of(target) + ".");
      }
      break;
    case Family::DateTime:
      d = v.datetime_value().days + static_cast<double>(v.datetime_value().ticks) / DateTime::kTicksPerDay;
      break;
    default:
      return fail(
          c.err, 529,
          "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) + " is not allowed.");
  }
  if (target.type == Type::Real && std::fabs(d) > 3.40282346638528859811704183484516925440e+38) {
    return fail_overflow(c.err, "real");
  }
  Value r = Value::floating(d, target.type);
  *out = r;
  return true;
}

// ---- to dates ------------------------------------------------------------

bool temporal_in_range(const DateTime& d, Type target) {
  switch (target) {
    case Type::Date: return d.days >= kDateMinDays && d.days <= kMaxDays;
    case Type::SmallDateTime: return d.days >= 0 && d.days <= kSmallDateTimeMaxDays;
    default: return d.days >= kDateTimeMinDays && d.days <= kMaxDays;
  }
}

DateTime round_to_minute(DateTime d) {
  constexpr int32_t kTicksPerMinute = 60 * DateTime::kTicksPerSecond;
  d.ticks = (d.ticks + kTicksPerMinute / 2) / kTicksPerMinute * kTicksPerMinute;
  if (d.ticks >= DateTime::kTicksPerDay) {
    d.ticks -= DateTime::kTicksPerDay;
    ++d.days;
  }
  return d;
}

// Days since 1900-01-01 as a number: the fraction is the time of day.
bool datetime_from_days(long double days, DateTime* out) {
  if (!(days > -1e7L && days < 1e7L)) return false;
  long double whole = std::floor(days);
  long double ticks = std::floor((days - whole) * DateTime::kTicksPerDay + 0.5L);
  out->days = static_cast<int32_t>(whole);
  out->ticks = static_cast<int32_t>(ticks);
  if (out->ticks >= DateTime::kTicksPerDay) {
    out->ticks -= DateTime::kTicksPerDay;
    ++out->days;
  }
  return true;
}

// The date order a CONVERT style implies for text; the session's without one.
DateOrder style_order(int style, DateOrder session) {
  switch (style % 100) {
    case 1:
    case 10: return DateOrder::MDY;
    case 3:
    case 4:
    case 5:
    case 6: return DateOrder::DMY;
    case 2:
    case 11:
    case 12:
    case 20:
    case 21:
    case 23:
    case 26:
    case 27: return DateOrder::YMD;
    default: return session;
  }
}

// Exact: whole days, then the fraction of a day in ticks.
bool datetime_from_exact_days(Decimal days, DateTime* d) {
  Decimal frac, ticks;
  int64_t w = 0, k = 0;
  if (!decimal_to_int64(days, false, &w) || w <= -10000000 || w >= 10000000) return false;
  decimal_subtract(days, Decimal(w, 0), days.scale(), &frac);
  if (frac.sign() < 0) {
    --w;
    decimal_add(frac, Decimal(1, 0), frac.scale(), &frac);
  }
  decimal_multiply(frac, Decimal(DateTime::kTicksPerDay, 0), 0, &ticks);
  decimal_to_int64(ticks, true, &k);
  d->days = static_cast<int32_t>(w + k / DateTime::kTicksPerDay);
  d->ticks = static_cast<int32_t>(k % DateTime::kTicksPerDay);
  return true;
}

// The last eight bytes, days then ticks, big-endian, as datetime stores them.
bool datetime_from_binary(const std::string& b, DateTime* d) {
  auto be32 = [&b](size_t at) {
    uint32_t u = 0;
    for (size_t i = at; i < at + 4; ++i) u = (u << 8) | static_cast<unsigned char>(b[i]);
    return static_cast<int32_t>(u);
  };
  d->days = be32(b.size() - 8);
  d->ticks = be32(b.size() - 4);
  return d->ticks >= 0 && d->ticks < DateTime::kTicksPerDay;
}

bool to_temporal_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  DateTime d;
  bool ok = true;
  switch (family_of(t)) {
    case Family::String:
    case Family::Lob:
      if (!parse_datetime(v.string_value(), target.type,
                          c.style < 0 ? c.ctx.session().date_order : style_order(c.style, c.ctx.session().date_order),
                          &d, c.err, type_name_of(t))) {
        return false;
      }
      break;
    case Family::DateTime:
    case Family::Date: d = v.datetime_value(); break;
    case Family::Number:
      if (target.type == Type::Date) {
        return fail(c.err, 529, "Explicit conversion from data type " + type_name_of(t) + " to date is not allowed.");
      }
      if (t.is_integer()) {
        d.days = static_cast<int32_t>(v.int_value());
        ok = v.int_value() > -10000000 && v.int_value() < 10000000;
      } else if (t.type == Type::Decimal || t.type == Type::Money) {
        ok = datetime_from_exact_days(v.decimal_value(), &d);
      } else {
        ok = datetime_from_days(v.float_value(), &d);
      }
      break;
    case Family::Binary:
      if (v.string_value().size() < 8) return fail_overflow(c.err, type_name_of(target));
      ok = datetime_from_binary(v.string_value(), &d);
      break;
    default:
      return fail(
          c.err, 529,
          "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) + " is not allowed.");
  }
  if (target.type == Type::Date) d.ticks = 0;
  if (target.type == Type::SmallDateTime) d = round_to_minute(d);
  if (!ok || !temporal_in_range(d, target.type)) {
    if (family_of(t) == Family::DateTime || family_of(t) == Family::Date) {
      return fail(c.err, 242,
                  "The conversion of a " + type_name_of(t) + " data type to a " + type_name_of(target) +
                      " data type resulted in an out-of-range value.");
    }
    return fail_overflow(c.err, type_name_of(target));
  }
  *out = Value::datetime(d, target.type);
  return true;
}

// ---- uniqueidentifier and binary -----------------------------------------

bool is_hex(char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'); }

// 6F9619FF-8B86-D011-B42D-00C04FC964FF, optionally in braces; longer text
// is cut to its first 36 characters as SQL Server does.
bool parse_guid_text(std::string_view s, std::string* out) {
  if (!s.empty() && s[0] == '{') {
    if (s.size() < 38 || s[37] != '}') return false;
    s = s.substr(1, 36);
  }
  if (s.size() < 36) return false;
  s = s.substr(0, 36);
  std::string r(36, '-');
  for (size_t i = 0; i < 36; ++i) {
    bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? s[i] != '-' : !is_hex(s[i])) return false;
    r[i] = dash ? '-' : static_cast<char>(s[i] >= 'a' ? s[i] - 32 : s[i]);
  }
  *out = r;
  return true;
}

// The 16 bytes of a guid: the first three groups little-endian.
std::string guid_bytes(const std::string& text) {
  static const int kOrder[16] = {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34};
  std::string b;
  for (int pos : kOrder) {
    b += static_cast<char>(std::stoi(text.substr(pos, 2), nullptr, 16));
  }
  return b;
}

std::string guid_from_bytes(const std::string& b) {
  static const int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  std::string hex;
  for (int i = 0; i < 16; ++i) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X",
                  static_cast<unsigned char>(static_cast<size_t>(kOrder[i]) < b.size() ? b[kOrder[i]] : 0));
    hex += buf;
    if (i == 3 || i == 5 || i == 7 || i == 9) hex += '-';
  }
  return hex;
}

bool to_guid(const Value& v, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  std::string text;
  switch (family_of(t)) {
    case Family::Guid: *out = v; return true;
    case Family::String:
    case Family::Lob:
      if (!parse_guid_text(v.string_value(), &text)) {
        return fail(c.err, 8169,
                    "Conversion failed when converting from a character string "
                    "to uniqueidentifier.");
      }
      break;
    case Family::Binary: text = guid_from_bytes(v.string_value()); break;
    default:
      return fail(c.err, 529,
                  "Explicit conversion from data type " + type_name_of(t) + " to uniqueidentifier is not allowed.");
  }
  *out = Value::guid(std::move(text));
  return true;
}

bool to_binary_type(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  const TypeInfo& t = v.type();
  std::string bytes;
  switch (family_of(t)) {
    case Family::Binary:
    case Family::Image: bytes = v.string_value(); break;
    case Family::String:
    case Family::Lob:
      bytes = t.is_unicode() ? to_utf16le_bytes(v.string_value()) : to_codepage_bytes(v.string_value());
      break;
    case Family::Guid: bytes = guid_bytes(v.string_value()); break;
    case Family::Number: {
      if (!t.is_integer()) {
        return fail(c.err, 529,
                    "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) +
                        " is not allowed.");
      }
      int width = t.type == Type::BigInt ? 8 : t.type == Type::Int ? 4 : t.type == Type::SmallInt ? 2 : 1;
      uint64_t u = static_cast<uint64_t>(v.int_value());
      for (int i = width - 1; i >= 0; --i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
      break;
    }
    case Family::DateTime: {
      DateTime d = v.datetime_value();
      for (int32_t part : {d.days, d.ticks}) {
        uint32_t u = static_cast<uint32_t>(part);
        for (int i = 3; i >= 0; --i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
      }
      break;
    }
    default:
      return fail(
          c.err, 529,
          "Explicit conversion from data type " + type_name_of(t) + " to " + type_name_of(target) + " is not allowed.");
  }
  if (target.length != TypeInfo::kMax) {
    size_t n = static_cast<size_t>(target.length);
    if (bytes.size() > n) {
      if (c.mode == Mode::Assign && c.ctx.session().ansi_warnings) {
        return fail(c.err, 8152, "String or binary data would be truncated.");
      }
      bytes.resize(n);
    }
    if (target.type == Type::Binary && bytes.size() < n) bytes.append(n - bytes.size(), '\0');
  }
  *out = Value::binary(std::move(bytes), target);
  return true;
}

bool convert(const Value& v, const TypeInfo& target, const Conversion& c, Value* out) {
  if (v.is_null()) {
    *out = Value::null(target);
    return true;
  }
  if (v.type() == target) {
    *out = v;
    return true;
  }
  bool ok;
  switch (family_of(target)) {
    case Family::String:
    case Family::Lob: ok = to_string_type(v, target, c, out); break;
    case Family::Number:
      if (target.is_integer())
        ok = to_integer_type(v, target, c, out);
      else if (target.type == Type::Decimal || target.type == Type::Money)
        ok = to_decimal_type(v, target, c, out);
      else
        ok = to_float_type(v, target, c, out);
      break;
    case Family::DateTime:
    case Family::Date: ok = to_temporal_type(v, target, c, out); break;
    case Family::Guid: ok = to_guid(v, c, out); break;
    default: ok = to_binary_type(v, target, c, out); break;
  }
  if (ok) out->set_type(target);
  return ok;
}

bool conversion_allowed(const TypeInfo& from, const TypeInfo& to, bool implicit) {
  Family f = family_of(from), t = family_of(to);
  if (f == t) return true;
  auto either = [&](Family a, Family b) { return (f == a && t == b) || (f == b && t == a); };
  if (either(Family::Guid, Family::Number) || either(Family::Guid, Family::DateTime) ||
      either(Family::Guid, Family::Date) || either(Family::Date, Family::Number) ||
      either(Family::Date, Family::Binary) || either(Family::Guid, Family::Image)) {
    return false;
  }
  if (f == Family::Image) return t == Family::Binary;
  if (t == Family::Image) return f == Family::Binary || (!implicit && f == Family::String);
  if (t == Family::Lob) return f == Family::String || (f == Family::Binary && !implicit);
  if (f == Family::Lob) return t == Family::String;
  if (implicit) {
    if (f == Family::DateTime && t == Family::Number) return false;
    if (f == Family::String && t == Family::Binary) return false;
  }
  return true;
}

}  // namespace

std::string_view type_message_name(Type t) {
  switch (t) {
    case Type::Bit: return "bit";
    case Type::TinyInt: return "tinyint";
    case Type::SmallInt: return "smallint";
    case Type::Int: return "int";
    case Type::BigInt: return "bigint";
    case Type::Decimal: return "numeric";
    case Type::Money: return "money";
    case Type::Real: return "real";
    case Type::Float: return "float";
    case Type::Char: return "char";
    case Type::VarChar: return "varchar";
    case Type::NChar: return "nchar";
    case Type::NVarChar: return "nvarchar";
    case Type::Text: return "text";
    case Type::NText: return "ntext";
    case Type::Binary: return "binary";
    case Type::VarBinary: return "varbinary";
    case Type::Image: return "image";
    case Type::DateTime: return "datetime";
    case Type::SmallDateTime: return "smalldatetime";
    case Type::Date: return "date";
    case Type::UniqueIdentifier: return "uniqueidentifier";
  }
  return "?";
}

bool cast_value(const Value& v, const TypeInfo& target, const EvalContext& ctx, Value* out, Error* err, int style) {
  if (!v.is_null() && !explicit_conversion_allowed(v.type(), target)) {
    return fail(err, 529,
                "Explicit conversion from data type " + std::string(type_message_name(v.type().type)) + " to " +
                    std::string(type_message_name(target.type)) + " is not allowed.");
  }
  return convert(v, target, Conversion{ctx, err, style, Mode::Explicit}, out);
}

bool assign_value(const Value& v, const TypeInfo& column, const EvalContext& ctx, Value* out, Error* err) {
  if (!v.is_null() && !implicit_conversion_allowed(v.type(), column)) {
    Family f = family_of(v.type()), t = family_of(column);
    std::string from(type_message_name(v.type().type)), to(type_message_name(column.type));
    if (f == Family::Guid || t == Family::Guid || f == Family::Date || t == Family::Date) {
      return fail(err, 206, "Operand type clash: " + from + " is incompatible with " + to);
    }
    return fail(err, 257,
                "Implicit conversion from data type " + from + " to " + to +
                    " is not allowed. Use the CONVERT function to run this query.");
  }
  return convert(v, column, Conversion{ctx, err, -1, Mode::Assign}, out);
}

bool implicit_conversion_allowed(const TypeInfo& from, const TypeInfo& to) {
  return conversion_allowed(from, to, true);
}

bool explicit_conversion_allowed(const TypeInfo& from, const TypeInfo& to) {
  return conversion_allowed(from, to, false);
}

namespace {

// An exact numeric as the decimal(p, s) it converts to in mixed arithmetic.
TypeInfo as_decimal(const TypeInfo& t) {
  switch (t.type) {
    case Type::Bit: return TypeInfo::decimal(1, 0);
    case Type::TinyInt: return TypeInfo::decimal(3, 0);
    case Type::SmallInt: return TypeInfo::decimal(5, 0);
    case Type::Int: return TypeInfo::decimal(10, 0);
    case Type::BigInt: return TypeInfo::decimal(19, 0);
    case Type::Money: return TypeInfo::decimal(t.alias == TypeAlias::SmallMoney ? 10 : 19, 4);
    default: return t;
  }
}

}  // namespace

TypeInfo common_type(const TypeInfo& a, const TypeInfo& b) {
  if (a == b) return a;
  if (a.is_string() && b.is_string()) {
    const TypeInfo& hi = a.precedence() >= b.precedence() ? a : b;
    TypeInfo r = hi;
    r.alias = TypeAlias::None;
    r.length = (a.length == TypeInfo::kMax || b.length == TypeInfo::kMax) ? TypeInfo::kMax
                                                                          : (a.length > b.length ? a.length : b.length);
    return r;
  }
  if (a.type == Type::Decimal || b.type == Type::Decimal) {
    if (a.is_exact_numeric() && b.is_exact_numeric()) {
      TypeInfo da = as_decimal(a), db = as_decimal(b);
      int scale = da.scale > db.scale ? da.scale : db.scale;
      int whole = da.precision - da.scale > db.precision - db.scale ? da.precision - da.scale : db.precision - db.scale;
      int precision = whole + scale;
      if (precision > Decimal::kMaxPrecision) precision = Decimal::kMaxPrecision;
      return TypeInfo::decimal(static_cast<uint8_t>(precision), static_cast<uint8_t>(scale));
    }
  }
  const TypeInfo& hi = a.precedence() >= b.precedence() ? a : b;
  if (hi.is_string() || hi.is_binary() || hi.type == Type::Decimal) return hi;
  TypeInfo r = TypeInfo::of(hi.type);
  r.alias = hi.alias;
  if (hi.alias == TypeAlias::SmallMoney) r = hi;
  return r;
}

}  // namespace standin
