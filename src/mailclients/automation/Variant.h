#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace automation {

class Object;

struct Empty
{
    bool operator==(const Empty &) const = default;
};

// A date value: days since 30/12/1899 00:00, the time of day as the fraction.
struct Date
{
    double days = 0.0;
    bool operator==(const Date &) const = default;
};

using ObjectRef = std::shared_ptr<Object>;
using TextArray = std::vector<std::string>;

// Arguments and results of late-bound calls. Texts are UTF-8.
using Variant = std::variant<Empty, bool, std::int16_t, std::int32_t, std::string, TextArray, Date, ObjectRef>;

enum class VariantKind { Empty, Boolean, Int16, Int32, Text, TextArray, Date, Object };

inline VariantKind kindOf(const Variant &value) { return static_cast<VariantKind>(value.index()); }

const char *kindName(VariantKind kind);

} // namespace automation
