// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/BrowserControl.h"

#include <QStringList>

// A browser that goes nowhere by itself: tests complete pages and raise its
// events by hand.
class FakeBrowserControl : public BrowserControl {
    Q_OBJECT

public:
    void Navigate(const QString& address) override { navigations.append(address); }
    QString LocationURL() const override { return location; }
    void Sleep() override { asleep = true; }
    void Wake() override { asleep = false; }

    // Shows `address` and reports the page as completed; not `loaded`, the
    // engine's error page stands at that address.
    void complete(const QString& address, bool loaded = true);
    void hover(const QString& text) { Q_EMIT StatusTextChange(text); }
    void requestNewWindow(const QString& requestedAddress) { Q_EMIT NewWindow2(requestedAddress); }

    QString location;
    QStringList navigations;
    bool asleep = false;
};
