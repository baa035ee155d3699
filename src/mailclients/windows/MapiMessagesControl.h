#pragma once

#include "MapiControl.h"
#include "SimpleMapi.h"
#include "automation/MapiDispIds.h"

#include <memory>

// "MSMAPI.MAPIMessages": composes one message in its recipient and attachment
// tables, addressed by a current index, and sends it through Simple MAPI.
class MapiMessagesControl : public MapiControl
{
public:
    using enum MapiMessages::DispId;

    explicit MapiMessagesControl(std::shared_ptr<SimpleMapi> mapi);

private:
    automation::Variant getMember(int dispId) override;
    void putMember(int dispId, const automation::Variant &value) override;
    automation::Variant callMember(int dispId, const automation::Arguments &args) override;

    // Writing a property of the entry just past the last one adds that entry.
    ComposedMessage::Recipient &recipientToWrite();
    ComposedMessage::Attachment &attachmentToWrite();
    const ComposedMessage::Recipient *recipientToRead() const;
    const ComposedMessage::Attachment *attachmentToRead() const;

    std::shared_ptr<SimpleMapi> mapi_;
    std::int32_t session_ = 0;
    bool addressResolveUI_ = false;
    ComposedMessage message_;
    std::int32_t recipIndex_ = 0;
    std::int32_t attachmentIndex_ = 0;
};
