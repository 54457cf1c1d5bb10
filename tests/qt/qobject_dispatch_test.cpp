#include "qt/qobject_dispatch.h"

#include <gtest/gtest.h>

namespace quelo::qt {
namespace {
TEST(QObjectDispatch, Placeholder) { EXPECT_TRUE(true); }
}
}  // namespace quelo::qt
