// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TestRegistry.h"

#include <QCoreApplication>

// Core code that needs a GUI application fails here, as it would in a
// program without one.
int main(int argc, char* argv[])
{
    return TestRegistry::main<QCoreApplication>(argc, argv);
}
