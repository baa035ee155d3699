#include "RecordingAutomation.h"

using namespace automation;

namespace {

class RecordingObject : public Object
{
public:
    RecordingObject(RecordingFactory &factory, std::string name) : f_(factory), name_(std::move(name)) { ++f_.created; }
    ~RecordingObject() override { ++f_.released; }

    Variant get(const std::string &member) override
    {
        const Variant value = f_.record(name_, "get", member);
        return std::holds_alternative<Empty>(value) && written_.count(member) ? written_[member] : value;
    }
    void put(const std::string &member, const Variant &value) override
    {
        f_.record(name_, "put", member, {value});
        written_[member] = value;
    }
    Variant call(const std::string &member, const Arguments &args) override { return f_.record(name_, "call", member, args); }
    Variant get(int id) override { return get("#" + std::to_string(id)); }
    void put(int id, const Variant &value) override { put("#" + std::to_string(id), value); }
    Variant call(int id, const Arguments &args) override { return call("#" + std::to_string(id), args); }

private:
    RecordingFactory &f_;
    std::string name_;
    std::map<std::string, Variant> written_;
};

std::string describe(const Variant &value)
{
    switch (kindOf(value)) {
    case VariantKind::Empty: return "empty";
    case VariantKind::Boolean: return std::get<bool>(value) ? "bool:true" : "bool:false";
    case VariantKind::Int16: return "int16:" + std::to_string(std::get<std::int16_t>(value));
    case VariantKind::Int32: return "int32:" + std::to_string(std::get<std::int32_t>(value));
    case VariantKind::Text: return "text:" + std::get<std::string>(value);
    case VariantKind::Date: return "date:" + std::to_string(std::get<Date>(value).days);
    case VariantKind::Object: return "object";
    case VariantKind::TextArray: break;
    }
    const TextArray &texts = std::get<TextArray>(value);
    std::string joined = "text[" + std::to_string(texts.size()) + "]:";
    for (std::size_t i = 0; i < texts.size(); ++i)
        joined += (i ? "|" : "") + texts[i];
    return joined;
}

} // namespace

void RecordingFactory::scriptMailClients(const std::string &notesUser, bool notesDatabaseOpen)
{
    objects_ = {{"Outlook.application createitem", "item"}, {"item Attachments", "attachments"},
                {"Notes.NotesSession GETDATABASE", "database"}, {"database CREATEDOCUMENT", "document"},
                {"document CREATERICHTEXTITEM", "richtext"}, {"richtext EMBEDOBJECT", "embedded"}};
    values_ = {{"Notes.NotesSession UserName", notesUser}, {"database IsOpen", notesDatabaseOpen},
               {"MSMAPI.MAPISession #5", std::int32_t(4242)}};
}

ObjectRef RecordingFactory::create(const std::string &className)
{
    record("", "create", className);
    return std::make_shared<RecordingObject>(*this, className);
}

Variant RecordingFactory::record(const std::string &object, const char *kind, const std::string &member,
                                 const Arguments &args)
{
    std::string line = (object.empty() ? "" : object + " ") + kind + " " + member;
    for (const Variant &arg : args)
        line += " " + describe(arg);
    calls.push_back(line);
    if (int(calls.size()) == failAt + 1)
        throw Failure(member, "refused by the test");
    const std::string key = object + " " + member;
    if (objects_.count(key))
        return std::make_shared<RecordingObject>(*this, objects_[key]);
    return values_.count(key) ? values_[key] : Variant{};
}
