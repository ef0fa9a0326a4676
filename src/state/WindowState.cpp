#include "state/WindowState.h"

WindowState::WindowState(TimerControl& scanTimer, TimerControl& keepAliveTimer, QObject* parent)
    : QObject(parent)
    , Timer1(scanTimer)
    , Timer2(keepAliveTimer)
{
}

template <typename Value, typename Signal>
void WindowState::change(Value& field, const Value& value, Signal changed)
{
    // The waits write the same status on every pass; only real changes count.
    if (field == value)
        return;
    field = value;
    Q_EMIT(this->*changed)(field);
}

void WindowState::setStatus(const QString& text)
{
    change(m_status, text, &WindowState::statusChanged);
}

void WindowState::setPage(const QString& text)
{
    change(m_page, text, &WindowState::pageChanged);
}

void WindowState::setDeliveryUrl(const QString& text)
{
    change(m_deliveryUrl, text, &WindowState::deliveryUrlChanged);
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

void WindowState::setStartButtonShown(bool shown)
{
    change(m_startButtonShown, shown, &WindowState::startButtonShownChanged);
}

void WindowState::setStartButtonEnabled(bool enabled)
{
    change(m_startButtonEnabled, enabled, &WindowState::startButtonEnabledChanged);
}

void WindowState::setStopButtonShown(bool shown)
{
    change(m_stopButtonShown, shown, &WindowState::stopButtonShownChanged);
}
