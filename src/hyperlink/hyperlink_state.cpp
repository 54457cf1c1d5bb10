#include "hyperlink/hyperlink_state.h"

namespace quelo {

HyperlinkState& hyperlinkState() {
  thread_local HyperlinkState state;
  return state;
}

}  // namespace quelo
