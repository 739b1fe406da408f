#pragma once
// For the database tests: runs an action that must raise one given error.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/raised_error.h"

namespace testsupport {

// The action raises a RaisedError with this number, text and source.
inline void ExpectRaised(const std::function<void()>& action, int32_t number, const std::string& text,
                         const std::string& source = "VgerReadDLL") {
    try {
        action();
        ADD_FAILURE() << "nothing raised; expected " << number << " " << text;
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_EQ(e.Description(), text);
        EXPECT_EQ(e.Source(), source);
    }
}

}  // namespace testsupport
