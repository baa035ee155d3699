#pragma once

#include <QString>

// Starts a program without waiting for it.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool launch(const QString &executablePath) = 0;
};

class DetachedLauncher : public ProgramLauncher
{
public:
    bool launch(const QString &executablePath) override;
};
