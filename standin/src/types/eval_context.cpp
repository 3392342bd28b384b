#include "types/eval_context.h"

namespace standin {

const SessionSettings& EvalContext::session() const {
  static const SessionSettings defaults;
  return settings ? *settings : defaults;
}

}  // namespace standin
