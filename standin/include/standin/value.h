// Values and their SQL types, as the engine stores, computes and returns them.
//
// A Value is a small tagged union: a SQL type (TypeInfo), a null flag and a
// payload. Strings are held as UTF-8; their SQL length counts characters,
// since every character of a varchar column is one byte in the server's
// Western European code page. Exact numerics are Decimal (a 128-bit
// unscaled integer and a scale), dates are DateTime (days since 1900-01-01
// and ticks of 1/300 second, SQL Server's own resolution).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin {

enum class Type : uint8_t {
  Bit,
  TinyInt,
  SmallInt,
  Int,
  BigInt,
  Decimal,  // numeric and decimal
  Money,
  Real,
  Float,
  Char,
  VarChar,
  NChar,
  NVarChar,
  Text,
  NText,
  Binary,
  VarBinary,
  Image,
  DateTime,
  SmallDateTime,
  Date,
  UniqueIdentifier,
};

// Type names that are another type under a name of their own: the catalog
// shows the name, the engine computes with the underlying type.
enum class TypeAlias : uint8_t {
  None,
  Sysname,     // nvarchar(128)
  SmallMoney,  // money with the range of a 4-byte integer
};

// A column's or an expression's type. `length` is in characters for the
// string types and in bytes for the binary types; kMax stands for (max) and
// for text, ntext and image.
struct TypeInfo {
  static constexpr int32_t kMax = -1;

  Type type = Type::Int;
  int32_t length = 0;
  uint8_t precision = 0;  // Decimal: 1..38
  uint8_t scale = 0;      // Decimal: 0..precision
  TypeAlias alias = TypeAlias::None;

  bool operator==(const TypeInfo&) const = default;

  bool is_string() const;         // char, varchar, nchar, nvarchar, text, ntext
  bool is_unicode() const;        // nchar, nvarchar, ntext
  bool is_binary() const;         // binary, varbinary, image
  bool is_integer() const;        // bit, tinyint, smallint, int, bigint
  bool is_exact_numeric() const;  // integers, decimal, money
  bool is_numeric() const;        // exact numerics, real, float
  bool is_temporal() const;       // datetime, smalldatetime, date
  bool is_lob() const;            // text, ntext, image

  // The type as SQL Server writes it: "int", "varchar(40)",
  // "numeric(19,8)", "nvarchar(max)", "text".
  std::string sql_name() const;

  // SQL Server's data-type precedence: the operand of higher precedence
  // decides the type of a mixed expression. Higher number wins.
  int precedence() const;

  static TypeInfo of(Type t);  // default length/precision for the type
  static TypeInfo varchar(int32_t n) { return {Type::VarChar, n, 0, 0}; }
  static TypeInfo nvarchar(int32_t n) { return {Type::NVarChar, n, 0, 0}; }
  static TypeInfo decimal(uint8_t p, uint8_t s) { return {Type::Decimal, 0, p, s}; }
};

// Exact decimal number: unscaled * 10^-scale, at most 38 digits.
class Decimal {
 public:
  static constexpr int kMaxPrecision = 38;

  Decimal() = default;
  Decimal(__int128 unscaled, uint8_t scale) : unscaled_(unscaled), scale_(scale) {}
  static Decimal from_int(int64_t v) { return Decimal(v, 0); }

  __int128 unscaled() const { return unscaled_; }
  uint8_t scale() const { return scale_; }
  int digits() const;  // number of decimal digits of |unscaled|, at least 1
  bool is_zero() const { return unscaled_ == 0; }
  int sign() const { return unscaled_ < 0 ? -1 : (unscaled_ > 0 ? 1 : 0); }

  // Rescales with SQL Server's rounding (half away from zero). Returns false
  // when the result would not fit into 38 digits.
  bool rescale(uint8_t new_scale, Decimal* out) const;
  double to_double() const;
  std::string to_string() const;  // "12.34000000", "-0.50", "7"

  // Parses "12.5", "-3", ".5", "1e3" is not accepted. False on bad text or
  // overflow.
  static bool parse(std::string_view text, Decimal* out);

  // Compares numerically, whatever the scales.
  friend int compare(const Decimal& a, const Decimal& b);

 private:
  __int128 unscaled_ = 0;
  uint8_t scale_ = 0;
};

// A point in time at SQL Server's datetime resolution.
struct DateTime {
  static constexpr int32_t kTicksPerSecond = 300;
  static constexpr int32_t kTicksPerDay = 86400 * kTicksPerSecond;

  int32_t days = 0;   // days since 1900-01-01 (negative before)
  int32_t ticks = 0;  // 0 .. kTicksPerDay-1, 1/300 s since midnight

  auto operator<=>(const DateTime&) const = default;

  static DateTime from_civil(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                             int millisecond = 0);
  void to_civil(int* year, int* month, int* day) const;
  void time_of_day(int* hour, int* minute, int* second, int* millisecond) const;
  // "2015-03-04 09:05:00.000"
  std::string to_string() const;
};

class Value {
 public:
  Value() : type_{Type::Int}, null_(true), n_(0) {}

  static Value null(TypeInfo type = TypeInfo{Type::Int}) {
    Value v;
    v.type_ = type;
    return v;
  }
  static Value integer(int64_t v, Type t = Type::Int);
  static Value bit(bool b) { return integer(b ? 1 : 0, Type::Bit); }
  static Value decimal(Decimal d, TypeInfo t);
  static Value decimal(Decimal d);  // precision from the digits, scale from d
  static Value money(Decimal d);    // scale 4
  static Value floating(double d, Type t = Type::Float);
  static Value string(std::string s, TypeInfo t);
  static Value varchar(std::string s);  // varchar of the string's length
  static Value nvarchar(std::string s);
  static Value datetime(DateTime d, Type t = Type::DateTime);
  static Value binary(std::string bytes, TypeInfo t);
  static Value guid(std::string canonical);  // "6F9619FF-8B86-D011-B42D-00C04FC964FF"

  bool is_null() const { return null_; }
  const TypeInfo& type() const { return type_; }

  // Payload accessors; the caller checks the type first.
  int64_t int_value() const { return static_cast<int64_t>(n_); }
  double float_value() const { return f_; }
  Decimal decimal_value() const { return Decimal(n_, type_.scale); }
  const std::string& string_value() const { return s_; }  // strings, binary, guid
  DateTime datetime_value() const { return t_; }

  // The value as text the way a client shows it: NULL as "NULL", datetime as
  // "yyyy-mm-dd hh:mi:ss.mmm", numeric with its scale, bit as 0/1, float in
  // its shortest exact form, binary as 0x hex.
  std::string to_display() const;

  // Re-types the value without converting its payload (used after a
  // conversion has produced the right payload).
  void set_type(const TypeInfo& t) { type_ = t; }

 private:
  // Kept small: rows of large tables hold many values. A Decimal's scale
  // is its type's scale, so only the unscaled integer is stored.
  TypeInfo type_;
  bool null_ = false;
  union {
    __int128 n_;  // integers, bit, decimal and money (unscaled)
    double f_;    // real, float
    DateTime t_;  // datetime, smalldatetime, date
  };
  std::string s_;  // strings (UTF-8), binary bytes, guid text
};

}  // namespace standin
