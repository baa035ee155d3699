#include "TestHarness.h"

int main() { return harness::runAll(); }
