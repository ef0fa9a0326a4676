#pragma once

// Prepares the process for Qt and the browser engine before the application
// object exists: without a display the window is drawn offscreen, and the
// engine's own sandbox, which cannot run as root, is switched off there.
void prepareEngineEnvironment(bool headless);
