#include "shell/messages.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(MessageCatalogue, Placeholder) { EXPECT_EQ(MessageText(1115), "E&xit"); }

} // namespace
} // namespace r470
