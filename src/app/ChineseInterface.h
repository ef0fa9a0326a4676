// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCoreApplication;

// Makes Qt's own texts Chinese whatever the desktop's language: standard
// buttons, file dialogs and the browser's context menu. Call it once the
// application object exists and before the browser engine starts, which takes
// its language from the default locale at that moment.
void speakChinese(QCoreApplication& application);
