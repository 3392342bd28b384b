// Aggregates. DISTINCT keeps the values seen, keyed so that values equal
// under comparison (including strings equal under the collation) count once.
#include "types/aggregate.h"

#include <set>
#include <string>

#include "types/arith.h"
#include "types/ascii.h"
#include "types/compare.h"
#include "types/convert.h"
#include "types/decimal_math.h"
#include "types/sql_error.h"

namespace standin {

namespace {

enum class Kind { Count, CountBig, Sum, Avg, Min, Max, Unknown };

Kind kind_of(std::string_view name) {
  if (iequals(name, "COUNT")) return Kind::Count;
  if (iequals(name, "COUNT_BIG")) return Kind::CountBig;
  if (iequals(name, "SUM")) return Kind::Sum;
  if (iequals(name, "AVG")) return Kind::Avg;
  if (iequals(name, "MIN")) return Kind::Min;
  if (iequals(name, "MAX")) return Kind::Max;
  return Kind::Unknown;
}

// A key that is equal for values that compare equal within one column type.
std::string distinct_key(const Value& v) {
  const TypeInfo& t = v.type();
  if (t.is_string()) return collate_key(v.string_value());
  if (t.type == Type::Decimal || t.type == Type::Money) {
    // Normalise the scale away: 1.50 and 1.5 are one value.
    std::string s = v.decimal_value().to_string();
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    return s;
  }
  if (t.type == Type::UniqueIdentifier) return ascii_lowered(v.string_value());
  return v.to_display();
}

class DistinctFilter {
 public:
  explicit DistinctFilter(bool on) : on_(on) {}
  // True when the value is to be aggregated.
  bool admit(const Value& v) { return !on_ || seen_.insert(distinct_key(v)).second; }

 private:
  bool on_;
  std::set<std::string> seen_;
};

class CountAggregate : public Aggregate {
 public:
  CountAggregate(bool distinct, bool big) : filter_(distinct), big_(big) {}
  bool add(const Value& v, const EvalContext&, Error* err) override {
    if (v.is_null() || !filter_.admit(v)) return true;
    if (!big_ && count_ == INT32_MAX) return fail_overflow(err, "int");
    ++count_;
    return true;
  }
  Value result() const override { return Value::integer(count_, big_ ? Type::BigInt : Type::Int); }

 private:
  DistinctFilter filter_;
  bool big_;
  int64_t count_ = 0;
};

// SUM and AVG: the running sum is kept in the result type of SUM.
class SumAggregate : public Aggregate {
 public:
  SumAggregate(bool distinct, bool average, const TypeInfo& sum_type, const TypeInfo& result)
      : filter_(distinct), average_(average), sum_type_(sum_type), result_type_(result) {}

  bool add(const Value& v, const EvalContext& ctx, Error* err) override {
    if (v.is_null() || !filter_.admit(v)) return true;
    Value x;
    if (!cast_value(v, sum_type_, ctx, &x, err)) return false;
    if (count_ == 0) {
      sum_ = x;
    } else if (sum_type_.type == Type::Decimal || sum_type_.type == Type::Money) {
      // Added at the sum's own scale: the operator's result type would give
      // up decimals beyond 38 digits.
      Decimal s;
      if (!decimal_add(sum_.decimal_value(), x.decimal_value(), sum_type_.scale, &s) ||
          (sum_type_.type == Type::Money && (s.unscaled() > INT64_MAX || s.unscaled() < INT64_MIN))) {
        return fail_overflow(err, type_message_name(sum_type_.type));
      }
      sum_ = Value::decimal(s, sum_type_);
    } else {
      Value s;
      if (!arith(ArithOp::Add, sum_, x, ctx, &s, err)) return false;
      if (!cast_value(s, sum_type_, ctx, &sum_, err)) return false;
    }
    ++count_;
    return true;
  }

  Value result() const override {
    if (count_ == 0) return Value::null(result_type_);
    if (!average_) return sum_;
    const TypeInfo& t = sum_type_;
    if (t.is_integer()) {
      return Value::integer(sum_.int_value() / count_, result_type_.type);
    }
    if (t.type == Type::Decimal || t.type == Type::Money) {
      Decimal q;
      decimal_divide(sum_.decimal_value(), Decimal::from_int(count_), result_type_.scale, &q);
      return Value::decimal(q, result_type_);
    }
    return Value::floating(sum_.float_value() / static_cast<double>(count_), result_type_.type);
  }

 private:
  DistinctFilter filter_;
  bool average_;
  TypeInfo sum_type_, result_type_;
  Value sum_;
  int64_t count_ = 0;
};

class ExtremeAggregate : public Aggregate {
 public:
  ExtremeAggregate(bool max, const TypeInfo& type) : max_(max), type_(type) {}
  bool add(const Value& v, const EvalContext& ctx, Error* err) override {
    if (v.is_null()) return true;
    if (best_.is_null()) {
      best_ = v;
      return true;
    }
    int c;
    if (!compare_values(v, best_, ctx, &c, err)) return false;
    if (max_ ? c > 0 : c < 0) best_ = v;
    return true;
  }
  Value result() const override { return best_.is_null() ? Value::null(type_) : best_; }

 private:
  bool max_;
  TypeInfo type_;
  Value best_;
};

// The type SUM accumulates in.
TypeInfo sum_type(const TypeInfo& t) {
  switch (t.type) {
    case Type::Bit:
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int: return TypeInfo::of(Type::Int);
    case Type::BigInt: return TypeInfo::of(Type::BigInt);
    case Type::Decimal: return TypeInfo::decimal(Decimal::kMaxPrecision, t.scale);
    case Type::Money: return TypeInfo::of(Type::Money);
    default: return TypeInfo::of(Type::Float);
  }
}

bool summable(const TypeInfo& t) { return t.is_numeric() && t.type != Type::Bit; }

}  // namespace

bool is_aggregate_name(std::string_view name) { return kind_of(name) != Kind::Unknown; }

Error aggregate_argument_error(std::string_view name, const TypeInfo& arg_type) {
  return make_error(8117, "Operand data type " + std::string(type_message_name(arg_type.type)) + " is invalid for " +
                              ascii_lowered(name) + " operator.");
}

TypeInfo aggregate_result_type(std::string_view name, const TypeInfo& arg_type) {
  switch (kind_of(name)) {
    case Kind::Count: return TypeInfo::of(Type::Int);
    case Kind::CountBig: return TypeInfo::of(Type::BigInt);
    case Kind::Sum: return sum_type(arg_type);
    case Kind::Avg: {
      TypeInfo t = sum_type(arg_type);
      if (t.type == Type::Decimal) {
        return TypeInfo::decimal(Decimal::kMaxPrecision, std::max<uint8_t>(arg_type.scale, 6));
      }
      return t;
    }
    default: return arg_type;
  }
}

std::unique_ptr<Aggregate> make_aggregate(std::string_view name, bool distinct, const TypeInfo& arg_type) {
  Kind k = kind_of(name);
  switch (k) {
    case Kind::Count:
    case Kind::CountBig: return std::make_unique<CountAggregate>(distinct, k == Kind::CountBig);
    case Kind::Sum:
    case Kind::Avg:
      if (!summable(arg_type)) return nullptr;
      return std::make_unique<SumAggregate>(distinct, k == Kind::Avg, sum_type(arg_type),
                                            aggregate_result_type(name, arg_type));
    case Kind::Min:
    case Kind::Max: return std::make_unique<ExtremeAggregate>(k == Kind::Max, arg_type);
    default: return nullptr;
  }
}

}  // namespace standin
