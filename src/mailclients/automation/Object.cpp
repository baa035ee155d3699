#include "Object.h"

namespace automation {

const char *kindName(VariantKind kind)
{
    switch (kind) {
    case VariantKind::Empty: return "empty";
    case VariantKind::Boolean: return "bool";
    case VariantKind::Int16: return "int16";
    case VariantKind::Int32: return "int32";
    case VariantKind::Text: return "text";
    case VariantKind::TextArray: return "text[]";
    case VariantKind::Date: return "date";
    case VariantKind::Object: return "object";
    }
    return "?";
}

namespace {
[[noreturn]] void wrongKind(const Variant &value, const std::string &member, const char *wanted)
{
    throw Failure(member, std::string("expected ") + wanted + ", got " + kindName(kindOf(value)));
}
} // namespace

ObjectRef asObject(const Variant &value, const std::string &member)
{
    if (auto object = std::get_if<ObjectRef>(&value); object && *object)
        return *object;
    wrongKind(value, member, "object");
}

std::string asText(const Variant &value, const std::string &member)
{
    if (auto text = std::get_if<std::string>(&value))
        return *text;
    wrongKind(value, member, "text");
}

bool asBool(const Variant &value, const std::string &member)
{
    if (auto flag = std::get_if<bool>(&value))
        return *flag;
    if (auto small = std::get_if<std::int16_t>(&value))
        return *small != 0;
    if (auto number = std::get_if<std::int32_t>(&value))
        return *number != 0;
    wrongKind(value, member, "bool");
}

std::int32_t asInt(const Variant &value, const std::string &member)
{
    if (auto small = std::get_if<std::int16_t>(&value))
        return *small;
    if (auto number = std::get_if<std::int32_t>(&value))
        return *number;
    wrongKind(value, member, "int");
}

} // namespace automation
