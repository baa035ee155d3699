#include "MapiControl.h"

#include <algorithm>
#include <cctype>

namespace {
// DISP_E_UNKNOWNNAME and DISP_E_MEMBERNOTFOUND, as COM would answer.
constexpr long unknownName = static_cast<long>(0x80020006);
constexpr long memberNotFound = static_cast<long>(0x80020003);

bool sameName(const std::string &a, const char *b)
{
    const std::string other(b);
    return std::equal(a.begin(), a.end(), other.begin(), other.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}
} // namespace

MapiControl::MapiControl(std::string className, std::vector<Member> members)
    : className_(std::move(className)), members_(std::move(members))
{
}

int MapiControl::dispIdOf(const std::string &name) const
{
    for (const auto &member : members_)
        if (sameName(name, member.name))
            return member.dispId;
    throw automation::Failure(name, className_ + " has no such member", unknownName);
}

std::string MapiControl::nameOf(int dispId) const
{
    for (const auto &member : members_)
        if (member.dispId == dispId)
            return member.name;
    return "#" + std::to_string(dispId);
}

void MapiControl::unknownMember(int dispId, const char *use) const
{
    throw automation::Failure(nameOf(dispId), className_ + " cannot " + use + " this member", memberNotFound);
}
