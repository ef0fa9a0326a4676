// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TestRegistry.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    return TestRegistry::main<QApplication>(argc, argv);
}
