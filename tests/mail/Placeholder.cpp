#include "mail/MailResult.h"
#include <gtest/gtest.h>
TEST(Placeholder, Builds) {}
