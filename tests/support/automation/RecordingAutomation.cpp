#include "RecordingAutomation.h"

#include <cstdio>

using namespace automation;

namespace {

class RecordingObject : public Object
{
public:
    RecordingObject(RecordingFactory &factory, std::string name) : factory_(factory), name_(std::move(name))
    {
        ++factory_.created;
    }
    ~RecordingObject() override { ++factory_.released; }

    Variant get(const std::string &member) override { return read(member); }
    void put(const std::string &member, const Variant &value) override { write(member, value); }
    Variant call(const std::string &member, const Arguments &args) override
    {
        return factory_.record(name_, "call", member, args);
    }
    Variant get(int dispId) override { return read(id(dispId)); }
    void put(int dispId, const Variant &value) override { write(id(dispId), value); }
    Variant call(int dispId, const Arguments &args) override { return factory_.record(name_, "call", id(dispId), args); }

private:
    static std::string id(int dispId) { return "#" + std::to_string(dispId); }
    Variant read(const std::string &member)
    {
        Variant value = factory_.record(name_, "get", member, {});
        if (std::holds_alternative<Empty>(value) && written_.count(member))
            return written_[member];
        return value;
    }
    void write(const std::string &member, const Variant &value)
    {
        factory_.record(name_, "put", member, {value});
        written_[member] = value;
    }

    RecordingFactory &factory_;
    std::string name_;
    std::map<std::string, Variant> written_;
};

} // namespace

std::string describe(const Variant &value)
{
    struct Visitor
    {
        std::string operator()(const Empty &) const { return "empty"; }
        std::string operator()(bool flag) const { return flag ? "bool:true" : "bool:false"; }
        std::string operator()(std::int16_t number) const { return "int16:" + std::to_string(number); }
        std::string operator()(std::int32_t number) const { return "int32:" + std::to_string(number); }
        std::string operator()(const std::string &text) const { return "text:" + text; }
        std::string operator()(const TextArray &texts) const
        {
            std::string joined = "text[" + std::to_string(texts.size()) + "]:";
            for (std::size_t i = 0; i < texts.size(); ++i)
                joined += (i ? "|" : "") + texts[i];
            return joined;
        }
        std::string operator()(const Date &date) const
        {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "date:%.6f", date.days);
            return buffer;
        }
        std::string operator()(const ObjectRef &) const { return "object"; }
    };
    return std::visit(Visitor{}, value);
}

void RecordingFactory::answer(const std::string &object, const std::string &member, Variant value)
{
    answers_[object + " " + member] = [value] { return value; };
}

void RecordingFactory::answerObject(const std::string &object, const std::string &member, const std::string &name)
{
    answers_[object + " " + member] = [this, name] { return Variant(makeObject(name)); };
}

void RecordingFactory::scriptMailClients(const std::string &notesUser, bool notesDatabaseOpen)
{
    answerObject("Outlook.application", "createitem", "item");
    answerObject("item", "Attachments", "attachments");
    answer("Notes.NotesSession", "UserName", notesUser);
    answerObject("Notes.NotesSession", "GETDATABASE", "database");
    answer("database", "IsOpen", notesDatabaseOpen);
    answerObject("database", "CREATEDOCUMENT", "document");
    answerObject("document", "CREATERICHTEXTITEM", "richtext");
    answerObject("richtext", "EMBEDOBJECT", "embedded");
    answer("MSMAPI.MAPISession", "#5", std::int32_t(4242));
}

ObjectRef RecordingFactory::create(const std::string &className)
{
    record("", "create", className, {});
    return makeObject(className);
}

ObjectRef RecordingFactory::makeObject(const std::string &name)
{
    return std::make_shared<RecordingObject>(*this, name);
}

Variant RecordingFactory::record(const std::string &object, const char *kind, const std::string &member,
                                 const Arguments &args)
{
    std::string line = object.empty() ? std::string(kind) : object + " " + kind;
    line += " " + member;
    for (const Variant &arg : args)
        line += " " + describe(arg);
    const bool fails = int(calls.size()) == failAt;
    calls.push_back(line);
    if (fails)
        throw Failure(member, "refused by the test");
    auto answer = answers_.find(object + " " + member);
    if (answer == answers_.end() || std::string(kind) == "put")
        return Empty{};
    return answer->second();
}
