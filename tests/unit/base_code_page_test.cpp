// The flags each code page's conversion from UTF-16 may carry.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/code_page.h"

namespace {

// Windows fails the whole conversion (ERROR_INVALID_FLAGS) when one of these
// code pages gets WC_NO_BEST_FIT_CHARS.
TEST(CodePageFlags, NoBestFitOnlyWhereTheSystemTakesTheFlag) {
  for (std::uint32_t cp : {42u, 50220u, 50225u, 50229u, 54936u, 57002u, 57011u, 65000u, 65001u}) {
    EXPECT_EQ(fader::CodePageConversionFlags(cp), 0u) << cp;
  }
  for (std::uint32_t cp : {437u, 932u, 936u, 1250u, 1252u, 50219u, 50230u, 57001u, 57012u}) {
    EXPECT_EQ(fader::CodePageConversionFlags(cp), fader::kNoBestFitChars) << cp;
  }
}

}  // namespace
