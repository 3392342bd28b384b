// The pool that parse trees take their expressions from: blocks are
// distinct while in use, come back after being freed, and a freed one is
// still guarded by AddressSanitizer in the test build.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "parser/ast.h"

#if defined(__SANITIZE_ADDRESS__)
#define STANDIN_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STANDIN_TEST_ASAN 1
#endif
#endif

namespace standin {
namespace {

TEST(ExprPool, BlocksAreDistinctAcrossSlabsAndReusedAfterFree) {
  // More than one slab's worth, each filled in full.
  std::vector<std::unique_ptr<Expr>> live;
  std::set<const Expr*> addresses;
  for (int i = 0; i < 3000; ++i) {
    live.push_back(std::make_unique<Expr>());
    live.back()->op = "op" + std::to_string(i);
    live.back()->value = Value::integer(i);
    addresses.insert(live.back().get());
  }
  EXPECT_EQ(addresses.size(), live.size());
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(live[static_cast<size_t>(i)]->op, "op" + std::to_string(i));
    ASSERT_EQ(live[static_cast<size_t>(i)]->value.int_value(), i);
  }
  const Expr* freed = live.back().get();
  live.pop_back();
  auto again = std::make_unique<Expr>();
  EXPECT_EQ(again.get(), freed) << "the last block freed is the next one taken";
  EXPECT_EQ(again->op, "") << "a reused block is a freshly constructed expression";
}

#if STANDIN_TEST_ASAN
TEST(ExprPoolDeathTest, UseOfAFreedExpressionIsReported) {
  EXPECT_DEATH(
      {
        Expr* e = new Expr();
        delete e;
        volatile int line = static_cast<int>(e->line);
        (void)line;
      },
      "use-after-poison");
}
#endif

}  // namespace
}  // namespace standin
