// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "state/ScanState.h"

#include <QObject>
#include <QString>

// What the window shows and what the owner typed, without the window: the
// watch's scan state, the boxes and the settings. The window shows it and
// writes what the owner types into it; the handlers read every setting at
// the moment they need it. A value that changes is announced, so anything
// can follow it without a widget. The status box and the buttons are
// derived from the scan state, never read back as state.
class WindowState : public QObject {
    Q_OBJECT

public:
    // What the settings start with.
    static inline const QString DefaultInterfaceKey = QStringLiteral("dembro");
    static inline const QString DefaultScanInterval = QStringLiteral("20");
    static inline const QString DefaultRecordCount = QStringLiteral("1");
    static inline const QString DefaultShopCharset = QStringLiteral("gb2312");

    using QObject::QObject;

    ScanState scanState() const { return m_scanState; }
    void setScanState(ScanState state);
    void setActivity(Activity activity);
    BrowserNote browserNote() const { return m_browserNote; }
    void setBrowserNote(BrowserNote note);

    // The status box, Text1: the scan state and activity in words.
    QString status() const { return m_status; }
    // The page box, Text2: the browser's address, then the scan's result lines.
    QString page() const { return m_page; }
    void setPage(const QString& text);

    // The settings, as typed or picked. The delivery URL, Text3.
    QString deliveryUrl() const { return m_deliveryUrl; }
    void setDeliveryUrl(const QString& text);
    // The interface key, Text4.
    QString interfaceKey() const { return m_interfaceKey; }
    // Whether the key sent is still the window's default, which everybody
    // who has read the documentation knows: a shop that accepts it accepts
    // deliveries from anyone.
    bool interfaceKeyIsPublic() const;
    void setInterfaceKey(const QString& text);
    // The scan interval in seconds, Combo1.
    QString scanInterval() const { return m_scanInterval; }
    void setScanInterval(const QString& text);
    // The number of newest payments to scan, Combo2.
    QString recordCount() const { return m_recordCount; }
    void setRecordCount(const QString& text);
    // The charset of the shop's site, Combo3.
    QString shopCharset() const { return m_shopCharset; }
    void setShopCharset(const QString& text);

    // True while a kept interface key is still being read: nothing may be
    // delivered with the key the box showed before.
    bool keyPending() const { return m_keyPending; }
    void setKeyPending(bool pending) { m_keyPending = pending; }

    // Whether the page box is shown: from the first login on.
    bool pageBoxShown() const { return m_pageBoxShown; }
    void setPageBoxShown(bool shown);
    // The Start button (Command1) and the Stop button (Command2), from the
    // scan state: Start shows before the first login (disabled) and while
    // stopped; Stop whenever scanning is meant to go on.
    bool startButtonShown() const;
    bool startButtonEnabled() const;
    bool stopButtonShown() const;

Q_SIGNALS:
    void scanStateChanged(ScanState state);
    void statusChanged(const QString& text);
    void pageChanged(const QString& text);
    void deliveryUrlChanged(const QString& text);
    void interfaceKeyChanged(const QString& text);
    void scanIntervalChanged(const QString& text);
    void recordCountChanged(const QString& text);
    void shopCharsetChanged(const QString& text);
    void pageBoxShownChanged(bool shown);
    void startButtonShownChanged(bool shown);
    void startButtonEnabledChanged(bool enabled);
    void stopButtonShownChanged(bool shown);

private:
    // Stores `value` and announces it through `changed` when it differs.
    template <typename Value, typename Signal>
    void change(Value& field, const Value& value, Signal changed);
    // Announces what follows from the scan state, activity and note.
    void derive();

    ScanState m_scanState = ScanState::WaitingForLogin;
    Activity m_activity = Activity::Idle;
    BrowserNote m_browserNote = BrowserNote::None;
    QString m_status;
    bool m_startShown = true;
    bool m_startEnabled = false;
    bool m_stopShown = false;
    QString m_page;
    QString m_deliveryUrl;
    QString m_interfaceKey = DefaultInterfaceKey;
    QString m_scanInterval = DefaultScanInterval;
    QString m_recordCount = DefaultRecordCount;
    QString m_shopCharset = DefaultShopCharset;
    bool m_pageBoxShown = false;
    bool m_keyPending = false;
};
