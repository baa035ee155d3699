#include "MapiSessionControl.h"

#include "SimpleMapi.h"

#include <utility>

MapiSessionControl::MapiSessionControl(std::shared_ptr<SimpleMapi> mapi)
    : MapiControl("MSMAPI.MAPISession", {{"SessionID", SessionID}, {"SignOn", SignOn}, {"SignOff", SignOff}}), mapi_(std::move(mapi))
{
}

MapiSessionControl::~MapiSessionControl()
{
    if (session_ == 0)
        return;
    try {
        mapi_->logoff(session_);
    } catch (const automation::Failure &) {
        // Nothing more can be done for a session that will not close.
    }
}

automation::Variant MapiSessionControl::getMember(int dispId)
{
    if (dispId == SessionID)
        return session_;
    unknownMember(dispId, "read");
}

void MapiSessionControl::putMember(int dispId, const automation::Variant &)
{
    unknownMember(dispId, "write");
}

automation::Variant MapiSessionControl::callMember(int dispId, const automation::Arguments &args)
{
    switch (dispId) {
    case SignOn:
        if (session_ != 0) {
            // Signing on again replaces the open session.
            const std::int32_t old = std::exchange(session_, 0);
            mapi_->logoff(old);
        }
        session_ = mapi_->logon();
        return automation::Empty{};
    case SignOff: {
        if (session_ == 0)
            throw automation::Failure("SignOff", "no session is open", 2);
        const std::int32_t old = std::exchange(session_, 0);
        mapi_->logoff(old);
        return automation::Empty{};
    }
    case SessionID:
        if (args.empty())
            return getMember(dispId);
        break;
    }
    unknownMember(dispId, "call");
}
