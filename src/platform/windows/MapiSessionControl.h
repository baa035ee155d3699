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

    using MapiControl::call;
    using MapiControl::get;
    using MapiControl::put;
    automation::Variant get(int dispId) override;
    void put(int dispId, const automation::Variant &value) override;
    automation::Variant call(int dispId, const automation::Arguments &args = {}) override;

private:
    std::shared_ptr<SimpleMapi> mapi_;
    std::int32_t session_ = 0;
};
