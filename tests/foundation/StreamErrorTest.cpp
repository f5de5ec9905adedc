#include "foundation/StreamError.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(StreamError, WhatGivesTheMessageInUtf8)
{
    const QString message = QString::fromUtf8("Property Gr\xc3\xb6\xc3\x9f" "e does not exist");
    try {
        throw EStreamError(message);
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Property Gr\xc3\xb6\xc3\x9f" "e does not exist");
        EXPECT_EQ(dynamic_cast<const EStreamError&>(error).Message(), message);
    }
}
