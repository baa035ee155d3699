#pragma once

// Dispatch identifiers of the members of the two Simple MAPI controls, as their
// type library numbers them: the route calls them, and the Windows controls and
// the Linux stand-in answer to them.

namespace MapiSession {
enum DispId : int { SessionID = 5, SignOn = 8, SignOff = 9 };
}

namespace MapiMessages {
enum DispId : int {
    AddressResolveUI = 5,
    AttachmentIndex = 7,
    AttachmentPathName = 9,
    AttachmentPosition = 10,
    AttachmentType = 11,
    MsgNoteText = 20,
    RecipAddress = 26,
    RecipIndex = 29,
    RecipType = 30,
    SessionID = 31,
    MsgSubject = 32,
    Compose = 35,
    Send = 43,
};
}
