// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/EngineEnvironment.h"

#include <QtGlobal>

// Tests that start the browser engine run it as the program does, with the
// same flags, before any QApplication exists.
static void setUpEngineEnvironment()
{
    prepareEngineEnvironment(true);
}
Q_CONSTRUCTOR_FUNCTION(setUpEngineEnvironment)
