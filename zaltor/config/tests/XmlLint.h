#pragma once
// Whether a standard XML parser accepts a file: xmllint --noout, when it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zaltor::fixtures {

inline bool haveXmllint() { return std::system("command -v xmllint >/dev/null 2>&1") == 0; }

inline ::testing::AssertionResult wellFormed(const std::string &file) {
    if (std::system(("xmllint --noout '" + file + "'").c_str()) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "xmllint refuses " << file;
}

}  // namespace zaltor::fixtures
