// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

// The embedded browser the user logs in with. Its view is the window's
// business; the program only steers it and hears its events.
class BrowserControl : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts a navigation and returns at once; DocumentComplete follows.
    virtual void Navigate(const QString& address) = 0;
    // The address of the top-level page shown.
    virtual QString LocationURL() const = 0;
    // Hides the view and ends the page's renderer; the address and the
    // session's cookies stay. Nothing loads until Wake().
    virtual void Sleep() = 0;
    // Shows the view again and reloads the page at its last address;
    // DocumentComplete follows.
    virtual void Wake() = 0;

Q_SIGNALS:
    // The address of the link under the pointer, or the empty text.
    void StatusTextChange(const QString& text);
    // A page asks for a new window, which never opens; a handler may send
    // this browser to the address instead. requestedAddress is empty when
    // the engine does not say which address it wants.
    void NewWindow2(const QString& requestedAddress);
    // The top-level page finished loading; `loaded` is false when the
    // engine could not load it and shows its error page instead.
    void DocumentComplete(bool loaded);
};
