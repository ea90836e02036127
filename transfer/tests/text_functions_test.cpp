#include "transfer/base64.h"
#include "transfer/formats.h"
#include "transfer/url_functions.h"

#include <gtest/gtest.h>

using namespace lanterna;

TEST(Formats, SizeThresholdsAndRounding) {
    EXPECT_EQ(SizeText(999), "999 bytes");
    EXPECT_EQ(SizeText(1000), "1.00 Kb");
}
