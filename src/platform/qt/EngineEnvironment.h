// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Prepares the process for Qt and the browser engine before the application
// object exists: without a display the window is drawn offscreen, the
// engine's own sandbox, which cannot run as root, is switched off there, and
// the engine is trimmed to what one login page needs. Flags already in
// QTWEBENGINE_CHROMIUM_FLAGS win over the program's.
void prepareEngineEnvironment(bool headless);
