#pragma once

// The program's entry procedure: start-up in its fixed order, then the event loop.
int Main(int argc, char **argv);
