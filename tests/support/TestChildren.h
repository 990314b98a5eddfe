#pragma once
// A program a test starts ends with the test, however the test ends: it is killed when the test
// process dies (a parent-death signal), and it carries the test's mark in its environment, so that
// one that escapes anyway (the test killed before the signal was set) is found and stopped by the
// next test that starts programs of its own. tests/support/test_children.py does the same for the
// Python tests; scripts/check-test-cleanup.py checks that nothing is left.
#include <QProcess>

#include <functional>

namespace brenvik::test {

// The environment variable that marks a program a test started; its value is the test's pid.
inline constexpr char kTestChildMark[] = "BRENVIK_TEST_CHILD_OF";

// Call before process.start(), after its environment is set. `alsoInChild` runs in the child
// before the program is started (QProcess keeps one such function).
void tieToTest(QProcess& process, std::function<void()> alsoInChild = {});

// Stops every marked program whose test is no longer among its ancestors, saying so for each;
// programs of tests still running, this one's or another run's, are left alone. How many it
// stopped.
int stopLeftoverChildren();

}  // namespace brenvik::test
