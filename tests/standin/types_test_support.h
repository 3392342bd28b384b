// Shorthands for the type-system tests: literals as the parser makes them,
// calls of built-in functions, and conversions under a DMY session.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "standin/standin.h"
#include "types/convert.h"
#include "types/eval_context.h"
#include "types/functions.h"

namespace standin::testing {

inline const EvalContext& dmy() {
  static const SessionSettings settings;
  static const EvalContext ctx{&settings, {}, {}};
  return ctx;
}

inline Value num(const char* text) {  // a numeric literal: 12.3401 is numeric(6,4)
  Decimal d;
  EXPECT_TRUE(Decimal::parse(text, &d)) << text;
  return Value::decimal(d);
}

inline Value str(const char* s) { return Value::varchar(s); }
inline Value i32(int64_t v) { return Value::integer(v); }

inline Value datetime(const char* text) {
  Value v;
  Error err;
  EXPECT_TRUE(cast_value(str(text), TypeInfo::of(Type::DateTime), dmy(), &v, &err)) << text << ": " << err.message;
  return v;
}

// Calls a built-in function; fails the test on an error.
inline Value call(const char* name, std::vector<Value> args) {
  const ScalarFunction* f = find_scalar_function(name);
  EXPECT_NE(f, nullptr) << name;
  Value out;
  Error err;
  if (f && !f->fn(args, dmy(), &out, &err)) ADD_FAILURE() << name << ": " << err.message;
  return out;
}

// Calls a built-in function that must fail; returns its error.
inline Error call_error(const char* name, std::vector<Value> args) {
  const ScalarFunction* f = find_scalar_function(name);
  Value out;
  Error err;
  EXPECT_FALSE(f->fn(args, dmy(), &out, &err)) << name << " gave " << out.to_display();
  return err;
}

inline Value cast(const Value& v, const TypeInfo& t, int style = -1) {
  Value out;
  Error err;
  EXPECT_TRUE(cast_value(v, t, dmy(), &out, &err, style)) << err.message;
  return out;
}

inline Error cast_error(const Value& v, const TypeInfo& t) {
  Value out;
  Error err;
  EXPECT_FALSE(cast_value(v, t, dmy(), &out, &err)) << out.to_display();
  return err;
}

}  // namespace standin::testing
