// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/WindowState.h"

#include "state/SettingValues.h"
#include "state/StatusTexts.h"

template <typename Value, typename Signal>
void WindowState::change(Value& field, const Value& value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(this->*changed)(field);
}

void WindowState::setScanState(ScanState state)
{
    if (state == m_scanState)
        return;
    m_scanState = state;
    // The texts and buttons first, so a listener to the state sees them done.
    derive();
    Q_EMIT scanStateChanged(state);
}

void WindowState::setActivity(Activity activity)
{
    m_activity = activity;
    derive();
}

void WindowState::setBrowserNote(BrowserNote note)
{
    m_browserNote = note;
    derive();
}

bool WindowState::startButtonShown() const
{
    return m_scanState == ScanState::WaitingForLogin || m_scanState == ScanState::Stopped;
}

bool WindowState::startButtonEnabled() const
{
    return m_scanState == ScanState::Stopped;
}

bool WindowState::stopButtonShown() const
{
    return !startButtonShown();
}

void WindowState::derive()
{
    change(m_status, statusText(m_scanState, m_activity, m_browserNote),
           &WindowState::statusChanged);
    change(m_startShown, startButtonShown(), &WindowState::startButtonShownChanged);
    change(m_startEnabled, startButtonEnabled(), &WindowState::startButtonEnabledChanged);
    change(m_stopShown, stopButtonShown(), &WindowState::stopButtonShownChanged);
}

void WindowState::setPage(const QString& text)
{
    change(m_page, text, &WindowState::pageChanged);
}

void WindowState::setDeliveryUrl(const QString& text)
{
    change(m_deliveryUrl, text, &WindowState::deliveryUrlChanged);
}

bool WindowState::interfaceKeyIsPublic() const
{
    // The key goes out without the spaces around it.
    return trimSpaces(m_interfaceKey) == DefaultInterfaceKey;
}

void WindowState::setInterfaceKey(const QString& text)
{
    change(m_interfaceKey, text, &WindowState::interfaceKeyChanged);
}

void WindowState::setScanInterval(const QString& text)
{
    change(m_scanInterval, text, &WindowState::scanIntervalChanged);
}

void WindowState::setRecordCount(const QString& text)
{
    change(m_recordCount, text, &WindowState::recordCountChanged);
}

void WindowState::setShopCharset(const QString& text)
{
    change(m_shopCharset, text, &WindowState::shopCharsetChanged);
}

void WindowState::setPageBoxShown(bool shown)
{
    change(m_pageBoxShown, shown, &WindowState::pageBoxShownChanged);
}
