#pragma once

// A small test harness for the Windows executables, which have no Qt: each
// TEST registers a function; CHECK records a failure with its place and goes on.
// main() prints "N passed, M failed" and returns non-zero on any failure.

#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace harness {

struct Test
{
    const char *name;
    std::function<void()> body;
};

inline std::vector<Test> &tests()
{
    static std::vector<Test> all;
    return all;
}

inline int &failures()
{
    static int count = 0;
    return count;
}

inline std::string &caseLabel()
{
    static std::string label;
    return label;
}

struct Registration
{
    Registration(const char *name, std::function<void()> body) { tests().push_back({name, std::move(body)}); }
};

inline void fail(const char *file, int line, const std::string &what)
{
    ++failures();
    std::printf("  FAIL %s:%d %s%s%s\n", file, line, what.c_str(), caseLabel().empty() ? "" : " [case: ",
                caseLabel().empty() ? "" : (caseLabel() + "]").c_str());
}

template <typename T>
std::string show(const T &value)
{
    std::ostringstream out;
    if constexpr (std::is_enum_v<T>)
        out << static_cast<long long>(value);
    else if constexpr (requires { out << value; })
        out << value;
    else
        out << "?";
    return out.str();
}

inline int runAll()
{
    int passed = 0, failed = 0;
    for (const auto &test : tests()) {
        const int before = failures();
        caseLabel().clear();
        try {
            test.body();
        } catch (const std::exception &error) {
            fail(test.name, 0, std::string("unexpected exception: ") + error.what());
        } catch (...) {
            fail(test.name, 0, "unexpected exception");
        }
        const bool ok = failures() == before;
        std::printf("%s %s\n", ok ? "PASS" : "FAIL", test.name);
        (ok ? passed : failed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

} // namespace harness

#define TEST(name)                                                                    \
    static void name();                                                               \
    static harness::Registration name##_registration(#name, name);                    \
    static void name()

#define CHECK(condition)                                                              \
    do {                                                                              \
        if (!(condition))                                                             \
            harness::fail(__FILE__, __LINE__, "CHECK(" #condition ")");               \
    } while (0)

#define CHECK_EQ(actual, expected)                                                    \
    do {                                                                              \
        const auto &actual_ = (actual);                                               \
        const auto &expected_ = (expected);                                           \
        if (!(actual_ == expected_))                                                  \
            harness::fail(__FILE__, __LINE__,                                         \
                          #actual " == " #expected ": got <" + harness::show(actual_) \
                              + ">, expected <" + harness::show(expected_) + ">");     \
    } while (0)

// Runs statement and checks that it raises automation::Failure; the failure is
// kept in `raised` for further checks.
#define CHECK_FAILURE(statement, raised)                                              \
    std::optional<automation::Failure> raised;                                        \
    try {                                                                             \
        statement;                                                                    \
        harness::fail(__FILE__, __LINE__, "no failure from " #statement);             \
    } catch (const automation::Failure &failure_) {                                   \
        raised = failure_;                                                            \
    }
