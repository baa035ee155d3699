#include "StandInObject.h"

#include <strings.h>

bool StandInObject::is(const std::string &name, const char *member)
{
    return strcasecmp(name.c_str(), member) == 0;
}

const automation::Variant &StandInObject::argument(const automation::Arguments &args, std::size_t index,
                                                   const std::string &member)
{
    if (index >= args.size())
        throw automation::Failure(member, "argument manquant");
    return args[index];
}
