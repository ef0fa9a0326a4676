// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>

// The tests of one folder, label and application type share a runner
// executable, so the suite links a few programs rather than one per test.
// Each test object registers under its class name; the runner's first
// argument names the one to run.
namespace TestRegistry {

using Factory = std::unique_ptr<QObject> (*)();

bool add(const char* name, Factory factory);
// The test argv[1] names, taken out of the arguments so that QTest sees only
// its own; null, after printing the tests there are, when there is none.
const char* takeName(int& argc, char* argv[]);
// Runs that test as QTEST_MAIN would, once the application exists.
int run(const char* name, int argc, char* argv[]);

// A runner's main(): the named test in an `Application`.
template <class Application> int main(int argc, char* argv[])
{
    const char* name = takeName(argc, argv);
    if (!name)
        return 2;
    Application application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    return run(name, argc, argv);
}

} // namespace TestRegistry

#define TOLLWICK_TEST(TestObject)                                                                  \
    [[maybe_unused]] static const bool registered##TestObject = TestRegistry::add(                 \
        #TestObject, [] { return std::unique_ptr<QObject>(std::make_unique<TestObject>()); });
