#pragma once

struct Program;

// One pass every tick: the first pending mail of the current minute goes to
// the chosen mail client.
class Scheduler
{
public:
    explicit Scheduler(Program &program) : program_(program) {}
    void SendDueMail();

private:
    Program &program_;
};
