// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TestRegistry.h"

#include <QTest>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::map<std::string, TestRegistry::Factory>& factories()
{
    static std::map<std::string, TestRegistry::Factory> registered;
    return registered;
}

} // namespace

bool TestRegistry::add(const char* name, Factory factory)
{
    return factories().emplace(name, factory).second;
}

const char* TestRegistry::takeName(int& argc, char* argv[])
{
    if (argc < 2 || !factories().contains(argv[1])) {
        std::fprintf(stderr, "usage: %s TEST [QTest options]\ntests:", argv[0]);
        for (const auto& entry : factories())
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fputc('\n', stderr);
        return nullptr;
    }
    const char* name = argv[1];
    for (int i = 1; i + 1 < argc; ++i)
        argv[i] = argv[i + 1];
    argv[--argc] = nullptr;
    return name;
}

int TestRegistry::run(const char* name, int argc, char* argv[])
{
    const std::unique_ptr<QObject> test = factories().at(name)();
    return QTest::qExec(test.get(), argc, argv);
}
