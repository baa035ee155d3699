#pragma once

#include "automation/Object.h"

#include <QTest>

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

// Checks that statement raises automation::Failure for expectedMember with expectedCode.
#define CHECK_FAILURE(statement, expectedMember, expectedCode)                       \
    do {                                                                             \
        const automation::Failure failure_ = failureOf([&] { statement; });          \
        QCOMPARE(failure_.member(), std::string(expectedMember));                    \
        QCOMPARE(failure_.code(), long(expectedCode));                               \
    } while (0)
