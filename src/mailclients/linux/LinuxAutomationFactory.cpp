#include "LinuxAutomationFactory.h"

#include "StandInObject.h"

#include <strings.h>

automation::ObjectRef LinuxAutomationFactory::create(const std::string &className)
{
    const auto is = [&](const char *name) { return strcasecmp(className.c_str(), name) == 0; };
    if (is("Outlook.application"))
        return NewOutlookApplication(post_);
    if (is("Notes.NotesSession"))
        return NewNotesSession(post_);
    if (is("MSMAPI.MAPISession"))
        return NewMapiSession();
    if (is("MSMAPI.MAPIMessages"))
        return NewMapiMessages(post_);
    throw automation::Failure(className, "classe non enregistrée");
}
