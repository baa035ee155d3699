#include "TestHarness.h"

int main()
{
    int passed = 0, failed = 0;
    for (const auto &[name, body] : harness::tests) {
        const int before = harness::failures;
        harness::row.clear();
        try {
            body();
        } catch (const std::exception &error) {
            harness::fail(name, 0, std::string("unexpected exception: ") + error.what());
        }
        const bool ok = harness::failures == before;
        std::printf("%s %s\n", ok ? "PASS" : "FAIL", name);
        (ok ? passed : failed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
