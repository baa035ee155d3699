#pragma once

#include "MapiControl.h"
#include "automation/MapiDispIds.h"

#include <cstdint>
#include <memory>

class SimpleMapi;

// "MSMAPI.MAPISession": signs on to Simple MAPI and holds the session number.
class MapiSessionControl : public MapiControl
{
public:
    using enum MapiSession::DispId;

    explicit MapiSessionControl(std::shared_ptr<SimpleMapi> mapi);
    // A session still open, e.g. after a failed send, is closed here.
    ~MapiSessionControl() override;

private:
    automation::Variant getMember(int dispId) override;
    void putMember(int dispId, const automation::Variant &value) override;
    automation::Variant callMember(int dispId, const automation::Arguments &args) override;

    std::shared_ptr<SimpleMapi> mapi_;
    std::int32_t session_ = 0;
};
