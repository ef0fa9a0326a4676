// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeWatch.h"
#include "ui/Form1.h"

#include <QWidget>

// The real window bound to a watch on fake platform objects.
struct FakeWindow : FakeWatch {
    QWidget browserView;
    Form1 window{watch, &browserView};
};
