#pragma once

// A small harness for the Windows executables, which have no Qt: each TEST
// registers a function; CHECK records a failure with its place and goes on.
// TestMain.cpp runs them all and prints "N passed, M failed".

#include "automation/Object.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace harness {

inline std::vector<std::pair<const char *, void (*)()>> tests;
inline int failures = 0;
inline std::string row; // the table row being checked, named in failures

inline void fail(const char *file, int line, const std::string &what)
{
    ++failures;
    std::printf("  FAIL %s:%d %s %s\n", file, line, what.c_str(), row.c_str());
}

template <typename T>
std::string show(const T &value)
{
    std::ostringstream out;
    if constexpr (requires { out << value; })
        out << value;
    return out.str();
}

// The failure that body raises, or one with no member and code 0.
template <typename Body>
automation::Failure failureOf(Body body)
{
    try {
        body();
    } catch (const automation::Failure &failure) {
        return failure;
    }
    return automation::Failure("", "no failure", 0);
}

} // namespace harness

#define TEST(name)                                                                          \
    static void name();                                                                     \
    static const bool name##_registered = (harness::tests.emplace_back(#name, name), true); \
    static void name()

#define CHECK(condition) ((condition) ? void() : harness::fail(__FILE__, __LINE__, "CHECK(" #condition ")"))

#define CHECK_EQ(actual, expected)                                                                                    \
    do {                                                                                                              \
        const auto &actual_ = (actual);                                                                               \
        const auto &expected_ = (expected);                                                                           \
        if (!(actual_ == expected_))                                                                                  \
            harness::fail(__FILE__, __LINE__,                                                                         \
                          #actual ": got <" + harness::show(actual_) + ">, expected <" + harness::show(expected_) + ">"); \
    } while (0)

// Checks that statement raises automation::Failure for expectedMember with expectedCode.
#define CHECK_FAILURE(statement, expectedMember, expectedCode)                       \
    do {                                                                             \
        const automation::Failure failure_ = harness::failureOf([&] { statement; }); \
        CHECK_EQ(failure_.member(), std::string(expectedMember));                    \
        CHECK_EQ(failure_.code(), long(expectedCode));                               \
    } while (0)
